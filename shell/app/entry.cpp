#include "shell/app/entry.h"

#include <cstdio>
#include <string>
#include <vector>

#include "extract/extract.h"
#include "extract/import.h"
#include "platform/dialogs.h"
#include "platform/signals.h"
#include "rom/AppMenu.h"
#include "rom/patch_open.h"
#include "shell/app/bps_commands.h"
#include "shell/app/ips_commands.h"
#include "shell/app/application.h"
#include "shell/app/window_scale.h"
#include "shell/app/demo_open.h"
#include "shell/app/headless_commands.h"
#include "shell/base/functions.h"
#include "shell/base/variables.h"

namespace {

using Args = std::vector<std::string>;

// One command-line command: the option, its arguments as shown in the usage, a
// summary, how many arguments it takes (-1: it checks them itself) and what it runs.
struct Command {
  const char* option;
  const char* arguments;
  const char* summary;
  int arity;
  int (*run)(const Args& args);
};

int PrintUsage(std::FILE* out);
int PrintVersion(const Args&) {
  std::printf("%s\n", mGetVersion().c_str());
  return 0;
}
int PrintHelp(const Args&) { return PrintUsage(stdout); }
int UsageError(const std::string& problem);
int RunMakeIps(const Args& a) {
  if (a[2] != "--output") return UsageError("--make-ips needs --output before the patch");
  return RunMakeIpsCommand(a[0], a[1], a[3]);
}
int RunApplyIps(const Args& a) {
  if (a[2] != "--output") return UsageError("--apply-ips needs --output before the patched file");
  return RunApplyIpsCommand(a[0], a[1], a[3]);
}
int RunMakeBps(const Args& a) {
  if (a[2] != "--output") return UsageError("--make-bps needs --output before the patch");
  return RunMakeBpsCommand(a[0], a[1], a[3]);
}
int RunApplyBps(const Args& a) {
  if (a[2] != "--output") return UsageError("--apply-bps needs --output before the patched file");
  return RunApplyBpsCommand(a[0], a[1], a[3]);
}
int RunApplyPatch(const Args& a) {
  if (a[2] != "--output") return UsageError("--apply needs --output before the patched file");
  return RunApplyPatchCommand(a[0], a[1], a[3]);
}
int RunExtract(const Args& a) {
  if (a[1] != "--output") return UsageError("--extract needs --output before the ROM image");
  PlatformUseStderrDialogs();
  return RunExtractCommand(a[0], a[2], a[3]);
}
int RunImport(const Args& args) {
  // --all may stand anywhere among the arguments.
  Args a;
  ImportOptions options;
  for (const std::string& word : args) {
    if (word == "--all") {
      options.all = true;
    } else {
      a.push_back(word);
    }
  }
  if (a.size() != 4) return UsageError("wrong number of arguments for --import");
  if (a[1] != "--output") return UsageError("--import needs --output before the ROM image");
  PlatformUseStderrDialogs();
  return RunImportCommand(a[0], a[2], a[3], options);
}
int RunExport(const Args& a) {
  if (a[1] != "--output") return UsageError("--export needs --output before the ROM image");
  PlatformUseStderrDialogs();
  return RunExportCommand(a[0], a[2], a[3]);
}
int RunList(const Args& a) {
  PlatformUseStderrDialogs();
  return RunListCommand(a[0]);
}
int RunFreeSpace(const Args& a) {
  PlatformUseStderrDialogs();
  return RunFreeSpaceCommand(a[0]);
}

const Command commands[] = {
    {"--help", "", "show this help and exit", 0, PrintHelp},
    {"--version", "", "show the version and exit", 0, PrintVersion},
    {"--demo", "", "start the editor on the built-in demo image", 0,
     [](const Args&) {
       SetStartupImageOpener(OpenDemoImage);
       return RunEditor();
     }},
    {"--list", "ROM", "print the level list of a ROM image and exit", 1, RunList},
    {"--free-space", "ROM", "print the room the object and banana lists have to grow and exit", 1, RunFreeSpace},
    {"--export", "LEVEL --output FILE.png ROM", "write the picture of a level (decimal or 0x hex) and exit", 4,
     RunExport},
    {"--export", "all --output DIR ROM", "write DIR/level-0xNN.png for every level and exit", 4, RunExport},
    {"--make-ips", "ORIGINAL EDITED --output PATCH.ips", "write the IPS patch from ORIGINAL to EDITED and exit", 4,
     RunMakeIps},
    {"--apply-ips", "PATCH.ips ROM --output OUT", "write ROM with the patch applied to OUT and exit", 4, RunApplyIps},
    {"--make-bps", "ORIGINAL EDITED --output PATCH.bps", "write the BPS patch from ORIGINAL to EDITED and exit", 4,
     RunMakeBps},
    {"--apply-bps", "PATCH.bps ROM --output OUT",
     "write ROM with the patch applied to OUT and exit; refused unless ROM, the patch and the result have the "
     "CRC-32 the patch names",
     4, RunApplyBps},
    {"--apply", "PATCH ROM --output OUT", "as --apply-ips or --apply-bps, chosen by the patch's header", 4,
     RunApplyPatch},
    {"--extract", "KIND --output DIR ROM",
     "write the image's resources into DIR and exit; KIND: terrains, tilesets, sprites, gfx, tileset-data, "
     "tilemaps, palettes, sprite-data or all",
     4, RunExtract},
    {"--import", "[--all] DIR --output OUT ROM",
     "write ROM to OUT with the files of DIR that --extract writes put back in (OUT may be ROM) and exit; "
     "files still as extracted are skipped unless --all",
     -1, RunImport},
};

int PrintUsage(std::FILE* out) {
  std::fputs(
      "Usage: qbrre [ROM]\n"
      "Starts the editor; a ROM image given here is opened at once.\n"
      "  --scale N before it, or before --demo, draws the window N (1-4) times larger\n"
      "  (also \"Scale\" in [Engine] of Configuration.INI); a scale the screen cannot\n"
      "  hold is lowered.\n"
      "  qbrre ROM --patch PATCH opens ROM with the IPS or BPS patch applied as the\n"
      "  starting point: Save asks where to write the result, and Save IPS/BPS...\n"
      "  offer to update PATCH.\n"
      "\n",
      out);
  for (const Command& c : commands) {
    std::string head = std::string("  qbrre ") + c.option + (*c.arguments ? " " : "") + c.arguments;
    std::fprintf(out, "%-40s %s\n", head.c_str(), c.summary);
  }
  return 0;
}

int UsageError(const std::string& problem) {
  std::fprintf(stderr, "qbrre: %s\n", problem.c_str());
  PrintUsage(stderr);
  return 2;
}

}  // namespace

int QbrreMain(int argc, char** argv) {
  Args args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  PlatformChooseDialogBackend();
  // --scale N goes with the editor's other ways of starting, wherever it stands.
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--scale") continue;
    if (i + 1 >= args.size() || args[i + 1].size() != 1 || args[i + 1][0] < '1' || args[i + 1][0] > '4')
      return UsageError("--scale needs 1, 2, 3 or 4");
    RequestedWindowScale = args[i + 1][0] - '0';
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  // --patch PATCH goes with a ROM image, wherever it stands: the editor opens the image with it applied.
  std::string patch;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--patch") continue;
    if (i + 1 >= args.size() || !patch.empty()) return UsageError("--patch needs one patch file");
    patch = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  if (!patch.empty() && !args.empty() && args[0].size() > 1 && args[0][0] == '-')
    return UsageError("--patch goes only with a ROM image");
  if (!args.empty() && args[0].size() > 1 && args[0][0] == '-') {
    for (const Command& c : commands) {
      if (args[0] != c.option) continue;
      Args rest(args.begin() + 1, args.end());
      if (c.arity >= 0 && static_cast<int>(rest.size()) != c.arity)
        return UsageError(std::string("wrong number of arguments for ") + c.option);
      // Every option but --demo is a command without a window: a file size limit fails its write.
      if (args[0] != "--demo") IgnoreFileSizeSignal();
      return c.run(rest);
    }
    return UsageError("unknown option " + args[0]);
  }
  if (args.size() > 1) return UsageError("more than one ROM image given");
  if (!patch.empty()) {
    if (args.empty()) return UsageError("--patch needs the ROM image it applies to");
    SetStartupPatchPath(patch);
  }
  if (!args.empty()) StartupRomPath = args[0];
  return RunEditor();
}
