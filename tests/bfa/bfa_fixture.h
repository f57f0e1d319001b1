// Shared fixture of the BFA tests: every channel back to its start-up state, message boxes captured through
// an in-process dialog script, and a private scratch directory for files.
#pragma once

#include "bfa/bfa.h"
#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// A buffer of the given byte values (0 to 255).
std::vector<char> Bytes(std::initializer_list<int> values);

// Writes bytes to path (replacing it); fails the test when it cannot.
void WriteFileBytes(const std::string& path, const std::vector<char>& bytes);
// The whole content of a file.
std::vector<char> ReadFileBytes(const std::string& path);

// zlib's CRC-32 of size bytes, the published checksum the library's own routine is held to.
std::uint32_t ZlibCrc32(const void* data, std::size_t size);

class BfaTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Activates channel ID in mode and puts bytes into its buffer (positions 0).
  void Channel(int ID, int mode, std::vector<char> bytes);
  // The one box shown since the last call; fails the test unless exactly one error box was shown.
  DialogRecord OnlyBox();
  // Path of a file in the scratch directory.
  std::string Scratch(const std::string& name) const { return dir_ + "/" + name; }

  std::vector<DialogRecord> boxes_;
  // What the open-file dialog answers: a path, or "cancel".
  std::string dialogAnswer_ = "cancel";
  std::string dir_;
};
