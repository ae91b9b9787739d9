// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dialogs.h"
#include "scenery_document.h"
#include "scenery_sets_file.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace sceneshifter {

// Tools > Scenery Sets: the sets kept beside the open scenery file, to save
// the areas' Active flags under a name and to come back to them. The sets
// file is read afresh for every command, so that the command line and this
// window may both change it.
class FrmScenerySets : public QWidget {
  Q_OBJECT
 public:
  // Switches areas (slot, new Active flag) as one step of the history named
  // `historyText`; returns how many areas changed.
  using ApplyChanges =
      std::function<int(const std::vector<std::pair<int, bool>>& changes,
                        const QString& historyText)>;
  // Shows what a command did where the main window tells such things.
  using ShowStatus = std::function<void(const QString& message)>;

  // The sets are those of `doc`'s ConfigFile, whatever file it holds when
  // a command runs.
  FrmScenerySets(const SceneryDocument& doc, Dialogs& dialogs,
                 ApplyChanges apply, ShowStatus status,
                 QWidget* parent = nullptr);

  // Lists the sets of the scenery file as the file holds them now; tells
  // the user when it cannot be read.
  void Reload();

  QListWidget* LstSets = nullptr;
  QLabel* LblSets = nullptr;
  QPushButton* CmdSaveAs = nullptr;
  QPushButton* CmdApply = nullptr;
  QPushButton* CmdRename = nullptr;
  QPushButton* CmdDelete = nullptr;
  QPushButton* CmdClose = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  std::string SetsPath() const;
  // Reads the sets file for a command; false, the user told why, when it
  // cannot be read or the list shows another scenery file's sets (it is
  // then listed afresh).
  bool ReadForCommand(SetsFile& file);
  // Writes `file` and lists it, `select` current; false, the user told
  // why, when it could not be written.
  bool WriteForCommand(SetsFile& file, const std::string& select);
  // A new name typed by the user, trimmed; empty when cancelled or refused
  // (the user told why). `except` is the set being renamed, or -1.
  std::string AskName(const QString& prompt, const QString& title,
                      const SetsFile& file, int except);
  // The name of the current entry; empty when there is none.
  std::string CurrentName() const;
  void ShowSets(const SetsFile& file, const std::string& select);
  void UpdateButtons();
  void Tell(const QString& prompt, const QString& detail = QString());

  void SaveCurrentAs();
  void Apply();
  void Rename();
  void Delete();

  const SceneryDocument& doc_;
  Dialogs& dialogs_;
  ApplyChanges apply_;
  ShowStatus status_;
  std::string listedFile_;  // the scenery file whose sets are listed
  bool readable_ = false;   // its sets file could be read
};

}  // namespace sceneshifter
