// SPDX-License-Identifier: MIT
// Each editing command on a full table, including the update of the title
// list that follows it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "bench_files.h"
#include "dialogs.h"
#include "frm_config.h"

using namespace sceneshifter;

namespace {

struct FullEditor {
  QTemporaryDir dir;
  SceneryDocument doc;
  ScriptedDialogs dialogs;
  std::unique_ptr<FrmConfig> window;

  FullEditor() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       dir.filePath(QStringLiteral("settings")));
    const QString file = dir.filePath(QStringLiteral("Scenery.cfg"));
    WriteBenchFile(file, BenchScenery(3001, false));
    QSettings(QStringLiteral("Sceneshifter"), QStringLiteral("Sceneshifter"))
        .setValue(QStringLiteral("Paths/FSPath"), file);
    window = std::make_unique<FrmConfig>(doc, dialogs);
    window->Startup();
    QApplication::processEvents();
  }
  void Press(int command) {
    window->Command1[command]->click();
    // Let the list lay out and paint its new entries, as a user would see.
    window->LstTitle->viewport()->repaint();
  }
};

void BM_Raise(benchmark::State& state) {
  FullEditor e;
  e.window->SelectListEntry(1500);
  for (auto _ : state) {
    e.Press(2);
    if (e.doc.CurrentArea >= 2999) e.window->SelectListEntry(1500);
  }
}
BENCHMARK(BM_Raise)->Unit(benchmark::kMillisecond);

void BM_Lower(benchmark::State& state) {
  FullEditor e;
  e.window->SelectListEntry(2000);
  for (auto _ : state) {
    e.Press(3);
    if (e.doc.CurrentArea <= 3) e.window->SelectListEntry(2000);
  }
}
BENCHMARK(BM_Lower)->Unit(benchmark::kMillisecond);

void BM_Delete(benchmark::State& state) {
  FullEditor e;
  for (auto _ : state) {
    if (e.doc.LastArea < 100) {
      state.PauseTiming();
      e.window->Startup();  // refill the table
      state.ResumeTiming();
    }
    e.window->SelectListEntry(1);
    e.Press(4);
  }
}
BENCHMARK(BM_Delete)->Unit(benchmark::kMillisecond);

void BM_EditOk(benchmark::State& state) {
  FullEditor e;
  e.window->SelectListEntry(1000);
  for (auto _ : state) {
    state.PauseTiming();
    e.Press(5);
    state.ResumeTiming();
    e.Press(8);
  }
}
BENCHMARK(BM_EditOk)->Unit(benchmark::kMillisecond);

// Move To across 2,490 places, down and back up in turn.
void BM_MoveFar(benchmark::State& state) {
  FullEditor e;
  e.window->SelectListEntry(2499);
  for (auto _ : state) {
    const bool down = e.doc.CurrentArea == 2499;
    e.dialogs.setNextInput(QString::number(down ? 10 : 2500));
    e.window->MnuMoveTo_Click();
    e.window->LstTitle->viewport()->repaint();
  }
}
BENCHMARK(BM_MoveFar)->Unit(benchmark::kMillisecond);

// Undo of a Delete near the top: the area goes back and 3,000 follow it.
void BM_UndoDelete(benchmark::State& state) {
  FullEditor e;
  e.window->SelectListEntry(1);
  e.Press(4);
  for (auto _ : state) {
    e.window->MnuUndo_Click();
    e.window->LstTitle->viewport()->repaint();
    state.PauseTiming();
    e.window->MnuRedo_Click();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoDelete)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
