#include <gtest/gtest.h>

#include "bfa/bfa.h"
#include "demo/demo_image.h"
#include "extract/import_menu.h"
#include "extract/mode_extraction.h"
#include "gui/commands.h"
#include "gui/mode_table.h"
#include "platform/config_lock.h"
#include "platform/dialogs.h"
#include "resources/skin.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "shell/base/variables.h"
#include "tests/common/headless_allegro.h"
#include "tests/extract/extract_support.h"

namespace {

using namespace extract_test;

// The demo image in channel 0x10 with its configuration in force, the engine in
// the Extraction mode and the command table as the application registers it;
// every global is put back afterwards.
class ExtractionModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartHeadlessAllegro());
    if (NMenuFont[2] == nullptr) LoadBuiltinResources();
    {
      ConfigGuard guard;
      set_config_data(demo_.config.data(), static_cast<int>(demo_.config.size()));
    }
    saved_offsets_ = qbr1gbl;
    ReadGlobalOffsets(qbr1gbl);
    saved_image_.assign(QBR1.begin(), QBR1.end());
    QBR1.assign(demo_.rom.begin(), demo_.rom.end());
    saved_state_ = ENGINE_STATE.load();
    ENGINE_STATE = static_cast<uint32_t>(Mode::Extraction);
    RegisterExtractionCommands();
    PlatformUseScriptedDialogs([this](const DialogRecord& r) {
      boxes_.push_back(r);
      if (r.kind == BoxKind::Folder || r.kind == BoxKind::Open) return answer_;
      return std::string("ok");
    });
  }
  void TearDown() override {
    PlatformUseDesktopDialogs();
    ENGINE_STATE = saved_state_;
    QBR1.assign(saved_image_.begin(), saved_image_.end());
    qbr1gbl = saved_offsets_;
    ConfigGuard guard;
    set_config_data("", 0);
  }
  // The entry with command number id.
  static const ExtractionEntry& Entry(unsigned short id) {
    for (const ExtractionEntry& e : ExtractionEntries())
      if (e.id == id) return e;
    throw std::out_of_range("no such entry");
  }

  static inline const DemoImage demo_ = BuildDemoImage(1);
  std::vector<char> saved_image_;
  globaldata saved_offsets_;
  uint32_t saved_state_ = 0;
  Installed<CommandTable> commands_;
  std::vector<DialogRecord> boxes_;
  std::string answer_ = "cancel";
};

TEST_F(ExtractionModeTest, KnownEntriesAreAvailableOnlyInTheModeWithAnImage) {
  const unsigned short known[] = {0x5100, 0x5102, 0x5105, 0x5200, 0x5201, 0x5202, 0x5205, 0x5206};
  const unsigned short unknown[] = {0x5101, 0x5103, 0x5104, 0x5203, 0x5204};
  for (unsigned short id : known) EXPECT_TRUE(CommandAvailable(id)) << std::hex << id;
  for (unsigned short id : unknown) {
    EXPECT_EQ(FindCommand(id), nullptr) << std::hex << id;
    EXPECT_FALSE(CommandAvailable(id)) << std::hex << id;
  }
  ENGINE_STATE = 1;
  for (unsigned short id : known) EXPECT_FALSE(CommandAvailable(id)) << std::hex << id;
  ENGINE_STATE = static_cast<uint32_t>(Mode::Extraction);
  QBR1.clear();
  for (unsigned short id : known) EXPECT_FALSE(CommandAvailable(id)) << std::hex << id;
}

TEST_F(ExtractionModeTest, ViewCountsTheFilesOfEachEntry) {
  const ExtractionView view;
  const int levels = 228, archetypes = static_cast<int>(demo_.archetypes.size()), sprites = 4;
  const std::map<unsigned short, int> want = {
      {0x5100, levels},  {0x5101, 0},          {0x5102, levels},     {0x5103, 0},      {0x5104, 0},
      {0x5105, sprites}, {0x5200, 2 * archetypes}, {0x5201, archetypes}, {0x5202, levels}, {0x5203, 0},
      {0x5204, 0},       {0x5205, sprites},    {0x5206, 2 * levels},
  };
  const auto& entries = ExtractionEntries();
  ASSERT_EQ(entries.size(), want.size());
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(view.Files(i), want.at(entries[i].id)) << entries[i].label;
  // One row of text per entry, 14 pixels apart from y = 88, and nothing below them.
  BITMAP* fb = create_bitmap_ex(32, 776, 604);
  clear_to_color(fb, 0x0F3F7F);
  view.Draw(fb);
  auto inked = [fb](int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = 4; x < 772; ++x) n += getpixel(fb, x, y) != 0x0F3F7F;
    return n;
  };
  for (std::size_t i = 0; i < entries.size(); ++i)
    EXPECT_GT(inked(88 + 14 * static_cast<int>(i), 102 + 14 * static_cast<int>(i)), 0) << entries[i].label;
  EXPECT_EQ(inked(88 + 14 * static_cast<int>(entries.size()), 584), 0);
  destroy_bitmap(fb);
}

TEST_F(ExtractionModeTest, AnEntryWritesIntoTheChosenFolderAndSaysSo) {
  TempFolder folder("extraction-mode");
  answer_ = (folder.path() / "made" / "here").string();  // a folder that does not exist yet is made
  ASSERT_TRUE(RunRegisteredCommand(0x5206));
  // The files are written on a thread of the extraction's own; the mode's
  // update reports them once it has ended.
  ASSERT_EQ(boxes_.size(), 1u);
  ASSERT_TRUE(ReportFinishedExtraction(true));
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[0].kind, BoxKind::Folder);
  EXPECT_NE(boxes_[0].title.find("Palletes"), std::string::npos) << boxes_[0].title;
  EXPECT_EQ(boxes_[1].title, "Extraction");
  EXPECT_NE(boxes_[1].text.find("456 files written"), std::string::npos) << boxes_[1].text;
  EXPECT_EQ(FilesLike(answer_, "palette-0x", ".bin").size(), 228u);
  EXPECT_EQ(FilesLike(answer_, "palette-0x", ".gpl").size(), 228u);
  const DemoLevel& level = *demo_.Level(0x16);
  const std::vector<unsigned char> bytes = ReadFile(fs::path(answer_) / "palette-0x16.bin");
  ASSERT_EQ(bytes.size(), 256u);
  for (int i = 0; i < 128; ++i) EXPECT_EQ(WordAt(bytes, 2u * i), level.palette[i]) << i;
  EXPECT_NE(ExtractionView().Status().find("456 files written"), std::string::npos);
}

TEST_F(ExtractionModeTest, EditsWhileItRunsChangeNothingItWrites) {
  TempFolder folder("extraction-edited");
  answer_ = folder.path().string();
  const DemoLevel& level = *demo_.Level(0x16);
  ASSERT_TRUE(RunRegisteredCommand(0x5206));
  ASSERT_TRUE(ExtractionRunning());
  // No second extraction while one runs.
  EXPECT_FALSE(CommandAvailable(0x5202));
  // The user edits the palette of level 0x16 while the files are written.
  QBR1_ResetEdits(demo_.rom, 0);
  const std::vector<unsigned char> red(256, 0x1F);
  ASSERT_TRUE(QBR1_WriteBytes(static_cast<std::size_t>(level.paletteOffset), red.data(), red.size()));
  ASSERT_TRUE(ReportFinishedExtraction(true));
  QBR1_ResetEdits({}, 0);
  EXPECT_FALSE(ExtractionRunning());
  // The extraction wrote the image as it was when it started.
  const std::vector<unsigned char> bytes = ReadFile(folder.path() / "palette-0x16.bin");
  ASSERT_EQ(bytes.size(), 256u);
  for (int i = 0; i < 128; ++i) EXPECT_EQ(WordAt(bytes, 2u * i), level.palette[i]) << i;
  EXPECT_TRUE(CommandAvailable(0x5202));
}

TEST_F(ExtractionModeTest, ACancelledExtractionKeepsAndListsWhatItWrote) {
  TempFolder folder("extraction-cancelled");
  answer_ = folder.path().string();
  ASSERT_TRUE(RunRegisteredCommand(0x5100));  // every level picture: the longest entry
  ASSERT_TRUE(ExtractionRunning());
  // While it runs the view shows its progress below the entries, and the status line how far it got.
  const ExtractionView view;
  EXPECT_NE(view.Status().find("of 228 files written - Escape cancels"), std::string::npos) << view.Status();
  BITMAP* fb = create_bitmap_ex(32, 776, 604);
  clear_to_color(fb, 0x0F3F7F);
  view.Draw(fb);
  int ink = 0;
  for (int y = 88 + 14 * static_cast<int>(ExtractionEntries().size()); y < 584; ++y)
    for (int x = 4; x < 772; ++x) ink += getpixel(fb, x, y) != 0x0F3F7F;
  EXPECT_GT(ink, 0);
  destroy_bitmap(fb);

  CancelExtraction();
  ASSERT_TRUE(ReportFinishedExtraction(true));
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].kind, BoxKind::Info);
  EXPECT_EQ(boxes_[1].text.find("Cancelled."), 0u) << boxes_[1].text;
  const std::vector<std::string> written = FilesLike(folder.path(), "level-0x", ".png");
  EXPECT_LT(written.size(), 228u);
  // Every file written stays, and the box names them (the first dozen of them).
  EXPECT_NE(boxes_[1].text.find(std::to_string(written.size()) + " file"), std::string::npos) << boxes_[1].text;
  for (std::size_t i = 0; i < written.size() && i < 12; ++i)
    EXPECT_NE(boxes_[1].text.find(written[i]), std::string::npos) << written[i];
  EXPECT_EQ(FilesLike(folder.path(), ".", "").size(), 0u);  // no temporary file left
  EXPECT_NE(ExtractionView().Status().find("cancelled"), std::string::npos);
}

TEST_F(ExtractionModeTest, CancellingTheFolderWritesNothing) {
  TempFolder folder("extraction-cancel");
  answer_ = "cancel";
  ASSERT_TRUE(RunRegisteredCommand(0x5202));
  ASSERT_EQ(boxes_.size(), 1u);  // the folder chooser only
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(ExtractionModeTest, AFolderThatCannotBeMadeIsReported) {
  TempFolder folder("extraction-refused");
  WriteFile(folder.path() / "taken", {7});
  answer_ = (folder.path() / "taken").string();
  ASSERT_TRUE(RunRegisteredCommand(0x5200));
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].kind, BoxKind::Error);
  EXPECT_NE(boxes_[1].text.find("Cannot write to the folder"), std::string::npos) << boxes_[1].text;
  EXPECT_EQ(ReadFile(folder.path() / "taken"), std::vector<unsigned char>{7});
}

}  // namespace

// Import > Folder... puts the folder in as --import would (one undoable edit,
// its lines shown in the view); Import > Tile Maps... takes one file of its kind
// and refuses a file of another.
TEST_F(ExtractionModeTest, ImportPutsAFolderOrOneFileInAsTheCommandDoes) {
  TempFolder folder("import-menu");
  PlaceDemo(demo_, folder.path());
  ASSERT_EQ(Qbrre(folder.path(), "--extract tilemaps --output out demo.smc").status, 0);
  const fs::path map = folder.path() / "out" / "tilemap-0x16.bin";
  std::vector<unsigned char> words = ReadFile(map);
  ASSERT_GT(words.size(), 12u);
  words[10] ^= 0x01, words[11] ^= 0x40;
  WriteFile(map, words);
  const RunResult run = Qbrre(folder.path(), "--import out --output cmd.smc demo.smc");
  ASSERT_EQ(run.status, 0) << run.out;
  const std::vector<unsigned char> want = ReadFile(folder.path() / "cmd.smc");
  ASSERT_NE(want, demo_.rom);

  QBR1_ResetEdits(demo_.rom, 0);
  EXPECT_TRUE(CommandAvailable(kCmdImportFolder));
  answer_ = (folder.path() / "out").string();
  ASSERT_TRUE(RunRegisteredCommand(kCmdImportFolder));
  EXPECT_EQ(QBR1_SavedFileBytes(), want);
  EXPECT_EQ(QBR1_UndoCount(), 1u);
  ASSERT_EQ(LastImportLines().size(), 228u);
  bool written = false;
  for (const ImportLine& l : LastImportLines()) written |= l.file == "tilemap-0x16.bin" && l.outcome.rfind("written (", 0) == 0;
  EXPECT_TRUE(written);
  EXPECT_EQ(LastImportSummary(), "Import \"" + answer_ + "\": 1 written, 227 unchanged, 0 refused");
  const ExtractionView view;
  EXPECT_EQ(view.Status(), LastImportSummary());
  int level = -1;
  ASSERT_TRUE(QBR1_Undo(&level));
  EXPECT_EQ(QBR1_SavedFileBytes(), demo_.rom);

  // One file through its kind's entry; a file of another kind is refused with a box.
  answer_ = map.string();
  ASSERT_TRUE(RunRegisteredCommand(kCmdImportTileMaps));
  EXPECT_EQ(QBR1_SavedFileBytes(), want);
  ASSERT_EQ(LastImportLines().size(), 1u);
  boxes_.clear();
  ASSERT_TRUE(RunRegisteredCommand(kCmdImportPalettes));
  ASSERT_FALSE(boxes_.empty());
  EXPECT_EQ(boxes_.back().kind, BoxKind::Error);
  EXPECT_EQ(QBR1_UndoCount(), 1u) << "the refused file made no edit";
  QBR1_ResetEdits({}, 0);
  ClearLastImport();
}
