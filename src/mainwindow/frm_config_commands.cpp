// SPDX-License-Identifier: MIT
#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>

#include "area_filter_model.h"
#include "area_panel.h"
#include "centre_form.h"
#include "codepage.h"
#include "frm_add_new_folders.h"
#include "frm_config.h"
#include "frm_files.h"
#include "history_step.h"
#include "scenery_writer.h"
#include "text_bytes.h"
#include "title_list_model.h"

namespace sceneshifter {
namespace {

using TableStep = HistoryStep<TableChange, RevertChange>;

}  // namespace

void FrmConfig::Command1_Click(int Index) {
  switch (Index) {
    case 1:
      MnuExit_Click();
      return;  // the program ends, or stays after a failed save
    case 2:
      CmdRaise();
      break;
    case 3:
      CmdLower();
      break;
    case 4:
      CmdDelete();
      break;
    case 5:
      CmdEdit();
      break;
    case 6:
      CmdAdd();
      if (!AddingArea) return;  // handed over to Cancel, which closed
      break;
    case 8:
      CmdOk();
      break;
    case 9:
      CmdCancel();
      break;
    default:
      return;
  }
}

void FrmConfig::SetEditable(bool editing, bool adding) {
  panel_->SetState(!editing ? AreaPanel::State::Viewing
                   : adding ? AreaPanel::State::Adding
                            : AreaPanel::State::Editing);
  for (int i = 1; i <= 6; ++i) Command1[i]->setEnabled(!editing);
  Command1[8]->setEnabled(editing);
  // Areas move, and steps are taken back, only while viewing.
  LstTitle->setDragEnabled(!editing);
  UpdateHistoryItems();
  UpdateAreaCommands();
}

void FrmConfig::UpdateHistoryItems() {
  const bool viewing = !Command1[8]->isEnabled();
  MnuUndo->setEnabled(viewing && history_->canUndo());
  MnuRedo->setEnabled(viewing && history_->canRedo());
  MnuMoveTo->setEnabled(viewing && AreaCommandsAllowed());
  MnuAddNewFolders->setEnabled(viewing);
  MnuVersions->setEnabled(viewing);
}

void FrmConfig::ShowChange(const TableChange& change) {
  filter_->Follow(change);
  model_->Show(change);
  if (change.Changed() || change.select >= 0) SelectListEntry(change.select);
}

void FrmConfig::Record(TableChange change, const QString& text) {
  ShowChange(change);
  // A command that changed nothing leaves no step.
  if (!change.Changed()) return;
  history_->push(new TableStep(
      doc_, [this](const TableChange& c) { ShowChange(c); }, std::move(change),
      text));
}

void FrmConfig::TableReplaced() {
  filter_->Refilter();
  model_->Reset();
  history_->clear();
}

void FrmConfig::MnuUndo_Click() {
  if (MnuUndo->isEnabled()) history_->undo();
}

void FrmConfig::MnuRedo_Click() {
  if (MnuRedo->isEnabled()) history_->redo();
}

void FrmConfig::MoveTo(int from, int to, bool tell) {
  if (!MnuMoveTo->isEnabled()) return;
  const MoveRefusal refusal = CheckMove(doc_, from, to);
  if (refusal != MoveRefusal::None) {
    if (tell)
      dialogs_.Message(
          this,
          QString::fromLatin1(MoveRefusalText(refusal, doc_, from, to).c_str()),
          Dialogs::Buttons::Ok, QString());
    return;
  }
  Record(MoveArea(doc_, from, to), QStringLiteral("Move"));
}

void FrmConfig::MnuAddNewFolders_Click() {
  if (!MnuAddNewFolders->isEnabled()) return;
  FrmAddNewFolders dialog(doc_, dialogs_, this);
  dialog.Scan();
  if (dialog.exec() == QDialog::Accepted) AddFolders(dialog.Ticked());
}

void FrmConfig::AddFolders(const std::vector<NewFolder>& folders) {
  if (folders.empty()) return;
  if (static_cast<std::size_t>(doc_.AreaCount()) + folders.size() >
      static_cast<std::size_t>(kAreaSlots)) {
    dialogs_.Message(
        this, QString::fromStdString(TableFullText(doc_, folders.size())),
        Dialogs::Buttons::Ok, QString());
    return;
  }
  // One area at a time, so that the list follows each insertion.
  history_->beginMacro(QStringLiteral("Add New Folders"));
  for (const NewFolder& f : folders)
    Record(
        AppendArea(doc_, FormatAreaNumber(doc_.LastArea + 2), NewAreaValues(f)),
        QStringLiteral("Add"));
  history_->endMacro();
  ShowStatusMessage(
      QStringLiteral("Added %1 areas").arg(static_cast<int>(folders.size())));
}

void FrmConfig::MnuMoveTo_Click() {
  if (!MnuMoveTo->isEnabled() || !HasCurrentArea()) return;
  const int from = doc_.CurrentArea;
  const std::vector<int> selected = SelectedSlots();
  const bool block = selected.size() > 1;
  const QString prompt =
      block ? QStringLiteral(
                  "Type in the layer to move the %1 selected areas "
                  "to (the first of them goes there, the others "
                  "follow it in their order)")
                  .arg(selected.size())
            : QStringLiteral(
                  "Type in the layer to move the area at layer %1 "
                  "to")
                  .arg(from + 1);
  const QString typed =
      dialogs_.InputBox(this, prompt, QStringLiteral("Move To")).trimmed();
  if (typed.isEmpty()) return;
  bool ok = false;
  const int layer = typed.toInt(&ok);
  if (!ok || layer == INT_MIN) {
    dialogs_.Message(this,
                     QStringLiteral("Please type a layer number from 1 to %1.")
                         .arg(doc_.LastArea + 1),
                     Dialogs::Buttons::Ok, QString());
    return;
  }
  if (block)
    MoveBlockTo(selected, layer - 1, true);
  else
    MoveTo(from, layer - 1, true);
}

// With several entries selected, Raise, Lower and Delete act on them all.
void FrmConfig::CmdRaise() {
  if (const auto selected = SelectedSlots(); selected.size() > 1)
    RecordBlock(RaiseAreas(doc_, selected), QStringLiteral("Raise"));
  else
    Record(RaiseArea(doc_, doc_.CurrentArea), QStringLiteral("Raise"));
}

void FrmConfig::CmdLower() {
  if (const auto selected = SelectedSlots(); selected.size() > 1)
    RecordBlock(LowerAreas(doc_, selected), QStringLiteral("Lower"));
  else
    Record(LowerArea(doc_, doc_.CurrentArea), QStringLiteral("Lower"));
}

void FrmConfig::CmdDelete() {
  if (const auto selected = SelectedSlots(); selected.size() > 1)
    RecordBlock(DeleteAreas(doc_, selected), QStringLiteral("Delete"));
  else
    Record(DeleteArea(doc_, doc_.CurrentArea), QStringLiteral("Delete"));
}

void FrmConfig::CmdEdit() {
  if (!HasCurrentArea()) return;
  // Edit is of the entry shown alone.
  SelectSlots({doc_.CurrentArea}, doc_.CurrentArea);
  SetEditable(true);
  doc_.FileChanged = true;
  // The title is what is typed next; Enter then presses O K with it kept.
  panel_->FocusTitle();
}

void FrmConfig::CmdAdd() {
  PickerDone = false;
  AddingArea = true;
  SetEditable(true, true);
  const int B = doc_.LastArea >= 0 ? doc_.Areas[doc_.LastArea].Layer : 0;

  // The picker is not modal; this window is disabled and waits in an event
  // loop of its own until the picker is done, whichever way it closes.
  QPointer<frmFiles> picker = new frmFiles(doc_, dialogs_, this, PickerDone);
  QEventLoop wait;
  connect(picker, &frmFiles::pickerFinished, &wait, &QEventLoop::quit);
  CentreFormOver(*picker, *this);
  picker->show();
  setEnabled(false);
  if (!PickerDone) wait.exec();
  setEnabled(true);
  activateWindow();  // the keys come back here, not to the closed picker

  panel_->ShowNewArea(B + 1, FromHostPath(doc_.SceneryPath));
  if (Text1[2]->text().isEmpty()) {
    Command1[9]->click();
    return;
  }
  doc_.FileChanged = true;
  panel_->FocusTitle();
}

bool FrmConfig::TypedTextsFit(const AreaEntry& stored) {
  const AreaValues held =
      AddingArea ? AreaValues{} : ValuesOf(doc_.Areas[doc_.CurrentArea]);
  std::string field = ControlCharacterField(ValuesOf(stored), held);
  if (field.empty()) return true;
  if (field == "Folder") field = "Path";  // the panel's caption
  dialogs_.Message(this,
                   QStringLiteral("The %1 holds a line break, a tab or another "
                                  "control character, which a scenery file "
                                  "cannot store. Please change it.")
                       .arg(QString::fromLatin1(field.c_str())),
                   Dialogs::Buttons::Ok, QString());
  return false;
}

void FrmConfig::CmdOk() {
  if (!Command1[8]->isEnabled()) return;
  if (Text1[1]->text().isEmpty()) {
    dialogs_.Message(this, QStringLiteral("PLEASE fill in the Title Text box"),
                     Dialogs::Buttons::Ok, QString());
    return;
  }
  if (const QString field = panel_->UnstorableField(); !field.isEmpty()) {
    dialogs_.Message(
        this,
        QStringLiteral("The %1 holds characters that a scenery file cannot "
                       "store. Please change them.")
            .arg(field),
        Dialogs::Buttons::Ok, QString());
    return;
  }
  if (!AddingArea && !HasCurrentArea()) return;

  // The area as it would be stored must read back from the file the same.
  AreaEntry stored =
      AddingArea ? panel_->NewArea() : doc_.Areas[doc_.CurrentArea];
  panel_->ApplyTo(stored);
  if (!TypedTextsFit(stored)) return;
  std::string field = AreaStorageProblem(stored);
  if (!field.empty()) {
    if (field == "Folder") field = "Path";  // the panel's caption
    dialogs_.Message(this,
                     QStringLiteral("The %1 %2. Please change it.")
                         .arg(QString::fromLatin1(field.c_str()),
                              QString::fromLatin1(kCannotStoreReason)),
                     Dialogs::Buttons::Ok, QString());
    return;
  }
  if (AddingArea && doc_.LastArea >= kAreaSlots - 1) {
    dialogs_.Message(this,
                     QStringLiteral("The scenery table is full: it holds at "
                                    "most 3001 areas. No area was added."),
                     Dialogs::Buttons::Ok, QString());
    CmdCancel();
    return;
  }

  SetEditable(false);
  const AreaValues v = ValuesOf(stored);
  if (AddingArea) {
    AddingArea = false;
    // The number shown decides where the new area goes; a new area carries
    // nothing of an earlier one.
    Record(AppendArea(doc_, stored.Number, v), QStringLiteral("Add"));
  } else {
    Record(StoreArea(doc_, doc_.CurrentArea, v), QStringLiteral("Edit"));
  }
}

void FrmConfig::CmdCancel() {
  SetEditable(false);
  AddingArea = false;
  SortAreas();
  SelectListEntry(doc_.LastArea);
}

// ---- the area search ----

void FrmConfig::MnuSearch_Click() {
  const QString typed = dialogs_.InputBox(
      this,
      QStringLiteral("Type in the word (or portion of word)you wish too find "),
      QStringLiteral("Search anything"));
  // A text the code page cannot hold occurs in no area.
  searchUnmatchable_ = !ToFileBytes(typed, SearchText);
  if (searchUnmatchable_) SearchText.clear();
  SearchIndex = 0;
  StringSearch(SearchText);
}

void FrmConfig::MnuSearchNext_Click() {
  if (SearchIndex < INT16_MAX) ++SearchIndex;
  StringSearch(SearchText);
}

void FrmConfig::StringSearch(const std::string& IPString) {
  if (searchUnmatchable_) return;
  for (int I = SearchIndex; I <= doc_.LastArea; ++I) {
    if (!filter_->Shows(I)) continue;  // only the entries the list shows
    const AreaEntry& a = doc_.Areas[I];
    if (ContainsNoCase(a.Number, IPString) ||
        ContainsNoCase(a.Title, IPString) ||
        ContainsNoCase(a.PathValue, IPString) ||
        ContainsNoCase(std::to_string(a.Layer), IPString)) {
      doc_.CurrentArea = static_cast<std::int16_t>(I);
      SelectListEntry(I);
      FillTextBoxs(doc_.CurrentArea);
      SearchIndex = static_cast<std::int16_t>(I);
      return;
    }
  }
}

}  // namespace sceneshifter
