// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs.h"
#include "file_ops.h"
#include "scenery_document.h"
#include "scenery_scan.h"
#include "scenery_writer.h"
#include "settings_store.h"
#include "simulator_locate.h"
#include "table_operations.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QRadioButton;
class QUndoStack;
class QTimer;

namespace sceneshifter {

class AnchorLayout;
class AreaFilterModel;
class AreaPanel;
struct BlockChange;
class FrmCheckAreas;
class FrmScenerySets;
class FrmVersions;
class HealthChecker;
struct HealthResult;
class SceneryFileSession;
class TitleListDelegate;
class TitleListModel;

// The height, in twips, of the filter row above the title list.
inline constexpr int kFilterRowHeight = 330;

// The editor's main window: the title list, the area panel, the command
// buttons and the File and Tools menus, over the one shared document.
class FrmConfig : public QMainWindow {
  Q_OBJECT
 public:
  FrmConfig(SceneryDocument& doc, Dialogs& dialogs, QWidget* parent = nullptr);
  ~FrmConfig() override;

  // The start-up sequence. `fileArgument`, when not empty, names the scenery
  // file to open in place of the remembered one.
  void Startup(const QString& fileArgument = QString());

  // False when the file could not be read; the user has been told why.
  bool LoadFile();
  // False when the file was not written: it could not be (the user has been
  // told why), or another program had changed it and the user chose not to
  // overwrite that change.
  bool FileSave();
  void FillTextBoxs(std::int16_t ListNumber);
  void UpdateMenu(const QString& MnuPath, std::int16_t del);
  void ReadSettings();
  void WriteSettings();
  void SortAreas();
  void StringSearch(const std::string& IPString);

  void Command1_Click(int Index);
  void MnuFileArray_Click(int Index);
  void MnuLoad_Click();
  void MnuSave_Click();
  void MnuSaveAs_Click();
  void MnuExit_Click();
  void MnuSearch_Click();
  void MnuSearchNext_Click();
  void MnuUndo_Click();
  void MnuRedo_Click();
  void MnuMoveTo_Click();
  void MnuCheckAreas_Click();
  void MnuScenerySets_Click();
  void MnuAddNewFolders_Click();
  void MnuVersions_Click();
  void MnuAbout_Click();
  void MnuActivate_Click();
  void MnuDeactivate_Click();

  // Switches the areas at the slots given to the state given, as one step
  // of the history named `historyText`; areas already so are left alone.
  // Returns how many areas changed.
  int SwitchAreas(const std::vector<std::pair<int, bool>>& changes,
                  const QString& historyText);

  // How the start-up finds the simulator's scenery file when the remembered
  // one is gone; the host's registry or Wine prefixes unless replaced.
  void SetSimulatorLocator(std::function<std::vector<SimulatorFile>()> locate) {
    locate_ = std::move(locate);
  }

  // Shows `text` in the status bar's second field, right of the file's
  // path; an empty text clears it.
  void ShowStatusMessage(const QString& text);

  // Selects list entry `k` from code, as a user's click would; -1 clears the
  // selection.
  void SelectListEntry(int k);

  // True once the program has been told to end.
  bool Ended() const { return ended_; }
  int RecentCount() const { return recent_.RecentCount(); }
  // The full path that recent-file entry `index` (from 1) opens.
  QString RecentFile(int index) const {
    return recent_.Files().value(index - 1);
  }

  // The panel, and the file on disk behind the document.
  AreaPanel* Panel() const { return panel_; }
  SceneryFileSession* Session() const { return session_; }

  // The controls, by their names; those of the area panel are the panel's.
  std::array<QLineEdit*, 15> Text1{};
  std::array<QLabel*, 17> Label1{};
  std::array<QPushButton*, 10> Command1{};  // members 0 and 7 do not exist
  std::array<QRadioButton*, 2> Option1{};
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
  QListView* LstTitle = nullptr;
  QLabel* StatusBar = nullptr;
  QLabel* StatusMessage = nullptr;
  QLineEdit* FilterBox = nullptr;
  QComboBox* FilterKind = nullptr;
  QMenu* MnuFile = nullptr;
  QMenu* MnuTools = nullptr;
  QAction* MnuLoad = nullptr;
  QAction* MnuSave = nullptr;
  QAction* MnuSaveAs = nullptr;
  QAction* MnuExit = nullptr;
  QAction* MnuSearch = nullptr;
  QAction* MnuSearchNext = nullptr;
  QAction* MnuUndo = nullptr;
  QAction* MnuRedo = nullptr;
  QAction* MnuMoveTo = nullptr;
  QAction* MnuCheckAreas = nullptr;
  QAction* MnuScenerySets = nullptr;
  QAction* MnuAddNewFolders = nullptr;
  QAction* MnuActivate = nullptr;
  QAction* MnuDeactivate = nullptr;
  QAction* MnuVersions = nullptr;
  QMenu* MnuHelp = nullptr;
  QAction* MnuAbout = nullptr;
  std::vector<QAction*> MnuFileArray;  // element 0 is the separator

  // Window state shared with the folder picker and the search.
  bool AddingArea = false;
  bool PickerDone = false;
  std::string SearchText;
  std::int16_t SearchIndex = 0;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void LstTitle_Click();
  // Viewing, or an area being edited or added: what the panel, the
  // buttons and the list allow.
  void SetEditable(bool editing, bool adding = false);
  // Asks whether to save unsaved changes; false when the user's work would
  // be lost (a save that did not happen) or, where `offerCancel` adds a
  // Cancel button, when the user cancelled.
  bool MaybeSave(bool offerCancel = false);
  bool SaveFile(SaveMode mode);
  // The window's side of a file read, and of one read again.
  void FileLoaded();
  void FileReloaded(int select);
  void ShowFileMissing(bool missing);
  void End();
  // Puts the window where the last run left it, when that is still on a
  // screen; else centres it.
  void PlaceWindow();
  // Keeps the window's place for the next run.
  void RememberPosition();
  bool HasCurrentArea() const;
  // False, having said which, when a typed field holds a control character.
  bool TypedTextsFit(const AreaEntry& stored);

  void CmdRaise();
  void CmdLower();
  void CmdDelete();
  void CmdEdit();
  void CmdAdd();
  void CmdOk();
  void CmdCancel();

  // Shows `change`, just made to the table, in the list and selects the
  // entry it names.
  void ShowChange(const TableChange& change);
  // Shows a command's change; a change of the table also becomes one step
  // of the history, named `text`.
  void Record(TableChange change, const QString& text);
  // After a load: the list reads the new table, and the history is gone.
  void TableReplaced();
  // Moves the area at `from` to slot `to` as one step; a refusal is told
  // when `tell` is set.
  void MoveTo(int from, int to, bool tell);
  // Appends an area for each of `folders` after the last one, all as one
  // step of the history; refused, with a message, when they do not fit.
  void AddFolders(const std::vector<NewFolder>& folders);
  void UpdateHistoryItems();
  // Several areas at once (frm_config_selection.cpp). The slots of the
  // selected entries, ascending; the entry shown when none is selected.
  std::vector<int> SelectedSlots() const;
  // Selects the entries of `chosen` that are shown, `current` the entry
  // shown in the panel.
  void SelectSlots(const std::vector<int>& chosen, int current);
  void ShowBlockChange(const BlockChange& change);
  void RecordBlock(BlockChange change, const QString& text);
  enum class SwitchTo { kOn, kOff, kEither };
  void SwitchSelected(SwitchTo to);
  // Moves the areas at `chosen` as a block, the first to slot `target`, as
  // one step; a refusal is told when `tell` is set.
  void MoveBlockTo(const std::vector<int>& chosen, int target, bool tell);
  void BuildFilter(QWidget* client);
  void FilterChanged();
  // After the shown entries changed: the entry shown stays when it is
  // still in the list, else the first one shown becomes current.
  void KeepCurrentShown(const std::vector<int>& selected, int current);
  // False while a filter shows no area: the commands on areas wait.
  bool AreaCommandsAllowed() const;
  void UpdateAreaCommands();
  void UpdateSelectionStatus();
  // Check Areas' buttons.
  void ReportDeactivate(const std::vector<int>& layers);
  void ReportSelectInList(const std::vector<int>& layers);

  // The area health check (frm_config_health.cpp).
  void BuildHealthCheck();
  void HealthChecked(std::shared_ptr<const HealthResult> result);
  void UpdateReport();
  void ReportAreaChosen(int layer);

  SceneryDocument& doc_;
  Dialogs& dialogs_;
  TitleListModel* model_ = nullptr;
  AnchorLayout* room_ = nullptr;  // the controls' places as the window grows
  AreaFilterModel* filter_ = nullptr;
  bool selectionShown_ = false;  // the status says how many are selected
  QUndoStack* history_ = nullptr;
  RecentFileList recent_;
  AreaPanel* panel_ = nullptr;
  SceneryFileSession* session_ = nullptr;
  bool ended_ = false;
  bool searchUnmatchable_ = false;
  HealthChecker* checker_ = nullptr;
  TitleListDelegate* delegate_ = nullptr;
  QTimer* healthTimer_ = nullptr;
  bool painted_ = false;          // the window has been drawn once
  bool checkAfterPaint_ = false;  // a check waits for that
  FrmCheckAreas* report_ = nullptr;
  FrmScenerySets* sets_ = nullptr;
  // Tools > Earlier Versions (frm_config_versions.cpp).
  void RestoreVersion(const std::string& text);
  FrmVersions* versions_ = nullptr;
  std::function<std::vector<SimulatorFile>()> locate_ = [] {
    return LocateSimulatorFiles(HostLocateSources());
  };
  // What the status bar says about where the start-up found the file.
  QString foundMessage_;
  std::shared_ptr<const HealthResult> health_;
};

}  // namespace sceneshifter
