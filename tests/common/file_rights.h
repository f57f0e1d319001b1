#pragma once

// Drops, for the calling process and every program it executes, the rights that let root write where
// permission bits say no, so that a read-only folder is read-only for it too. System calls only: it
// may run between fork and exec. Harmless for a process that never had those rights.

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

inline void DropFileOverrideRights() {
  constexpr int kCaps[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};
  // The bounding set too: root gets every right in it back when it executes a program.
  for (int cap : kCaps) prctl(PR_CAPBSET_DROP, cap, 0, 0, 0);
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (syscall(SYS_capget, &header, data) != 0) return;
  for (int cap : kCaps) {
    const unsigned bit = 1u << (cap % 32);
    data[cap / 32].effective &= ~bit;
    data[cap / 32].permitted &= ~bit;
    data[cap / 32].inheritable &= ~bit;
  }
  syscall(SYS_capset, &header, data);
}
