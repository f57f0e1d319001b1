// A clean clone of the repository, built and installed to a private prefix: the build leaves the clone
// as it was, and the installed program works from any folder with its installed data, desktop entry
// and manual page.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "demo/demo_image.h"
#include "tests/common/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// Runs `command` through the shell; returns its exit status and puts its standard output in `out`.
int RunShell(const std::string& command, std::string* out = nullptr) {
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  std::string text;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  const int status = pclose(pipe);
  if (out != nullptr) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Width and height from a PNG file's header; 0 x 0 when it is not a PNG.
std::pair<unsigned, unsigned> PngSize(const fs::path& p) {
  const std::string bytes = ReadFile(p);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0 || bytes.compare(12, 4, "IHDR") != 0) return {0, 0};
  auto be32 = [&](std::size_t at) {
    unsigned v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

class InstallTest : public ::testing::Test {
 protected:
  // The clone, its build and the prefix, once for every test: building takes minutes.
  static void SetUpTestSuite() {
    root_ = new TempFolder;
    const fs::path source(QBRRE_SOURCE_DIR);
    if (RunShell("git -C " + Quote(source) + " rev-parse --git-dir >/dev/null 2>&1") != 0) {
      skip_ = "the source folder is not a git checkout";
      return;
    }
    const std::string log = Quote(root_->path() / "build.log");
    // Only the program and its plug-ins, in Release: the rest of the tree is built by the suite itself.
    const bool ccache = RunShell("command -v ccache >/dev/null") == 0;
    const std::string launcher = ccache ? " -DCMAKE_CXX_COMPILER_LAUNCHER=ccache" : "";
    // Paths under the clone are hashed relative to it and the build folder sits in it as build/, as in a
    // checkout built by the set-up scripts: the Release compilations of this checkout, and those of the
    // previous run (whose folder has another name), are found again instead of building everything anew.
    const std::string cache_base = ccache ? "export CCACHE_BASEDIR=" + Quote(Clone()) + " && " : "";
    const std::string steps =
        cache_base + "git clone --quiet --no-hardlinks " + Quote(source) + " " + Quote(Clone()) + " && cmake -S " +
        Quote(Clone()) +
        " -B " + Quote(Build()) + " -G Ninja -DCMAKE_BUILD_TYPE=Release -DQBRRE_TESTS=OFF" + launcher +
        " && cmake --build " + Quote(Build()) + " --target qbrre in_snes out_wave && cmake --install " +
        Quote(Build()) + " --prefix " + Quote(Prefix()) + " && cmake --build " + Quote(Build()) +
        " --target package && dpkg -x " + Quote(Build()) + "/qbrre_*.deb " + Quote(PackageRoot());
    built_ = RunShell("(" + steps + ") >" + log + " 2>&1") == 0;
    if (!built_) build_log_ = ReadFile(root_->path() / "build.log");
  }
  static void TearDownTestSuite() {
    delete root_;
    root_ = nullptr;
  }
  void SetUp() override {
    if (!skip_.empty()) GTEST_SKIP() << skip_;
    ASSERT_TRUE(built_) << build_log_;
  }
  static fs::path Clone() { return root_->path() / "clone"; }
  static fs::path Build() { return Clone() / "build"; }
  static fs::path Prefix() { return root_->path() / "prefix"; }
  static fs::path Program() { return Prefix() / "bin" / "qbrre"; }
  static fs::path ManPage() { return Prefix() / "share" / "man" / "man1" / "qbrre.1"; }
  static fs::path PackageRoot() { return root_->path() / "package"; }
  // The one .deb the package target wrote; empty when there is none or more than one.
  static fs::path Package() {
    fs::path found;
    for (const auto& e : fs::directory_iterator(Build())) {
      if (e.path().extension() != ".deb") continue;
      if (!found.empty()) return {};
      found = e.path();
    }
    return found;
  }

  static TempFolder* root_;
  static bool built_;
  static std::string skip_, build_log_;
};

TempFolder* InstallTest::root_ = nullptr;
bool InstallTest::built_ = false;
std::string InstallTest::skip_, InstallTest::build_log_;

// Nothing but the build folder the build was given: no changed, new or ignored file anywhere else.
TEST_F(InstallTest, TheBuildLeavesTheCloneAlone) {
  std::string status;
  ASSERT_EQ(RunShell("git -C " + Quote(Clone()) + " status --porcelain --ignored", &status), 0);
  EXPECT_EQ(status, "!! build/\n");
}

TEST_F(InstallTest, ThePrefixHoldsTheProgramItsPlugInsAndItsData) {
  for (const char* file :
       {"bin/qbrre", "bin/PlugIns/in_snes.so", "bin/PlugIns/out_wave.so", "share/qbrre/GameConfig/QBR v10U.INI", "share/qbrre/GameConfig/QBR Demo.INI",
        "share/applications/qbrre.desktop", "share/icons/hicolor/64x64/apps/qbrre.png", "share/man/man1/qbrre.1"})
    EXPECT_TRUE(fs::is_regular_file(Prefix() / file)) << file;
  EXPECT_EQ(ReadFile(Prefix() / "share/qbrre/GameConfig/QBR v10U.INI"),
            ReadFile(fs::path(QBRRE_SOURCE_DIR) / "GameConfig/QBR v10U.INI"));
}

// From an empty folder with no GameConfig/: the headless commands read the installed game configuration
// and write nothing but what they are asked to.
TEST_F(InstallTest, HeadlessCommandsWorkFromAnEmptyFolder) {
  TempFolder work;
  const DemoImage demo = BuildDemoImage(1);
  const fs::path rom = work / "demo.smc";
  std::ofstream(rom, std::ios::binary)
      .write(reinterpret_cast<const char*>(demo.rom.data()), static_cast<std::streamsize>(demo.rom.size()));
  const fs::path empty = work / "empty", home = work / "home";
  fs::create_directories(empty);
  fs::create_directories(home);
  const std::string env =
      "cd " + Quote(empty) + " && env -u XDG_CONFIG_HOME HOME=" + Quote(home) + " " + Quote(Program());

  std::string list;
  ASSERT_EQ(RunShell(env + " --list " + Quote(rom) + " 2>/dev/null", &list), 0);
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 228);
  for (const DemoLevel& l : demo.levels) {
    char id[8];
    std::snprintf(id, sizeof id, "0x%02X", l.id);
    EXPECT_NE(list.find(std::string(id) + "\t" + l.name + "\t"), std::string::npos) << id;
  }

  const DemoLevel& level = *demo.Level(0x16);
  ASSERT_EQ(RunShell(env + " --export 0x16 --output " + Quote(work / "level.png") + " " + Quote(rom) + " 2>/dev/null"), 0);
  EXPECT_EQ(PngSize(work / "level.png"),
            std::make_pair(static_cast<unsigned>(32 * level.tile_w), static_cast<unsigned>(32 * level.tile_h)));

  // Nothing appeared in the working folder or in the settings folder.
  EXPECT_TRUE(fs::is_empty(empty));
  EXPECT_TRUE(fs::is_empty(home));

  // The installed game configuration is what was read: with its level name bank moved, the names change.
  const fs::path config = Prefix() / "share/qbrre/GameConfig/QBR v10U.INI";
  const std::string saved = ReadFile(config);
  std::ofstream(config, std::ios::trunc) << "[Global_Offsets]\nLevelNameBank = 0\n";
  std::string moved;
  const int rc = RunShell(env + " --list " + Quote(rom) + " 2>/dev/null", &moved);
  std::ofstream(config, std::ios::trunc | std::ios::binary) << saved;
  EXPECT_EQ(rc, 0);
  EXPECT_NE(moved, list);
}

// The Debian package holds what the install puts under a prefix, under /usr, with the files Debian wants
// beside it; lintian finds no error in it, and its dependencies were computed from the libraries loaded.
TEST_F(InstallTest, DebianPackageInstallsUnderUsrAndPassesLintian) {
  const fs::path deb = Package();
  ASSERT_FALSE(deb.empty()) << "not exactly one .deb in " << Build();
  EXPECT_EQ(deb.filename().string().rfind("qbrre_", 0), 0u) << deb;
  for (const char* file :
       {"usr/bin/qbrre", "usr/lib/qbrre/PlugIns/in_snes.so", "usr/lib/qbrre/PlugIns/out_wave.so",
        "usr/share/qbrre/GameConfig/QBR v10U.INI", "usr/share/applications/qbrre.desktop",
        "usr/share/icons/hicolor/64x64/apps/qbrre.png", "usr/share/man/man1/qbrre.1.gz",
        "usr/share/metainfo/net.qbrre.qbrre.metainfo.xml", "usr/share/doc/qbrre/copyright",
        "usr/share/doc/qbrre/changelog.gz"})
    EXPECT_TRUE(fs::is_regular_file(PackageRoot() / file)) << file;
  // Nothing outside /usr, and nothing from the build tree or the tests.
  for (const auto& e : fs::directory_iterator(PackageRoot())) EXPECT_EQ(e.path().filename(), "usr");
  std::string listing;
  ASSERT_EQ(RunShell("dpkg-deb -c " + Quote(deb), &listing), 0);
  EXPECT_EQ(listing.find("test"), std::string::npos) << listing;

  std::string depends;
  ASSERT_EQ(RunShell("dpkg-deb -f " + Quote(deb) + " Depends", &depends), 0);
  for (const char* library : {"libc6", "liballegro4", "libx11", "libpng", "libgme", "libsdl2"})
    EXPECT_NE(depends.find(library), std::string::npos) << library << " not in: " << depends;

  if (RunShell("command -v lintian >/dev/null") != 0) GTEST_SKIP() << "lintian is not installed";
  std::string tags;
  EXPECT_EQ(RunShell("lintian --fail-on error " + Quote(deb) + " 2>&1", &tags), 0) << tags;
  EXPECT_EQ(tags.find("E: "), std::string::npos) << tags;
}

TEST_F(InstallTest, AppStreamDescriptionValidates) {
  std::string out;
  EXPECT_EQ(RunShell("appstreamcli validate --no-net " +
                         Quote(PackageRoot() / "usr/share/metainfo/net.qbrre.qbrre.metainfo.xml") + " 2>&1",
                     &out),
            0)
      << out;
}

// A file manager offers the program for the files the MIME database names ROM images by their
// extension: the desktop entry declares that type and takes the file as %f.
TEST_F(InstallTest, DesktopEntryOpensRomImages) {
  const std::string globs = ReadFile("/usr/share/mime/globs2");
  if (globs.empty()) GTEST_SKIP() << "no MIME database (shared-mime-info)";
  const std::regex smc("[0-9]+:([^:\\n]+):\\*\\.smc\\n");
  std::smatch type;
  ASSERT_TRUE(std::regex_search(globs, type, smc)) << "the MIME database names no type for *.smc";
  const std::string entry = ReadFile(PackageRoot() / "usr/share/applications/qbrre.desktop");
  std::smatch mime;
  ASSERT_TRUE(std::regex_search(entry, mime, std::regex("\\nMimeType=([^\\n]*)\\n")));
  EXPECT_NE((";" + mime[1].str()).find(";" + type[1].str() + ";"), std::string::npos) << mime[1];
  EXPECT_NE(entry.find("\nExec=qbrre %f\n"), std::string::npos);
}

TEST_F(InstallTest, DesktopEntryIsValid) {
  std::string out;
  EXPECT_EQ(RunShell("desktop-file-validate " + Quote(Prefix() / "share/applications/qbrre.desktop") + " 2>&1", &out), 0)
      << out;
  EXPECT_EQ(out, "");
}

// The manual page renders without warnings and names every option of --help and every environment
// variable the program reads.
TEST_F(InstallTest, ManualPageRendersAndDocumentsEveryOptionAndVariable) {
  std::string page, warnings;
  ASSERT_EQ(RunShell("MANWIDTH=80 man -P cat -l " + Quote(ManPage()) + " 2>/dev/null", &page), 0);
  EXPECT_NE(page.find("NAME"), std::string::npos);
  EXPECT_EQ(RunShell("MANWIDTH=80 man --warnings -P cat -l " + Quote(ManPage()) + " 2>&1 >/dev/null", &warnings), 0);
  EXPECT_EQ(warnings, "");

  std::string help;
  ASSERT_EQ(RunShell(Quote(Program()) + " --help", &help), 0);
  std::set<std::string> options;
  const std::regex option("--[a-z][a-z-]*");
  for (auto it = std::sregex_iterator(help.begin(), help.end(), option); it != std::sregex_iterator(); ++it)
    options.insert(it->str());
  EXPECT_GT(options.size(), 5u);
  for (const std::string& o : options) EXPECT_NE(page.find(o), std::string::npos) << o << " is not in the page";

  // Every variable named in a getenv call or as QBRRE_* in the program's sources (tests excluded).
  std::set<std::string> variables;
  const std::regex named("getenv\\(\"([A-Z_]+)\"\\)|\"(QBRRE_[A-Z_]+)\"");
  for (const auto& entry : fs::recursive_directory_iterator(Clone())) {
    const std::string path = entry.path().string();
    if (entry.path().extension() != ".cpp" || path.find("/tests/") != std::string::npos ||
        path.find("/bench/") != std::string::npos || path.find("/fuzz/") != std::string::npos)
      continue;
    const std::string text = ReadFile(entry.path());
    for (auto it = std::sregex_iterator(text.begin(), text.end(), named); it != std::sregex_iterator(); ++it)
      variables.insert((*it)[1].matched ? (*it)[1].str() : (*it)[2].str());
  }
  EXPECT_TRUE(variables.count("QBRRE_DIALOG_LOG"));
  for (const std::string& v : variables) EXPECT_NE(page.find(v), std::string::npos) << v << " is not in the page";
}

}  // namespace
