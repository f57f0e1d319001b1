// Every command number a menu bar or toolbar description carries ("[$NNNN S ..."), in any file of
// the program's sources, and every number the File menus' recent-image entries are made with, is
// one that gui/command_ids.h names: a number with no name is a command nobody registers on purpose.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gui/command_ids.h"
#include "shell/app/recent_menu.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Hex4(unsigned number) {
  char text[8];
  std::snprintf(text, sizeof text, "$%04X", number);
  return text;
}

// The numbers gui/command_ids.h names: each constant, and each family (a constant whose name ends in
// "First") for as many entries as its count says.
std::set<unsigned> NamedNumbers() {
  // The entry count of each family, by the name of its first number.
  const std::map<std::string, int> families = {{"kCmdRecentImageFirst", kRecentImageEntries},
                                               {"kCmdModeMenuFirst", kModeEntries},
                                               {"kCmdStartupModeFirst", kModeEntries}};
  const std::string header = ReadText(fs::path(QBRRE_SOURCE_DIR) / "gui/command_ids.h");
  const std::regex constant(R"(constexpr CommandId (\w+) = 0x([0-9A-Fa-f]{1,4});)");
  std::set<unsigned> named;
  for (std::sregex_iterator it(header.begin(), header.end(), constant), end; it != end; ++it) {
    const std::string name = (*it)[1];
    const unsigned number = static_cast<unsigned>(std::stoul((*it)[2], nullptr, 16));
    int entries = 1;
    if (name.size() > 5 && name.compare(name.size() - 5, 5, "First") == 0) {
      const auto family = families.find(name);
      if (family == families.end()) {
        ADD_FAILURE() << name << " begins a family whose entry count this test does not know";
        continue;
      }
      entries = family->second;
    }
    for (int i = 0; i < entries; ++i) named.insert(number + static_cast<unsigned>(i));
  }
  return named;
}

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The command numbers of the entries in `text`: "[$", four hexadecimal digits, blanks, the state
// letter (or '-') and a blank, as the menu description language writes an entry.
std::vector<unsigned> EntryNumbers(const std::string& text) {
  std::vector<unsigned> numbers;
  for (std::size_t at = text.find("[$"); at != std::string::npos; at = text.find("[$", at + 2)) {
    std::size_t p = at + 2;
    if (p + 4 > text.size() || !IsHex(text[p]) || !IsHex(text[p + 1]) || !IsHex(text[p + 2]) || !IsHex(text[p + 3]))
      continue;
    const unsigned number = static_cast<unsigned>(std::stoul(text.substr(p, 4), nullptr, 16));
    p += 4;
    if (p >= text.size() || text[p] != ' ') continue;
    while (p < text.size() && text[p] == ' ') ++p;
    const bool state = p + 1 < text.size() && ((text[p] >= 'A' && text[p] <= 'Z') || text[p] == '-') && text[p + 1] == ' ';
    if (state) numbers.push_back(number);
  }
  return numbers;
}

// Every file of the program's sources and data, by its path below the source folder: the tests
// (whose own descriptions carry numbers of their own) and build folders left out.
std::vector<fs::path> SourceFiles() {
  const fs::path root(QBRRE_SOURCE_DIR);
  std::vector<fs::path> files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const fs::path relative = fs::relative(it->path(), root);
    if (it->is_directory()) {
      const std::string name = relative.filename().string();
      if (name.front() == '.' || relative == "tests" || fs::exists(it->path() / "CMakeCache.txt"))
        it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file() && it->file_size() < (1u << 20)) files.push_back(relative);
  }
  return files;
}

TEST(CommandNumbers, EveryDescribedNumberHasAName) {
  const std::set<unsigned> named = NamedNumbers();
  ASSERT_GT(named.size(), 60u) << "gui/command_ids.h was not read";
  std::set<std::string> describing;  // the files that hold entries
  for (const fs::path& file : SourceFiles()) {
    for (unsigned number : EntryNumbers(ReadText(fs::path(QBRRE_SOURCE_DIR) / file))) {
      describing.insert(file.generic_string());
      EXPECT_EQ(named.count(number), 1u) << file.generic_string() << ": " << Hex4(number)
                                         << " is not a number gui/command_ids.h names";
    }
  }
  // The built-in descriptions were all found: the menus and toolbars of the first three modes and
  // those of the resource modes.
  EXPECT_EQ(describing.count("gui/MenuLoad.cpp"), 1u);
  EXPECT_EQ(describing.count("modes/mode_descriptions.cpp"), 1u);
}

TEST(CommandNumbers, TheRecentImageEntriesAreNamed) {
  const std::set<unsigned> named = NamedNumbers();
  const std::vector<unsigned> numbers = EntryNumbers(RecentMenuText(std::vector<std::string>(12, "/images/a.smc")));
  ASSERT_EQ(numbers.size(), static_cast<std::size_t>(kRecentImageEntries));
  for (unsigned number : numbers) EXPECT_EQ(named.count(number), 1u) << Hex4(number);
}

// The reader of this test finds what it must and nothing else, so that the checks above can fail.
TEST(CommandNumbers, EntriesAreReadAsTheDescriptionsWriteThem) {
  struct Case {
    const char* text;
    std::vector<unsigned> numbers;
  };
  const Case cases[] = {
      {"[$0000 Y 10 - - 'Open...']", {0x0000}},
      {"[    [$FE00 S 02 Y 160 'A']    [$0201 Y -- N 066 'B'][$abcd - -- - - 'C']]", {0xFE00, 0x0201, 0xABCD}},
      {"[$0100  N 08 - - 'Undo']", {0x0100}},
      {"[$12 Y]  [$12345 Y 0] [$WXYZ Y 0] [$1234Y 0] [$1234 YY] price [$", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(EntryNumbers(c.text), c.numbers) << c.text;
  // A number outside every name and family.
  EXPECT_EQ(NamedNumbers().count(0x0240), 0u);
  EXPECT_EQ(NamedNumbers().count(0x0017), 1u);  // the last recent image
  EXPECT_EQ(NamedNumbers().count(0x0018), 0u);
}

}  // namespace
