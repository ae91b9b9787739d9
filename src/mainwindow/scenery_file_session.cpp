// SPDX-License-Identifier: MIT
#include "scenery_file_session.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>
#include <string>
#include <utility>

#include "codepage.h"
#include "path_helpers.h"
#include "scenery_reader.h"
#include "scenery_versions.h"

namespace sceneshifter {
namespace {

// How long the watched file must stay quiet before a change is handled: an
// installer's or the simulator's save is over by then.
constexpr int kDiskQuietMs = 300;

}  // namespace

SceneryFileSession::SceneryFileSession(SceneryDocument& doc, Dialogs& dialogs,
                                       QWidget* window)
    : QObject(window), doc_(doc), dialogs_(dialogs), window_(window) {
  setObjectName(QStringLiteral("SceneryFileSession"));
  watcher_ = new QFileSystemWatcher(this);
  diskCheck_ = new QTimer(this);
  diskCheck_->setSingleShot(true);
  diskCheck_->setInterval(kDiskQuietMs);
  connect(watcher_, &QFileSystemWatcher::fileChanged, diskCheck_,
          qOverload<>(&QTimer::start));
  connect(watcher_, &QFileSystemWatcher::directoryChanged, diskCheck_,
          qOverload<>(&QTimer::start));
  connect(diskCheck_, &QTimer::timeout, this, &SceneryFileSession::CheckDisk);
}

void SceneryFileSession::SetPanelEditing(std::function<bool()> editing) {
  panelEditing_ = std::move(editing);
}

void SceneryFileSession::Stop() {
  stopped_ = true;
  diskCheck_->stop();
}

bool SceneryFileSession::Load() {
  std::string detail;
  const std::string error = LoadDocument(doc_, &detail);
  if (!error.empty()) {
    dialogs_.Message(window_, QString::fromLatin1(error.c_str()),
                     Dialogs::Buttons::Ok, QString(),
                     QString::fromUtf8(detail.c_str()));
    return false;
  }
  WatchFile();
  emit Loaded();
  return true;
}

bool SceneryFileSession::Open(const QString& path) {
  const std::string previous = doc_.ConfigFile;
  doc_.ConfigFile = ToHostPath(path);
  if (Load()) return true;
  doc_.ConfigFile = previous;
  return false;
}

bool SceneryFileSession::Save(SaveMode mode) {
  SaveResult r = SaveDocument(doc_, DefaultFileOps(), mode);
  if (r.changedOnDisk) {
    switch (AskAboutDiskChange()) {
      case Dialogs::Answer::Overwrite:
        r = SaveDocument(doc_, DefaultFileOps(), SaveMode::Overwrite);
        break;
      case Dialogs::Answer::Reload:
        Reload();
        return false;
      default:
        return false;
    }
  }
  const QString path = FromHostPath(doc_.ConfigFile);
  if (!r.ok) {
    dialogs_.Message(
        window_,
        QStringLiteral("The scenery file %1 could not be saved: %2.")
            .arg(path, QString::fromUtf8(r.error.c_str())),
        Dialogs::Buttons::Ok, QString());
    return false;
  }
  emit Saved();
  WatchFile();
  // The text replaced becomes an earlier version; not keeping it is only
  // worth a word, the save itself stands.
  const std::string versionWarning =
      r.replacedExisting ? KeepReplacedText(doc_.ConfigFile, r.replacedText)
                         : std::string();
  const std::string* const warnings[] = {&r.backupWarning, &r.syncWarning,
                                         &versionWarning};
  for (const std::string* warning : warnings)
    if (!warning->empty())
      dialogs_.Message(window_,
                       QStringLiteral("The scenery file %1 was saved, but %2.")
                           .arg(path, QString::fromUtf8(warning->c_str())),
                       Dialogs::Buttons::Ok, QString());
  return true;
}

bool SceneryFileSession::Reload() {
  // The area shown is found again by its title and folder, else by its
  // place.
  const int shown = doc_.CurrentArea;
  AreaEntry area;
  if (shown >= 0 && shown <= doc_.LastArea) area = doc_.Areas[shown];
  if (!Load()) return false;
  int select = -1;
  for (int i = 0; i <= doc_.LastArea && shown >= 0; ++i)
    if (doc_.Areas[i].Title == area.Title &&
        doc_.Areas[i].PathValue == area.PathValue) {
      select = i;
      break;
    }
  if (select < 0 && shown >= 0 && shown <= doc_.LastArea) select = shown;
  emit Reloaded(select);
  return true;
}

bool SceneryFileSession::HasUnsavedWork() const {
  return doc_.FileChanged || (panelEditing_ && panelEditing_());
}

Dialogs::Answer SceneryFileSession::AskAboutDiskChange() {
  const QString path = FromHostPath(doc_.ConfigFile);
  const QString what =
      FileExists(doc_.ConfigFile)
          ? QStringLiteral(
                "Another program has changed the scenery file %1 "
                "since Sceneshifter read it.")
          : QStringLiteral(
                "The scenery file %1 is no longer there: another "
                "program has moved or removed it.");
  return dialogs_.Message(
      window_,
      what.arg(path) +
          QStringLiteral("\n\nOverwrite it with the areas shown here, reload "
                         "it and lose the changes made here, or cancel?"),
      Dialogs::Buttons::OverwriteReloadCancel, QString());
}

void SceneryFileSession::WatchFile() {
  const QStringList watched = watcher_->files() + watcher_->directories();
  if (!watched.isEmpty()) watcher_->removePaths(watched);
  handledChange_ = FileFingerprint();
  if (doc_.DiskPath.empty()) return;
  const QFileInfo file(FromHostPath(doc_.DiskPath));
  QStringList paths{file.absoluteFilePath(), file.absolutePath()};
  // A linked file is replaced in its target's folder.
  const QString target = file.canonicalFilePath();
  if (!target.isEmpty()) paths << QFileInfo(target).absolutePath();
  paths.removeDuplicates();
  watcher_->addPaths(paths);
}

void SceneryFileSession::CheckDisk() {
  if (stopped_ || doc_.DiskPath.empty() || doc_.DiskPath != doc_.ConfigFile)
    return;
  const QString absolute =
      QFileInfo(FromHostPath(doc_.DiskPath)).absoluteFilePath();
  // A file replaced by a rename is a new file: watch it again.
  if (!watcher_->files().contains(absolute) && QFileInfo::exists(absolute))
    watcher_->addPath(absolute);
  // Not in the middle of the start-up load, the folder picker, a question,
  // a dialog or a menu: look again once they are closed.
  if (startingUp_ || !window_->isEnabled() ||
      QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
    diskCheck_->start();
    return;
  }
  const FileFingerprint now = CurrentFingerprint(doc_.DiskPath);
  if (now.SameContent(doc_.DiskFingerprint)) {
    // Our own save, or the file is back as it was.
    emit MissingChanged(false);
    return;
  }
  if (!now.exists) {
    // Nothing to reload; the next save asks before writing it again.
    emit MissingChanged(true);
    return;
  }
  if (now.SameContent(handledChange_)) return;
  handledChange_ = now;
  if (!HasUnsavedWork()) {
    Reload();
    return;
  }
  switch (AskAboutDiskChange()) {
    case Dialogs::Answer::Overwrite:
      Save(SaveMode::Overwrite);
      break;
    case Dialogs::Answer::Reload:
      Reload();
      break;
    default:
      break;  // the next save asks again
  }
}

}  // namespace sceneshifter
