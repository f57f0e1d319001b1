#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/app/entry.h"
#include "shell/base/functions.h"

namespace {

struct Outcome {
  int code;
  std::string out, err;
};

Outcome RunQbrre(std::vector<std::string> args) {
  args.insert(args.begin(), "qbrre");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  int code = QbrreMain(static_cast<int>(args.size()), argv.data());
  std::string out = testing::internal::GetCapturedStdout();
  std::string err = testing::internal::GetCapturedStderr();
  return {code, out, err};
}

TEST(CommandLine, HelpPrintsTheUsageOnStdout) {
  Outcome r = RunQbrre({"--help"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.rfind("Usage: qbrre [ROM]\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("qbrre --version"), std::string::npos);
  EXPECT_NE(r.out.find("qbrre --list ROM"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

TEST(CommandLine, VersionPrintsTheVersionText) {
  Outcome r = RunQbrre({"--version"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, mGetVersion() + "\n");
  EXPECT_EQ(r.out, "QBR Resource Editor v0.0.6.0    [Debug]\n");
}

TEST(CommandLine, MisuseExitsWithCodeTwoAndUsageOnStderr) {
  const std::vector<std::vector<std::string>> cases = {
      {"--frobnicate"}, {"-x"}, {"--help", "extra"}, {"--list"}, {"--list", "a.smc", "b.smc"}, {"a.smc", "b.smc"},
      // --patch goes with exactly one patch and one ROM image to start the editor on.
      {"--patch", "hack.bps"}, {"a.smc", "--patch"}, {"a.smc", "--patch", "a.bps", "--patch", "b.bps"},
      {"--list", "a.smc", "--patch", "hack.bps"}, {"--demo", "--patch", "hack.bps"},
  };
  for (const auto& args : cases) {
    Outcome r = RunQbrre(args);
    EXPECT_EQ(r.code, 2) << args[0];
    EXPECT_EQ(r.out, "") << args[0];
    EXPECT_NE(r.err.find("Usage: qbrre [ROM]"), std::string::npos) << args[0];
  }
}

}  // namespace
