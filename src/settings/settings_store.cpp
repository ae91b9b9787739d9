// SPDX-License-Identifier: MIT
#include "settings_store.h"

#include <utility>

namespace sceneshifter {
namespace {
const QString kRecentSection = QStringLiteral("Recent Files");
const QString kPathsSection = QStringLiteral("Paths");
const QString kWindowPosition = QStringLiteral("Window/Position");

QString WindowKey(const char* key) {
  return QStringLiteral("Window/") + QLatin1String(key);
}

// Two whole numbers stored as "a,b". Written by hand without quotes, the
// text reads back as a list.
std::optional<std::pair<int, int>> ReadPair(QSettings& store,
                                            const QString& key) {
  const QStringList ab = store.value(key)
                             .toStringList()
                             .join(QLatin1Char(','))
                             .split(QLatin1Char(','));
  if (ab.size() != 2) return std::nullopt;
  bool aOk = false, bOk = false;
  const int a = ab[0].trimmed().toInt(&aOk), b = ab[1].trimmed().toInt(&bOk);
  if (!aOk || !bOk) return std::nullopt;
  return std::pair(a, b);
}
}  // namespace

std::unique_ptr<QSettings> OpenSettingsStore() {
  return std::make_unique<QSettings>(QStringLiteral("Sceneshifter"),
                                     QStringLiteral("Sceneshifter"));
}

QString RecentFileKey(int n) {
  return QStringLiteral("File ") + QString::number(n);
}

StoredSettings ReadStoredSettings(QSettings& store) {
  StoredSettings s;
  store.beginGroup(kRecentSection);
  for (int n = 1;; ++n) {
    const QString value = store.value(RecentFileKey(n), QString()).toString();
    if (value.isEmpty()) break;
    s.recentFiles << value;
  }
  store.endGroup();
  store.beginGroup(kPathsSection);
  s.fsPath = store.value(QStringLiteral("FSPath"), QString()).toString();
  s.scnryPath = store.value(QStringLiteral("ScnryPath"), QString()).toString();
  store.endGroup();
  return s;
}

void WriteStoredSettings(QSettings& store, const StoredSettings& s) {
  store.beginGroup(kRecentSection);
  for (int n = 1; n <= s.recentFiles.size(); ++n)
    store.setValue(RecentFileKey(n), s.recentFiles[n - 1]);
  store.endGroup();
  store.beginGroup(kPathsSection);
  store.setValue(QStringLiteral("FSPath"), s.fsPath);
  store.setValue(QStringLiteral("ScnryPath"), s.scnryPath);
  store.endGroup();
  store.sync();
}

std::optional<QPoint> ReadWindowPosition(QSettings& store) {
  const auto xy = ReadPair(store, kWindowPosition);
  if (!xy) return std::nullopt;
  return QPoint(xy->first, xy->second);
}

void WriteWindowPosition(QSettings& store, QPoint position) {
  store.setValue(kWindowPosition,
                 QStringLiteral("%1,%2").arg(position.x()).arg(position.y()));
  store.sync();
}

std::optional<QSize> ReadWindowSize(QSettings& store, const char* key) {
  const auto wh = ReadPair(store, WindowKey(key));
  if (!wh || wh->first <= 0 || wh->second <= 0) return std::nullopt;
  return QSize(wh->first, wh->second);
}

void WriteWindowSize(QSettings& store, const char* key, QSize size) {
  if (ReadWindowSize(store, key) == size) return;
  store.setValue(WindowKey(key),
                 QStringLiteral("%1,%2").arg(size.width()).arg(size.height()));
  store.sync();
}

bool RecentFileList::Same(const QString& a, const QString& b) const {
  if (!separatorsAlike_) return a.compare(b, Qt::CaseInsensitive) == 0;
  QString x = a, y = b;
  x.replace(QLatin1Char('\\'), QLatin1Char('/'));
  y.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return x.compare(y, Qt::CaseInsensitive) == 0;
}

int RecentFileList::IndexOf(const QString& path) const {
  for (int i = 0; i < files_.size(); ++i)
    if (Same(files_[i], path)) return i;
  return -1;
}

bool RecentFileList::Add(const QString& path) {
  separatorVisible_ = true;
  // The separator's own caption takes part in the comparison.
  if (path == QLatin1String("-") || IndexOf(path) >= 0) return false;
  files_ << path;
  return true;
}

bool RecentFileList::Remove(const QString& path) {
  const int i = IndexOf(path);
  if (i < 0) return false;
  files_.removeAt(i);
  return true;
}

}  // namespace sceneshifter
