// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "dialogs.h"
#include "file_ops.h"
#include "scenery_document.h"
#include "scenery_writer.h"

class QFileSystemWatcher;
class QTimer;
class QWidget;

namespace sceneshifter {

// The scenery file's life on disk: reading it into the document, saving
// it, and watching it for changes made by other programs, with the
// question what to do about one.
class SceneryFileSession : public QObject {
  Q_OBJECT
 public:
  // Questions and messages go to `window`; a change on disk waits while it
  // is disabled (the folder picker is open).
  SceneryFileSession(SceneryDocument& doc, Dialogs& dialogs, QWidget* window);

  // Reads doc.ConfigFile as the new document; false (the user told why)
  // when it could not be read, the open document then staying.
  bool Load();
  // Reads the file at `path`; on failure the document and ConfigFile stay
  // as they were.
  bool Open(const QString& path);
  // False when the file was not written: it could not be (the user has
  // been told why), or another program had changed it and the user chose
  // not to overwrite that change.
  bool Save(SaveMode mode);
  // Reads the file again in place of the document and its unsaved changes.
  bool Reload();

  // Whether the window holds an area being edited or added, which a reload
  // would drop.
  void SetPanelEditing(std::function<bool()> editing);
  // While set, a change on disk waits (the start-up load, whose question
  // may wait for the window to be mapped).
  void SetStartingUp(bool startingUp) { startingUp_ = startingUp; }
  bool StartingUp() const { return startingUp_; }
  // The program ends: changes on disk are no longer looked at.
  void Stop();

  // True when a reload would drop something: unsaved changes, or a panel
  // being edited.
  bool HasUnsavedWork() const;

 signals:
  // A file has been read as the document.
  void Loaded();
  // After Loaded, for a reload: the area to show again (its title and
  // folder found, else its place), or -1.
  void Reloaded(int select);
  // The document has been written to disk.
  void Saved();
  // The file has gone from disk, or is back as it was read.
  void MissingChanged(bool missing);

 private:
  // Overwrite, Reload or Cancel: what to do about a file that another
  // program has changed since it was read or written.
  Dialogs::Answer AskAboutDiskChange();
  // Watches the file last read or written (and its folder, to see it
  // replaced) for changes made by other programs.
  void WatchFile();
  // Handles a change on disk once the watcher has been quiet for a moment.
  void CheckDisk();

  SceneryDocument& doc_;
  Dialogs& dialogs_;
  QWidget* window_;
  std::function<bool()> panelEditing_;
  bool startingUp_ = false;
  bool stopped_ = false;
  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* diskCheck_ = nullptr;
  // The change on disk last handled (asked about, or a reload tried), so
  // that it is handled once; the next save asks about it again.
  FileFingerprint handledChange_;
};

}  // namespace sceneshifter
