// One frame of the start-up screen as the main loop composes it: the window-sized
// area of the screen-sized frame buffer cleared, the banner, the whole window frame
// (caption, borders, toolbar, menu bar, status bar) and the copy to the page.
//
// The same while recovery copies of the 4 MiB demo image with unsaved edits are written without pause
// on another thread, as the autosave's writer writes them, and the pass runs the autosave's tick; and
// the snapshot the worker takes once per copy.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <filesystem>
#include <thread>

#include "bench/demo_setting.h"
#include "gui/HelioWin.h"
#include "gui/commands.h"
#include "platform/window.h"
#include "resources/skin.h"
#include "rom/autosave.h"
#include "rom/image_save.h"
#include "rom/recovery_store.h"
#include "shell/runtime/frame.h"
#include "shell/app/mode_startupscreen.h"
#include "shell/base/variables.h"

namespace {

// Allegro once per process: a second start reads the configuration again, which the demo image's
// configuration in memory no longer allows.
void StartAllegroOnce() {
  static bool started = false;
  if (!started) StartBenchAllegro();
  started = true;
}

// The demo image open with one unsaved edit, its copies in a temporary state folder.
struct EditedDemo {
  DemoImage demo = BuildDemoImage(1);
  char state[40] = "/tmp/qbrre_autosave_bench_XXXXXX";
  EditedDemo() {
    if (mkdtemp(state) == nullptr) std::abort();
    setenv("XDG_STATE_HOME", state, 1);
    OpenDemoImage(demo);
    SetImageFile("", "");
    QBR1_WriteWord(0x2000, 0x1234);
  }
  ~EditedDemo() {
    WaitForAutosaveWriter();
    std::filesystem::remove_all(state);
    unsetenv("XDG_STATE_HOME");
  }
};

void StartupFramePass(benchmark::State& state, bool autosaving) {
  StartAllegroOnce();
  LoadBuiltinResources();
  HeadlessWindow window;
  PlatformUseHeadlessWindow(window);
  FB = create_bitmap_ex(32, window.screen_w, window.screen_h);
  BITMAP* page = create_bitmap_ex(32, window.screen_w, window.screen_h);
  {
    const Installed<CommandTable> commands;
    std::unique_ptr<EditedDemo> edited;
    std::atomic<bool> writing{autosaving};
    std::thread writer;
    if (autosaving) {
      edited = std::make_unique<EditedDemo>();
      const std::vector<unsigned char> bytes = QBR1_SavedFileBytes();
      const RecoveryIdentity id = OpenDocumentIdentity();
      const std::string path = RecoveryCopyPath(RecoveryFolder(), id);
      const std::string header = RecoveryHeader(id, "", QBR1_UndoCount(), bytes.size());
      writer = std::thread([&writing, bytes, path, header] {
        std::string error;
        while (writing.load())
          if (!WriteRecoveryCopy(path, header, bytes, error)) std::abort();
      });
    }
    CHelioGUI gui;
    ModePass pass;
    pass.picture = DrawStartupScreen;
    for (auto _ : state) {
      ComposeFrame(page, pass);
      if (autosaving) AutosaveTick();
      benchmark::DoNotOptimize(page->line[0][0]);
    }
    state.SetItemsProcessed(state.iterations());
    writing = false;
    if (writer.joinable()) writer.join();
  }
  mui = nullptr;
  destroy_bitmap(page);
  destroy_bitmap(FB);
  FB = nullptr;
  PlatformUseX11Window();
  DestroyBuiltinResources();
}
BENCHMARK_CAPTURE(StartupFramePass, idle, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(StartupFramePass, while_autosaving, true)->Unit(benchmark::kMicrosecond);

// What the worker does once per copy: the bytes Save would write and the copy's header.
void AutosaveSnapshot4MiB(benchmark::State& state) {
  StartAllegroOnce();
  EditedDemo edited;
  const RecoveryIdentity id = OpenDocumentIdentity();
  for (auto _ : state) {
    std::vector<unsigned char> bytes = QBR1_SavedFileBytes();
    std::string header = RecoveryHeader(id, "", QBR1_UndoCount(), bytes.size());
    benchmark::DoNotOptimize(bytes.data());
    benchmark::DoNotOptimize(header.data());
  }
}
BENCHMARK(AutosaveSnapshot4MiB)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
