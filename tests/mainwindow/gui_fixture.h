// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

#include "dialogs.h"
#include "frm_config.h"
#include "scenery_document.h"

namespace sceneshifter::testing {

// One area of a generated scenery file.
struct TestArea {
  QByteArray number;
  QByteArray title;
  QByteArray body = "Local=Addons\\Test\r\nActive=TRUE\r\nRequired=FALSE\r\n";
};

inline QByteArray SceneryText(const std::vector<TestArea>& areas) {
  QByteArray text = "[General]\r\nTitle=FS2000 World Scenery\r\n\r\n";
  for (const auto& a : areas)
    text += "[Area." + a.number + "]\r\nTitle=" + a.title + "\r\n" + a.body +
            "Layer=" + a.number + "\r\n\r\n";
  return text;
}

inline std::vector<TestArea> NumberedAreas(int n) {
  std::vector<TestArea> areas;
  for (int i = 1; i <= n; ++i)
    areas.push_back({QByteArray::number(i).rightJustified(3, '0'),
                     "Area title " + QByteArray::number(i)});
  return areas;
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Another program's change: written in place, or, when `atomic`, as a new
// file renamed over the old one.
inline void WriteFromOutside(const QString& path, const QByteArray& bytes,
                             bool atomic) {
  if (!atomic) return WriteBytes(path, bytes);
  QSaveFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
  QVERIFY(f.commit());
}

inline QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
  return f.readAll();
}

// A system font about as large as the one the windows' design was drawn
// for, so that the design shows at its own size, unscaled.
inline void UseDesignSizedFont() {
  QFont f = QApplication::font();
  f.setPixelSize(10);
  QApplication::setFont(f);
}

// Points the settings store at a folder of the test's own and empties it.
inline void UseFreshSettingsStore(const QString& folder) {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
  QSettings store(QStringLiteral("Sceneshifter"),
                  QStringLiteral("Sceneshifter"));
  store.clear();
  store.sync();
}

inline void Store(const QString& section, const QString& key,
                  const QString& value) {
  QSettings store(QStringLiteral("Sceneshifter"),
                  QStringLiteral("Sceneshifter"));
  store.setValue(section + QLatin1Char('/') + key, value);
  store.sync();
}

inline QString Stored(const QString& section, const QString& key) {
  QSettings store(QStringLiteral("Sceneshifter"),
                  QStringLiteral("Sceneshifter"));
  return store.value(section + QLatin1Char('/') + key).toString();
}

// A test class whose every test has a folder and a settings store of its
// own; call FreshFolder() from init().
class GuiTest : public QObject {
 protected:
  std::unique_ptr<QTemporaryDir> tmp_;
  void FreshFolder() {
    tmp_ = std::make_unique<QTemporaryDir>();
    UseFreshSettingsStore(Path(QStringLiteral("settings")));
  }
  QString Path(const QString& name) const { return tmp_->filePath(name); }
  // A scenery file of `areas` numbered areas.
  QString MakeFile(const QString& name, int areas) {
    WriteBytes(Path(name), SceneryText(NumberedAreas(areas)));
    return Path(name);
  }
};

// A window over a fresh document, with scripted dialogs.
struct Editor {
  SceneryDocument doc;
  ScriptedDialogs dialogs;
  std::unique_ptr<FrmConfig> window = std::make_unique<FrmConfig>(doc, dialogs);

  // Starts up with `file` remembered, so that no dialog is needed.
  void StartWith(const QString& file) {
    Store(QStringLiteral("Paths"), QStringLiteral("FSPath"), file);
    window->Startup();
  }
  QString Title(int i) const {
    return window->LstTitle->model()
        ->data(window->LstTitle->model()->index(i, 0))
        .toString();
  }
  // How often the question about another program's change was asked.
  int DiskQuestions() const {
    return int(std::count_if(
        dialogs.shown.begin(), dialogs.shown.end(), [](const auto& s) {
          return s.buttons == Dialogs::Buttons::OverwriteReloadCancel;
        }));
  }
  int ListCount() const { return window->LstTitle->model()->rowCount(); }
  int Selected() const {
    const auto idx = window->LstTitle->currentIndex();
    return idx.isValid() ? idx.row() : -1;
  }
  void Click(int command) {
    QTest::mouseClick(window->Command1[command], Qt::LeftButton);
  }
  void ClickEntry(int row) {
    auto* view = window->LstTitle;
    view->scrollTo(view->model()->index(row, 0));
    const QRect r = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
  }
};

}  // namespace sceneshifter::testing
