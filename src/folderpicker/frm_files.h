// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QHash>
#include <QListWidget>
#include <array>

#include "dialogs.h"
#include "scenery_document.h"

class QComboBox;
class QPushButton;

namespace sceneshifter {

// A folder list: the folders from the root down to the open folder, then
// the open folder's subfolders. A double-click or Enter opens a folder.
class FolderList : public QListWidget {
  Q_OBJECT
 public:
  explicit FolderList(QWidget* parent = nullptr);
  // The open folder, in the host's form.
  QString Path() const { return path_; }
  // False, and nothing changes, when `path` is no folder that can be read.
  bool SetPath(const QString& path);
  // Highlights the entry of `path` without opening it; false when the list
  // has none.
  bool Highlight(const QString& path);
  // The open folder's subfolders, as full paths, in list order.
  QStringList Subfolders() const { return subfolders_; }

 signals:
  void pathChanged(const QString& path);
  // A folder the user tried to open could not be read; the list was read
  // again.
  void openFailed(const QString& path);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void OpenItem(QListWidgetItem* item);
  QString path_;
  QStringList subfolders_;
};

// The window in which the folder of a new area is chosen. It leaves the
// folder, relative to FSFolder, in SceneryPath ("\" between folder names),
// and ends by enabling the main window, setting `pickerDone` and emitting
// pickerFinished(), whichever way it is closed.
class frmFiles : public QDialog {
  Q_OBJECT
 public:
  frmFiles(SceneryDocument& doc, Dialogs& dialogs, QWidget* mainWindow,
           bool& pickerDone, QWidget* parent = nullptr);

  void cmdFile_Click(int Index);
  void Drive1_Change();

  FolderList* Dir1 = nullptr;
  QComboBox* Drive1 = nullptr;
  std::array<QPushButton*, 2> cmdFile{};

  // The roots that Drive1 offers: drive letters on Windows, the mounted
  // file-system roots elsewhere.
  static QStringList DriveRoots();
  // The root of `roots` that holds `path` (the longest that fits), or -1.
  static int DriveOf(const QStringList& roots, const QString& path);
  // `path` relative to `base` with "\" between folder names; empty when it
  // is `base` itself or lies outside it. Letter case is ignored.
  static QString RelativeSceneryPath(const QString& base, const QString& path);

 signals:
  void pickerFinished();

 public slots:
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Load();
  void Finish();

  SceneryDocument& doc_;
  Dialogs& dialogs_;
  QWidget* mainWindow_;
  bool& pickerDone_;
  bool finished_ = false;
  int driveIndex_ = -1;
  QHash<QString, QString> driveFolders_;  // the folder last open per drive
};

}  // namespace sceneshifter
