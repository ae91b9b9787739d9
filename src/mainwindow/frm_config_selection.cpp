// SPDX-License-Identifier: MIT
// Work on several areas at once: the list's selection, the commands on a
// selection, switching areas on and off, and the filter above the list.
#include <QAction>
#include <QComboBox>
#include <QItemSelection>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QShortcut>
#include <QUndoStack>
#include <algorithm>
#include <climits>
#include <functional>

#include "area_filter_model.h"
#include "codepage.h"
#include "frm_config.h"
#include "history_step.h"
#include "title_list_model.h"
#include "window_units.h"

namespace sceneshifter {
namespace {

using BlockStep = HistoryStep<BlockChange, BlockRevert>;

}  // namespace

std::vector<int> FrmConfig::SelectedSlots() const {
  std::vector<int> chosen;
  const QModelIndexList rows = LstTitle->selectionModel()->selectedRows();
  chosen.reserve(rows.size());
  for (const QModelIndex& index : rows)
    chosen.push_back(filter_->mapToSource(index).row());
  std::sort(chosen.begin(), chosen.end());
  // Nothing selected: the commands act on the entry shown, as with one.
  if (chosen.empty() && HasCurrentArea()) chosen.push_back(doc_.CurrentArea);
  return chosen;
}

void FrmConfig::SelectSlots(const std::vector<int>& chosen, int current) {
  QItemSelection selection;
  int runStart = -1, runEnd = -1;
  auto flush = [&] {
    if (runStart >= 0)
      selection.select(filter_->index(runStart, 0), filter_->index(runEnd, 0));
  };
  for (const int s : chosen) {
    const int row = filter_->mapFromSource(model_->index(s)).row();
    if (row < 0) continue;
    if (row == runEnd + 1 && runStart >= 0) {
      runEnd = row;
    } else {
      flush();
      runStart = runEnd = row;
    }
  }
  flush();
  QModelIndex at = filter_->mapFromSource(model_->index(current));
  if (!at.isValid() && !selection.isEmpty()) at = selection.first().topLeft();
  if (!at.isValid()) {
    SelectListEntry(current);  // hidden or gone: as one entry would
    return;
  }
  QItemSelectionModel* model = LstTitle->selectionModel();
  const bool moved = LstTitle->currentIndex() != at;
  model->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
  model->select(selection, QItemSelectionModel::ClearAndSelect);
  LstTitle->scrollTo(at);
  if (!moved) LstTitle_Click();  // the entry may hold another area now
}

void FrmConfig::ShowBlockChange(const BlockChange& change) {
  // Where the area shown went, if it moved with the block.
  int current = doc_.CurrentArea;
  if (change.kind == BlockChange::Kind::Placed) {
    const auto at =
        std::find(change.from.begin(), change.from.end(), doc_.CurrentArea);
    current = at != change.from.end() ? change.to[at - change.from.begin()]
              : change.select.empty() ? -1
                                      : change.select.front();
  } else if (change.kind != BlockChange::Kind::Rewritten) {
    current = change.select.empty() ? -1 : change.select.front();
  }
  filter_->Follow(change);
  model_->Show(change);
  if (change.Changed() || !change.select.empty())
    SelectSlots(change.select, current);
  UpdateAreaCommands();
}

void FrmConfig::RecordBlock(BlockChange change, const QString& text) {
  ShowBlockChange(change);
  if (!change.Changed()) return;
  history_->push(new BlockStep(
      doc_, [this](const BlockChange& c) { ShowBlockChange(c); },
      std::move(change), text));
}

int FrmConfig::SwitchAreas(const std::vector<std::pair<int, bool>>& changes,
                           const QString& historyText) {
  std::vector<int> chosen;
  std::vector<std::string> texts;
  for (const auto& [slot, active] : changes) {
    if (slot < 0 || slot > doc_.LastArea ||
        IsActive(doc_.Areas[slot]) == active ||
        std::find(chosen.begin(), chosen.end(), slot) != chosen.end())
      continue;
    chosen.push_back(slot);
    texts.push_back(active ? "True" : "False");
  }
  if (chosen.empty()) return 0;
  BlockChange change = SetActiveTexts(doc_, chosen, texts);
  // The selection and the entry shown stay as they are.
  change.select = SelectedSlots();
  RecordBlock(std::move(change), historyText);
  return static_cast<int>(chosen.size());
}

void FrmConfig::SwitchSelected(SwitchTo to) {
  if (Command1[8]->isEnabled() || !AreaCommandsAllowed()) return;
  const std::vector<int> chosen = SelectedSlots();
  if (chosen.empty()) return;
  bool active = to == SwitchTo::kOn;
  if (to == SwitchTo::kEither)
    active = std::any_of(chosen.begin(), chosen.end(),
                         [this](int s) { return !IsActive(doc_.Areas[s]); });
  RecordBlock(
      SetAreasActive(doc_, chosen, active),
      active ? QStringLiteral("Activate") : QStringLiteral("Deactivate"));
}

void FrmConfig::MnuActivate_Click() { SwitchSelected(SwitchTo::kOn); }

void FrmConfig::MnuDeactivate_Click() { SwitchSelected(SwitchTo::kOff); }

void FrmConfig::MoveBlockTo(const std::vector<int>& chosen, int target,
                            bool tell) {
  if (!MnuMoveTo->isEnabled()) return;
  int refused = -1;
  const MoveRefusal refusal = CheckBlockMove(doc_, chosen, target, &refused);
  if (refusal != MoveRefusal::None) {
    if (tell) {
      const int first = chosen.empty() ? 0 : chosen.front();
      const int to =
          target + static_cast<int>(
                       std::lower_bound(chosen.begin(), chosen.end(), refused) -
                       chosen.begin());
      dialogs_.Message(
          this,
          QString::fromLatin1(
              MoveRefusalText(refusal, doc_, refused < 0 ? first : refused, to)
                  .c_str()),
          Dialogs::Buttons::Ok, QString());
    }
    return;
  }
  RecordBlock(MoveAreas(doc_, chosen, target), QStringLiteral("Move"));
}

// ---- the filter ----

void FrmConfig::BuildFilter(QWidget* client) {
  FilterBox = new QLineEdit(client);
  FilterBox->setObjectName(QStringLiteral("FilterBox"));
  FilterBox->setPlaceholderText(QStringLiteral("Filter (Ctrl+L)"));
  FilterBox->setAccessibleName(QStringLiteral("Filter"));
  FilterBox->setGeometry(Twips(120, 360, 1605, kFilterRowHeight - 30));
  FilterBox->installEventFilter(this);
  FilterBox->setToolTip(QStringLiteral(
      "Show only the areas whose title or folder contains this text "
      "(Esc empties it)."));
  FilterKind = new QComboBox(client);
  FilterKind->setObjectName(QStringLiteral("FilterKind"));
  FilterKind->addItems({QStringLiteral("All areas"), QStringLiteral("Active"),
                        QStringLiteral("Inactive"),
                        QStringLiteral("With problems")});
  FilterKind->setAccessibleName(QStringLiteral("Show"));
  FilterKind->setGeometry(Twips(1755, 360, 1380, kFilterRowHeight - 30));
  FilterKind->installEventFilter(this);
  FilterKind->setToolTip(QStringLiteral(
      "Show all areas, the active or inactive ones, or those with problems."));
  connect(FilterBox, &QLineEdit::textChanged, this, &FrmConfig::FilterChanged);
  connect(FilterKind, &QComboBox::currentIndexChanged, this,
          &FrmConfig::FilterChanged);
  auto* focus = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
  connect(focus, &QShortcut::activated, this, [this] {
    FilterBox->setFocus(Qt::ShortcutFocusReason);
    FilterBox->selectAll();
  });
}

void FrmConfig::FilterChanged() {
  // A text the code page cannot hold occurs in no area; a line break never
  // occurs in a title or a path.
  static const std::string kNowhere(1, '\n');
  std::string text;
  if (!ToFileBytes(FilterBox->text(), text)) text = kNowhere;
  const auto kind = static_cast<AreaFilterModel::Kind>(
      std::max(0, FilterKind->currentIndex()));
  const int current = doc_.CurrentArea;
  const std::vector<int> selected = SelectedSlots();
  filter_->SetFilter(std::move(text), kind);
  KeepCurrentShown(selected, current);
}

void FrmConfig::KeepCurrentShown(const std::vector<int>& selected,
                                 int current) {
  if (filter_->Shows(current)) {
    SelectSlots(selected, current);
  } else if (filter_->rowCount() > 0) {
    SelectListEntry(filter_->mapToSource(filter_->index(0, 0)).row());
  } else {
    SelectListEntry(-1);
  }
  UpdateAreaCommands();
}

bool FrmConfig::AreaCommandsAllowed() const {
  return !filter_ || !filter_->Filtering() || filter_->rowCount() > 0;
}

void FrmConfig::UpdateAreaCommands() {
  if (!MnuActivate) return;  // the menus are not built yet
  const bool viewing = !Command1[8]->isEnabled();
  const bool areas = AreaCommandsAllowed();
  for (const int i : {2, 3, 4, 5}) Command1[i]->setEnabled(viewing && areas);
  MnuMoveTo->setEnabled(viewing && areas);
  MnuActivate->setEnabled(viewing && areas);
  MnuDeactivate->setEnabled(viewing && areas);
}

void FrmConfig::UpdateSelectionStatus() {
  const qsizetype count = LstTitle->selectionModel()->selectedRows().size();
  const QString text =
      count > 1 ? QStringLiteral("%1 areas selected").arg(count) : QString();
  // Another command's message stays until the selection says something.
  if (!text.isEmpty() || selectionShown_) ShowStatusMessage(text);
  selectionShown_ = !text.isEmpty();
}

}  // namespace sceneshifter
