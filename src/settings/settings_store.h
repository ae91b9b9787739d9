// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QSettings>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace sceneshifter {

// The per-user store under organization and application "Sceneshifter".
std::unique_ptr<QSettings> OpenSettingsStore();

// "File 1", "File 2", ...: the key of recent-file entry n (counted from 1).
QString RecentFileKey(int n);

struct StoredSettings {
  QStringList recentFiles;  // in stored order, up to the first empty key
  QString fsPath;           // the remembered scenery file
  QString scnryPath;        // the remembered scenery folder
};

StoredSettings ReadStoredSettings(QSettings& store);

// Writes entries 1..recentFiles.size(); keys beyond them are left as they
// are, and nothing is ever removed from the store.
void WriteStoredSettings(QSettings& store, const StoredSettings& s);

// Where the main window stood when the last run ended, in a section of its
// own ("Window", key "Position", "x,y"); none when nothing readable is
// stored.
std::optional<QPoint> ReadWindowPosition(QSettings& store);
void WriteWindowPosition(QSettings& store, QPoint position);

// The size a window had when it was last closed, in the same section:
// kMainWindowSize, kPickerSize or kCheckAreasSize ("w,h"); none when nothing
// readable is stored.
inline const char* const kMainWindowSize = "Size";
inline const char* const kPickerSize = "Picker Size";
inline const char* const kCheckAreasSize = "Check Areas Size";
std::optional<QSize> ReadWindowSize(QSettings& store, const char* key);
// Writes only what differs from the stored size.
void WriteWindowSize(QSettings& store, const char* key, QSize size);

// The recent-file entries of the File menu, oldest first. No two differ
// only in letter case, nor, on Windows, only in "\" against "/".
class RecentFileList {
 public:
#ifdef Q_OS_WIN
  static constexpr bool kSeparatorsAlike = true;
#else
  static constexpr bool kSeparatorsAlike = false;
#endif
  explicit RecentFileList(bool separatorsAlike = kSeparatorsAlike)
      : separatorsAlike_(separatorsAlike) {}

  // False when `path` is already listed (letter case ignored).
  bool Add(const QString& path);
  // False when `path` is not listed.
  bool Remove(const QString& path);
  int IndexOf(const QString& path) const;
  const QStringList& Files() const { return files_; }
  int RecentCount() const { return static_cast<int>(files_.size()); }
  // The separator shows once an entry has been added, and stays.
  bool SeparatorVisible() const { return separatorVisible_; }

 private:
  bool Same(const QString& a, const QString& b) const;

  QStringList files_;
  bool separatorVisible_ = false;
  bool separatorsAlike_;
};

}  // namespace sceneshifter
