// SPDX-License-Identifier: MIT
#include <QAbstractItemModel>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "area_filter_model.h"
#include "codepage.h"
#include "frm_check_areas.h"
#include "frm_config.h"
#include "frm_scenery_sets.h"
#include "health_checker.h"
#include "title_list_delegate.h"
#include "title_list_model.h"

namespace sceneshifter {
namespace {

// Calls back when the watched window becomes the active window again: the
// user may have mended folders in another program meanwhile.
class ActivationWatcher : public QObject {
 public:
  ActivationWatcher(QWidget* window, std::function<void()> activated)
      : QObject(window), activated_(std::move(activated)) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::ActivationChange &&
        static_cast<QWidget*>(watched)->isActiveWindow())
      activated_();
    return false;
  }

 private:
  std::function<void()> activated_;
};

// Puts `window` to the right of `main`, or where the screen has room for
// it, so that the title list stays in sight.
void PlaceBeside(QWidget& window, const QWidget& main) {
  const QScreen* screen = main.screen();
  if (!screen) return;
  const QRect room = screen->availableGeometry();
  const QRect frame = main.frameGeometry();
  QPoint at(frame.right() + 8, frame.top());
  if (at.x() + window.width() > room.right())
    at.setX(room.right() - window.width());
  if (at.y() + window.height() > room.bottom())
    at.setY(room.bottom() - window.height());
  window.move(std::max(at.x(), room.left()), std::max(at.y(), room.top()));
}

}  // namespace

void FrmConfig::BuildHealthCheck() {
  checker_ = new HealthChecker(this);
  checker_->setObjectName(QStringLiteral("HealthChecker"));
  connect(checker_, &HealthChecker::Finished, this, &FrmConfig::HealthChecked);
  delegate_ = new TitleListDelegate(doc_, LstTitle);
  filter_->SetProblemTest([this](int slot) {
    return health_ && !health_->ProblemsOf(slot, doc_).empty();
  });
  LstTitle->setItemDelegate(delegate_);
  // An entry's problems, as its tooltip lists them, also reach a screen
  // reader.
  model_->SetProblems([this](int row) { return delegate_->ProblemsText(row); });

  // One check after a command, however many steps it took.
  healthTimer_ = new QTimer(this);
  healthTimer_->setSingleShot(true);
  healthTimer_->setInterval(0);
  // The window is drawn before its folders are looked at: a check asked for
  // earlier (the start-up load) waits for the window's first paint.
  connect(healthTimer_, &QTimer::timeout, this, [this] {
    if (!painted_) {
      checkAfterPaint_ = true;
      return;
    }
    checker_->Start(doc_);
  });
  // Every change of the table reaches the list's model; a check running
  // then describes an older table.
  const auto changed = [this] {
    checker_->Supersede();
    healthTimer_->start();
  };
  connect(model_, &QAbstractItemModel::modelReset, this, changed);
  connect(model_, &QAbstractItemModel::layoutChanged, this, changed);
  connect(model_, &QAbstractItemModel::dataChanged, this, changed);
  connect(model_, &QAbstractItemModel::rowsInserted, this, changed);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, changed);
  connect(model_, &QAbstractItemModel::rowsMoved, this, changed);
  new ActivationWatcher(this, [this] { healthTimer_->start(); });
}

void FrmConfig::paintEvent(QPaintEvent* event) {
  QMainWindow::paintEvent(event);
  if (painted_) return;
  painted_ = true;
  // Once this paint, and the controls' after it, are done.
  if (checkAfterPaint_) healthTimer_->start();
}

void FrmConfig::HealthChecked(std::shared_ptr<const HealthResult> result) {
  health_ = std::move(result);
  delegate_->SetHealth(health_);
  if (filter_->FollowsProblems()) {
    const std::vector<int> selected = SelectedSlots();
    filter_->ProblemsChanged();
    KeepCurrentShown(selected, doc_.CurrentArea);
  }
  LstTitle->viewport()->update();
  UpdateReport();
}

void FrmConfig::UpdateReport() {
  if (!report_ || !health_) return;
  std::vector<FrmCheckAreas::Row> rows;
  for (int i = 0; i < doc_.AreaCount(); ++i) {
    for (const AreaProblem& p : health_->ProblemsOf(i, doc_)) {
      rows.push_back({p.layer, FromFileBytes(doc_.Areas[i].Title),
                      QString::fromLatin1(HealthCodeWords(p.code)),
                      QString::fromStdString(p.detail), IsActive(doc_.Areas[i]),
                      ReportsProblem(p, false, false)});
    }
  }
  report_->SetRows(std::move(rows));
}

void FrmConfig::MnuCheckAreas_Click() {
  if (!report_) {
    report_ = new FrmCheckAreas(this);
    connect(report_, &FrmCheckAreas::AreaChosen, this,
            &FrmConfig::ReportAreaChosen);
    connect(report_, &FrmCheckAreas::DeactivateRequested, this,
            &FrmConfig::ReportDeactivate);
    connect(report_, &FrmCheckAreas::SelectInListRequested, this,
            &FrmConfig::ReportSelectInList);
  }
  UpdateReport();
  if (!report_->isVisible()) PlaceBeside(*report_, *this);
  report_->show();
  report_->raise();
  report_->activateWindow();
  // A fresh look at the folders, whatever the last check saw.
  healthTimer_->start();
}

void FrmConfig::ReportAreaChosen(int layer) {
  // Not while Add waits for the folder picker, and not for an entry that
  // has changed since the check.
  const int row = layer - 1;
  if (!isEnabled() || !health_ || health_->ProblemsOf(row, doc_).empty())
    return;
  SelectListEntry(row);
}

namespace {

// The layers still name the areas of the report: those whose problems the
// table has not changed since the check.
std::vector<int> ReportedSlots(const std::vector<int>& layers,
                               const HealthResult* health,
                               const SceneryDocument& doc) {
  std::vector<int> chosen;
  for (const int layer : layers)
    if (health && !health->ProblemsOf(layer - 1, doc).empty())
      chosen.push_back(layer - 1);
  return chosen;
}

}  // namespace

void FrmConfig::ReportDeactivate(const std::vector<int>& layers) {
  if (!isEnabled() || Command1[8]->isEnabled()) return;
  std::vector<std::pair<int, bool>> changes;
  for (const int slot : ReportedSlots(layers, health_.get(), doc_))
    changes.emplace_back(slot, false);
  SwitchAreas(changes, QStringLiteral("Deactivate"));
  UpdateReport();
}

void FrmConfig::ReportSelectInList(const std::vector<int>& layers) {
  if (!isEnabled()) return;
  const std::vector<int> chosen = ReportedSlots(layers, health_.get(), doc_);
  if (chosen.empty()) return;
  FilterBox->clear();
  FilterKind->setCurrentIndex(0);
  SelectSlots(chosen, chosen.front());
  activateWindow();
}

void FrmConfig::MnuScenerySets_Click() {
  if (!sets_) {
    sets_ = new FrmScenerySets(
        doc_, dialogs_,
        [this](const std::vector<std::pair<int, bool>>& changes,
               const QString& historyText) {
          // An area being edited would take its old flag back at O K.
          if (Command1[8]->isEnabled()) {
            dialogs_.Message(this,
                             QStringLiteral("Please press O K or Cancel for "
                                            "the area being edited first."),
                             Dialogs::Buttons::Ok, QString());
            return 0;
          }
          return SwitchAreas(changes, historyText);
        },
        [this](const QString& message) { ShowStatusMessage(message); }, this);
  }
  if (!sets_->isVisible()) PlaceBeside(*sets_, *this);
  sets_->show();
  sets_->raise();
  sets_->activateWindow();
}

}  // namespace sceneshifter
