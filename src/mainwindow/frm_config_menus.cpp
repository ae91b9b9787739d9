// SPDX-License-Identifier: MIT
// The menus, the start-up, the settings and the recent-file entries.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QUndoStack>
#include <algorithm>

#include "code_page.h"
#include "codepage.h"
#include "frm_config.h"
#include "path_helpers.h"
#include "scenery_file_session.h"

namespace sceneshifter {
namespace {

// The folder of `file`, or the nearest folder above it that still exists:
// where a file dialog opens. Empty (the platform's choice) for none.
QString DialogFolder(const std::string& file) {
  std::string folder = FolderOf(file);
  while (!folder.empty() && !QFileInfo(FromHostPath(folder)).isDir())
    folder = FolderOf(folder);
  return FromHostPath(folder);
}

// A path shown as a menu entry: its "&" is not an access key.
QString MenuCaption(const QString& path) {
  QString caption = path;
  return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

void FrmConfig::BuildMenus() {
  MnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  MnuFile->setObjectName(QStringLiteral("MnuFile"));
  auto item = [this](QMenu* menu, const char* name, const char* caption,
                     QKeySequence shortcut, void (FrmConfig::*handler)()) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  MnuLoad = item(MnuFile, "MnuLoad", "&Load", QKeySequence(),
                 &FrmConfig::MnuLoad_Click);
  MnuSave = item(MnuFile, "MnuSave", "&Save",
                 QKeySequence(Qt::CTRL | Qt::Key_S), &FrmConfig::MnuSave_Click);
  MnuSaveAs =
      item(MnuFile, "MnuSaveAs", "Save &As", QKeySequence(Qt::CTRL | Qt::Key_A),
           &FrmConfig::MnuSaveAs_Click);
  MnuExit = item(MnuFile, "MnuExit", "Exit", QKeySequence(Qt::CTRL | Qt::Key_X),
                 &FrmConfig::MnuExit_Click);
  QAction* separator = MnuFile->addSeparator();
  // A plain line: a separator with a caption is drawn as a heading.
  separator->setObjectName(QStringLiteral("MnuFileArray_0"));
  separator->setVisible(false);
  MnuFileArray.push_back(separator);

  MnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
  MnuTools->setObjectName(QStringLiteral("MnuTools"));
  MnuSearch =
      item(MnuTools, "MnuSearch", "&Search", QKeySequence(Qt::CTRL | Qt::Key_F),
           &FrmConfig::MnuSearch_Click);
  MnuSearchNext =
      item(MnuTools, "MnuSearchNext", "Search &Next", QKeySequence(Qt::Key_F3),
           &FrmConfig::MnuSearchNext_Click);
  MnuUndo = item(MnuTools, "MnuUndo", "&Undo",
                 QKeySequence(Qt::CTRL | Qt::Key_Z), &FrmConfig::MnuUndo_Click);
  MnuRedo = item(MnuTools, "MnuRedo", "&Redo",
                 QKeySequence(Qt::CTRL | Qt::Key_Y), &FrmConfig::MnuRedo_Click);
  MnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  MnuMoveTo =
      item(MnuTools, "MnuMoveTo", "&Move To",
           QKeySequence(Qt::CTRL | Qt::Key_M), &FrmConfig::MnuMoveTo_Click);
  MnuMoveTo->setText(QStringLiteral("&Move To\u2026"));
  MnuCheckAreas =
      item(MnuTools, "MnuCheckAreas", "&Check Areas",
           QKeySequence(Qt::CTRL | Qt::Key_K), &FrmConfig::MnuCheckAreas_Click);
  MnuScenerySets = item(MnuTools, "MnuScenerySets", "Scenery S&ets",
                        QKeySequence(Qt::CTRL | Qt::Key_E),
                        &FrmConfig::MnuScenerySets_Click);
  MnuScenerySets->setText(QStringLiteral("Scenery S&ets\u2026"));
  MnuActivate = item(MnuTools, "MnuActivate", "Acti&vate Selected",
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
                     &FrmConfig::MnuActivate_Click);
  MnuDeactivate = item(MnuTools, "MnuDeactivate", "&Deactivate Selected",
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
                       &FrmConfig::MnuDeactivate_Click);
  MnuAddNewFolders = item(MnuTools, "MnuAddNewFolders", "Add Ne&w Folders",
                          QKeySequence(Qt::CTRL | Qt::Key_N),
                          &FrmConfig::MnuAddNewFolders_Click);
  MnuAddNewFolders->setText(QStringLiteral("Add Ne&w Folders\u2026"));
  MnuVersions =
      item(MnuTools, "MnuVersions", "Earl&ier Versions",
           QKeySequence(Qt::CTRL | Qt::Key_H), &FrmConfig::MnuVersions_Click);
  MnuVersions->setText(QStringLiteral("Earl&ier Versions\u2026"));
  history_ = new QUndoStack(this);
  connect(history_, &QUndoStack::canUndoChanged, this,
          &FrmConfig::UpdateHistoryItems);
  connect(history_, &QUndoStack::canRedoChanged, this,
          &FrmConfig::UpdateHistoryItems);
  UpdateHistoryItems();

  MnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  MnuHelp->setObjectName(QStringLiteral("MnuHelp"));
  MnuAbout = item(MnuHelp, "MnuAbout", "&About Sceneshifter", QKeySequence(),
                  &FrmConfig::MnuAbout_Click);
}

// ---- start-up and the file commands ----

void FrmConfig::Startup(const QString& fileArgument) {
  PlaceWindow();
  show();
  if (const std::string problem = ActiveCodePageProblem(); !problem.empty())
    dialogs_.Message(this,
                     QString::fromUtf8(problem.c_str()) +
                         QStringLiteral(". The code page of your language "
                                        "settings is used instead."),
                     Dialogs::Buttons::Ok, QString());
  ReadSettings();
  if (!fileArgument.isEmpty()) doc_.ConfigFile = ToHostPath(fileArgument);
  // The dialog opens where the remembered file was, or the last choice is.
  QString folder = DialogFolder(doc_.ConfigFile);
  // Until the user chooses, the dialog offers the simulator's own file, when
  // one is installed, selected so that Enter opens it.
  QString file;
  std::vector<SimulatorFile> found;
  bool looked = false;
  while (!FileExists(doc_.ConfigFile)) {
    const auto answer = dialogs_.Message(
        this, QStringLiteral("Please find Flight Sim Scenery config File"),
        Dialogs::Buttons::YesNo, QString());
    if (answer != Dialogs::Answer::Yes) {
      End();
      return;
    }
    if (!looked) {
      looked = true;
      if (locate_) found = locate_();
      if (!found.empty()) {
        folder = FromHostPath(FolderOf(found.front().path));
        file = FromHostPath(FileNameOf(found.front().path));
      }
    }
    const QString chosen = dialogs_.OpenFileName(
        this, QStringLiteral("Please find Flight Sim Scenery config File"),
        QStringLiteral("Scenery.cfg (Scenery.cfg scenery.cfg SCENERY.CFG)"),
        folder, file);
    doc_.ConfigFile = ToHostPath(chosen);
    if (!chosen.isEmpty()) {
      folder = DialogFolder(doc_.ConfigFile);
      file.clear();
    }
    WriteSettings();
  }
  doc_.FSFolder = FolderOf(doc_.ConfigFile);
  session_->SetStartingUp(true);
  const bool loaded = LoadFile();
  session_->SetStartingUp(false);
  const QString opened =
      QFileInfo(FromHostPath(doc_.ConfigFile)).canonicalFilePath();
  for (const SimulatorFile& f : found) {
    if (!loaded ||
        QFileInfo(FromHostPath(f.path)).canonicalFilePath() != opened)
      continue;
    foundMessage_ =
        QStringLiteral("Found through %1").arg(QString::fromUtf8(f.how));
    ShowStatusMessage(foundMessage_);
    break;
  }
}

void FrmConfig::MnuLoad_Click() {
  if (!MaybeSave()) return;
  const QString path = dialogs_.OpenFileName(
      this, QStringLiteral("Load a Fs Scenery Config file"),
      QStringLiteral("*.cfg (*.cfg *.CFG *.Cfg)"),
      DialogFolder(doc_.ConfigFile));
  if (path.isEmpty()) return;
  session_->Open(path);
}

void FrmConfig::MnuSave_Click() { FileSave(); }

void FrmConfig::MnuSaveAs_Click() {
  const QString path = dialogs_.SaveFileName(
      this, QStringLiteral("Save a Fs Config File as *.cfg (USE CAREFULY)"),
      QStringLiteral("scenery.cfg (*.cfg *.CFG *.Cfg)"),
      DialogFolder(doc_.ConfigFile));
  if (path.isEmpty()) return;
  const std::string previous = doc_.ConfigFile;
  doc_.ConfigFile = ToHostPath(path);
  // A failed Save As keeps the name the document was saved under.
  if (!FileSave()) {
    doc_.ConfigFile = previous;
    return;
  }
  StatusBar->setText(FromHostPath(doc_.ConfigFile));  // what Save now writes
}

void FrmConfig::MnuExit_Click() {
  if (!MaybeSave()) return;
  End();
}

void FrmConfig::MnuAbout_Click() {
  const QString settings = OpenSettingsStore()->fileName();
  dialogs_.Message(
      this,
      QStringLiteral(
          "Sceneshifter %1\n"
          "Editor for the scenery areas of the flight simulator's "
          "Scenery.cfg.\n\n"
          "Licence: MIT (Copyright (c) 2026 The Sceneshifter developers).\n"
          "Scenery files are read and written in code page %2.\n"
          "Settings are kept in %3")
          .arg(QStringLiteral(SCENESHIFTER_VERSION),
               QString::number(ActiveCodePage()),
               QDir::toNativeSeparators(settings)),
      Dialogs::Buttons::Ok, QStringLiteral("About Sceneshifter"));
}

// ---- settings and the recent-file entries ----

void FrmConfig::ReadSettings() {
  auto store = OpenSettingsStore();
  const StoredSettings s = ReadStoredSettings(*store);
  for (const QString& path : s.recentFiles) UpdateMenu(path, 0);
  doc_.ConfigFile = ToHostPath(s.fsPath);
  doc_.SceneryPath = ToHostPath(s.scnryPath);
}

void FrmConfig::WriteSettings() {
  auto store = OpenSettingsStore();
  StoredSettings s;
  s.recentFiles = recent_.Files();
  s.fsPath = FromHostPath(doc_.ConfigFile);
  s.scnryPath = FromHostPath(doc_.SceneryPath);
  WriteStoredSettings(*store, s);
}

void FrmConfig::UpdateMenu(const QString& MnuPath, std::int16_t del) {
  if (del == 0) {
    const bool added = recent_.Add(MnuPath);
    MnuFileArray[0]->setVisible(recent_.SeparatorVisible());
    if (!added) return;
    const int index = recent_.RecentCount();
    auto* a = new QAction(MenuCaption(MnuPath), this);
    a->setData(MnuPath);
    a->setObjectName(QStringLiteral("MnuFileArray_%1").arg(index));
    MnuFile->addAction(a);
    MnuFileArray.push_back(a);
    connect(a, &QAction::triggered, this, [this, a] {
      const auto it = std::find(MnuFileArray.begin(), MnuFileArray.end(), a);
      if (it != MnuFileArray.end())
        MnuFileArray_Click(static_cast<int>(it - MnuFileArray.begin()));
    });
  } else if (del == -1) {
    if (!recent_.Remove(MnuPath)) return;
    // The captions move up one element; the last element goes.
    for (int i = 1; i <= recent_.RecentCount(); ++i) {
      MnuFileArray[i]->setText(MenuCaption(recent_.Files()[i - 1]));
      MnuFileArray[i]->setData(recent_.Files()[i - 1]);
    }
    QAction* last = MnuFileArray.back();
    MnuFileArray.pop_back();
    MnuFile->removeAction(last);
    last->deleteLater();
  }
}

void FrmConfig::MnuFileArray_Click(int Index) {
  if (!MnuLoad->isEnabled()) return;
  if (Index < 1 || Index >= static_cast<int>(MnuFileArray.size())) return;
  const QString path = MnuFileArray[Index]->data().toString();
  if (FileExists(ToHostPath(path))) {
    if (!MaybeSave()) return;
    session_->Open(path);
  } else {
    UpdateMenu(path, -1);
  }
}

}  // namespace sceneshifter
