// SPDX-License-Identifier: MIT
// The commands on a selection at the table's size, including the update of
// the title list that follows each.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QItemSelection>
#include <QLineEdit>
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
  // Selects list entries first..last, the first current.
  void Select(int first, int last) {
    QListView* view = window->LstTitle;
    view->setCurrentIndex(view->model()->index(first, 0));
    view->selectionModel()->select(
        QItemSelection(view->model()->index(first, 0),
                       view->model()->index(last, 0)),
        QItemSelectionModel::ClearAndSelect);
  }
  void Paint() { window->LstTitle->viewport()->repaint(); }
};

void BM_SwitchOff3001(benchmark::State& state) {
  FullEditor e;
  e.Select(0, 3000);
  for (auto _ : state) {
    e.window->MnuDeactivate_Click();
    e.Paint();
    state.PauseTiming();
    e.window->MnuUndo_Click();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SwitchOff3001)->Unit(benchmark::kMillisecond);

void BM_UndoSwitchOff3001(benchmark::State& state) {
  FullEditor e;
  e.Select(0, 3000);
  e.window->MnuDeactivate_Click();
  for (auto _ : state) {
    e.window->MnuUndo_Click();
    e.Paint();
    state.PauseTiming();
    e.window->MnuRedo_Click();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoSwitchOff3001)->Unit(benchmark::kMillisecond);

void BM_Delete1000(benchmark::State& state) {
  FullEditor e;
  for (auto _ : state) {
    state.PauseTiming();
    e.Select(1000, 1999);
    state.ResumeTiming();
    e.window->Command1[4]->click();
    e.Paint();
    state.PauseTiming();
    e.window->MnuUndo_Click();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Delete1000)->Unit(benchmark::kMillisecond);

void BM_UndoDelete1000(benchmark::State& state) {
  FullEditor e;
  e.Select(1000, 1999);
  e.window->Command1[4]->click();
  for (auto _ : state) {
    e.window->MnuUndo_Click();
    e.Paint();
    state.PauseTiming();
    e.window->MnuRedo_Click();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoDelete1000)->Unit(benchmark::kMillisecond);

// The last 100 areas to layer 3 and back, in turn.
void BM_MoveBlock100(benchmark::State& state) {
  FullEditor e;
  bool up = true;
  for (auto _ : state) {
    state.PauseTiming();
    if (up)
      e.Select(2901, 3000);
    else
      e.Select(2, 101);
    e.dialogs.setNextInput(up ? QStringLiteral("3") : QStringLiteral("2902"));
    state.ResumeTiming();
    e.window->MnuMoveTo_Click();
    e.Paint();
    up = !up;
  }
}
BENCHMARK(BM_MoveBlock100)->Unit(benchmark::kMillisecond);

// One more letter typed into the filter, and taken back, in turn.
void BM_FilterKeystroke(benchmark::State& state) {
  FullEditor e;
  e.window->FilterBox->setText(QStringLiteral("Area 1"));
  bool longer = true;
  for (auto _ : state) {
    e.window->FilterBox->setText(longer ? QStringLiteral("Area 12")
                                        : QStringLiteral("Area 1"));
    e.Paint();
    longer = !longer;
  }
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
