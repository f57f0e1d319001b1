#include "tests/bfa/bfa_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

std::vector<char> Bytes(std::initializer_list<int> values) {
  std::vector<char> out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

void WriteFileBytes(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::vector<char> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BfaTest::SetUp() {
  BFA_ResetAll();
  PlatformUseScriptedDialogs([this](const DialogRecord& record) {
    boxes_.push_back(record);
    return record.kind == BoxKind::Open ? dialogAnswer_ : std::string("ok");
  });
  std::string pattern = (std::filesystem::temp_directory_path() / "bfa_test_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
}

void BfaTest::TearDown() {
  PlatformUseDesktopDialogs();
  BFA_ResetAll();
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void BfaTest::Channel(int ID, int mode, std::vector<char> bytes) {
  BFA_Activate(ID, mode);
  BFA_FileBuffer[ID] = std::move(bytes);
}

DialogRecord BfaTest::OnlyBox() {
  std::vector<DialogRecord> shown;
  shown.swap(boxes_);
  EXPECT_EQ(shown.size(), 1u);
  if (shown.empty()) return {BoxKind::Info, "", "", ""};
  EXPECT_EQ(shown.front().kind, BoxKind::Error);
  return shown.front();
}
