// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <atomic>
#include <memory>
#include <vector>

#include "dialogs.h"
#include "scenery_document.h"
#include "scenery_scan.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace sceneshifter {

// Tools > Add New Folders: the add-on folders on disk that no area leads to,
// found away from the window's thread, each with a check box (all ticked).
// "&Add" accepts the dialog when the table can hold the ticked ones; the
// caller adds them.
class FrmAddNewFolders : public QDialog {
  Q_OBJECT
 public:
  FrmAddNewFolders(const SceneryDocument& doc, Dialogs& dialogs,
                   QWidget* parent = nullptr);
  ~FrmAddNewFolders() override;

  // Looks through `folder` (a host path; empty for the scenery file's
  // folder) in place of what is listed.
  void Scan(const QString& folder = QString());
  bool Scanning() const { return scan_ != nullptr; }
  // The ticked folders, in list order.
  std::vector<NewFolder> Ticked() const;

  void CmdFolder_Click();
  void CmdAdd_Click();

  QLabel* LblFolder = nullptr;
  QProgressBar* Progress = nullptr;
  QTreeWidget* LstFolders = nullptr;
  QLabel* LblNotes = nullptr;
  QPushButton* CmdFolder = nullptr;
  QPushButton* CmdAdd = nullptr;
  QPushButton* CmdCancel = nullptr;

 signals:
  // A scan has ended and its finds are listed.
  void scanned();

 private:
  // What a scan shares with its thread, kept alive by both.
  struct Run {
    std::atomic<bool> cancel{false};
    std::atomic<int> progress{0};
  };
  void Show(const FolderScan& scan);
  void UpdateAdd();
  QString Shown(const QString& folder) const;

  const SceneryDocument& doc_;
  Dialogs& dialogs_;
  std::shared_ptr<Run> scan_;
  QString folder_;  // what the current scan looks through; empty: the file's
  std::vector<NewFolder> found_;
  QTimer* ticker_ = nullptr;
};

}  // namespace sceneshifter
