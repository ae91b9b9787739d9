// SPDX-License-Identifier: MIT
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "centre_form.h"
#include "codepage.h"
#include "file_ops.h"
#include "gui_fixture.h"
#include "scenery_file_session.h"
#include "settings_store.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

class FrmConfigTest : public GuiTest {
  Q_OBJECT

 private slots:
  void init() { FreshFolder(); }

  void layoutGeometryAndCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    auto row = [](const char* name, const char* caption, int l, int t, int w,
                  int h) {
      QTest::newRow(name) << QString::fromLatin1(name)
                          << QString::fromLatin1(caption) << QRect(l, t, w, h);
    };
    row("Label1_0", "Layer", 0, 120, 612, 252);
    row("Label1_1", "Title", 1680, 120, 612, 252);
    row("LstTitle", "", 120, 360, 3015, 5130);
    row("Command1_3", "&Lower ", 3240, 600, 972, 372);
    row("Command1_2", "&Raise ", 3240, 1200, 972, 372);
    row("Command1_6", "&Add ", 3240, 1800, 972, 372);
    row("Command1_4", "&Delete ", 3240, 2400, 972, 372);
    row("Command1_5", "&Edit ", 3240, 3000, 972, 372);
    row("Command1_8", "O K", 3240, 3600, 972, 372);
    row("Command1_9", "Cancel", 3240, 4200, 972, 372);
    row("Command1_1", "Exit", 3240, 4800, 972, 372);
    row("Check2", "Required", 4080, 0, 1095, 375);
    row("Option1_1", "Use Direct", 5640, 0, 855, 375);
    row("Option1_0", "Cache This Scenery", 6840, 0, 1335, 375);
    row("Label1_2", "Area", 4440, 480, 612, 252);
    row("Text1_0", "", 5160, 480, 732, 288);
    row("Label1_6", "Layer", 5880, 480, 612, 252);
    row("Text1_3", "", 6600, 480, 612, 288);
    row("Check1", "Active", 7320, 480, 975, 375);
    row("Label1_3", "Title", 4200, 840, 612, 252);
    row("Text1_1", "", 5160, 840, 3372, 288);
    row("Label1_4", "Path", 4200, 1200, 612, 252);
    row("Text1_2", "", 5160, 1200, 3372, 288);
    row("Label1_5", "Exclude", 4200, 1560, 735, 255);
    row("Text1_4", "", 5160, 1560, 3372, 288);
    for (int k = 0; k <= 9; ++k) {
      const QByteArray l = "Label1_" + QByteArray::number(7 + k);
      const QByteArray t = "Text1_" + QByteArray::number(5 + k);
      const QByteArray caption = "Flatten " + QByteArray::number(k);
      QTest::newRow(l) << QString::fromLatin1(l) << QString::fromLatin1(caption)
                       << QRect(4320, 1920 + 360 * k, 855, 255);
      QTest::newRow(t) << QString::fromLatin1(t) << QString()
                       << QRect(5160, 1920 + 360 * k, 3372, 288);
    }
    row("StatusBar", "", 0, 5640, 8295, 375);
  }

  void layoutGeometryAndCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    Editor e;
    auto* w = e.window->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    const QRect px(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0),
                   qRound(twips.width() / 15.0), qRound(twips.height() / 15.0));
    // Measured in the window's client area, whichever panel holds it.
    const QWidget* client = e.window->centralWidget();
    QCOMPARE(QRect(w->mapTo(client, QPoint()), w->size()), px);
    if (auto* b = qobject_cast<QAbstractButton*>(w))
      QCOMPARE(b->text(), caption);
    if (auto* l = qobject_cast<QLabel*>(w)) QCOMPARE(l->text(), caption);
    if (auto* t = qobject_cast<QLineEdit*>(w)) {
      QVERIFY(t->isReadOnly());
      QVERIFY(t->text().isEmpty());
    }
  }

  void startStateAndMenus() {
    Editor e;
    auto& w = *e.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Sceneshifter"));
    QCOMPARE(w.centralWidget()->size(), QSize(583, 401));
    QVERIFY(w.windowIcon().availableSizes().contains(QSize(32, 32)));
    for (int i : {1, 2, 3, 4, 5, 6, 9}) QVERIFY(w.Command1[i]->isEnabled());
    QVERIFY(!w.Command1[8]->isEnabled());
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             w.Check1, w.Check2, w.Option1[0], w.Option1[1]}) {
      QVERIFY(!b->isEnabled());
      QVERIFY(!b->isChecked());
    }
    QVERIFY(w.StatusBar->text().isEmpty());
    QCOMPARE(w.StatusBar->focusPolicy(), Qt::NoFocus);
    for (QWidget* c : w.centralWidget()->findChildren<QWidget*>())
      if (!qobject_cast<QLabel*>(c) && c->focusPolicy() != Qt::NoFocus &&
          c != w.LstTitle)
        QVERIFY2(!c->toolTip().isEmpty(), qPrintable(c->objectName()));

    const auto menus = w.menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Tools"));
    QCOMPARE(menus[2]->text(), QStringLiteral("&Help"));
    struct Item {
      QAction* action;
      const char* caption;
      QKeySequence shortcut;
    };
    const Item items[] = {
        {w.MnuLoad, "&Load", QKeySequence()},
        {w.MnuSave, "&Save", QKeySequence(QStringLiteral("Ctrl+S"))},
        {w.MnuSaveAs, "Save &As", QKeySequence(QStringLiteral("Ctrl+A"))},
        {w.MnuExit, "Exit", QKeySequence(QStringLiteral("Ctrl+X"))},
        {w.MnuSearch, "&Search", QKeySequence(QStringLiteral("Ctrl+F"))},
        {w.MnuSearchNext, "Search &Next", QKeySequence(QStringLiteral("F3"))},
        {w.MnuAbout, "&About Sceneshifter", QKeySequence()}};
    for (const auto& it : items) {
      QCOMPARE(it.action->text(), QString::fromLatin1(it.caption));
      QCOMPARE(it.action->shortcut(), it.shortcut);
      QVERIFY(it.action->isEnabled());
    }
    const auto fileItems = w.MnuFile->actions();
    QCOMPARE(fileItems.size(), 5);
    QVERIFY(fileItems[4]->isSeparator());
    QVERIFY(!fileItems[4]->isVisible());
    // A separator with a caption would be drawn as a heading.
    QVERIFY(fileItems[4]->text().isEmpty());
    QCOMPARE(fileItems[4]->objectName(), QStringLiteral("MnuFileArray_0"));
  }

  void statusMessageBesideThePath() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    Editor e;
    e.StartWith(file);
    auto* message =
        e.window->findChild<QLabel*>(QStringLiteral("StatusMessage"));
    QVERIFY(message);
    e.window->ShowStatusMessage(QStringLiteral("2 areas selected"));
    QCOMPARE(message->text(), QStringLiteral("2 areas selected"));
    QVERIFY(message->isVisible() && !message->accessibleName().isEmpty());
    // The path keeps its field, and a short one stays clear of the message.
    const QLabel* path = e.window->StatusBar;
    QCOMPARE(path->text(), file);
    const int pathEnd = path->geometry().center().x() +
                        path->fontMetrics().horizontalAdvance(file) / 2;
    QVERIFY(path->geometry().contains(message->geometry()));
    QVERIFY(pathEnd < message->geometry().left());
    e.window->ShowStatusMessage(QString());
    QVERIFY(message->text().isEmpty());
  }

  // The file session on its own: a change on disk met with unsaved work is
  // asked about, and a reload names the area shown before, found again.
  void sessionReloadFindsTheAreaShown() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    SceneryDocument doc;
    ScriptedDialogs dialogs;
    QWidget window;
    SceneryFileSession session(doc, dialogs, &window);
    session.SetPanelEditing([] { return true; });
    QSignalSpy loaded(&session, &SceneryFileSession::Loaded);
    QSignalSpy reloaded(&session, &SceneryFileSession::Reloaded);
    QVERIFY(!session.Open(Path(QStringLiteral("missing.cfg"))));
    QVERIFY(doc.ConfigFile.empty());
    QVERIFY(session.Open(file));
    QCOMPARE(loaded.count(), 1);
    doc.CurrentArea = 1;  // "Area title 2"
    auto areas = NumberedAreas(3);
    areas.insert(areas.begin(), {"000", "Inserted by another program"});
    dialogs.setNextAnswer(Dialogs::Answer::Reload);
    WriteFromOutside(file, SceneryText(areas), true);
    QTRY_COMPARE(reloaded.count(), 1);
    QCOMPARE(dialogs.shown.back().buttons,
             Dialogs::Buttons::OverwriteReloadCancel);
    QCOMPARE(reloaded.first().first().toInt(), 2);
    QCOMPARE(doc.AreaCount(), 4);
  }

  void tabOrder() {
    Editor e;
    auto& w = *e.window;
    const std::vector<QWidget*> expected = {
        w.LstTitle,    w.Text1[0],    w.Text1[1],    w.Text1[2],
        w.Text1[3],    w.Check1,      w.Command1[1], w.Command1[2],
        w.Command1[3], w.Command1[4], w.Command1[5], w.Command1[6],
        w.Command1[8], w.Command1[9], w.Option1[0],  w.Option1[1],
        w.Check2,      w.Text1[4],    w.Text1[5],    w.Text1[6],
        w.Text1[7],    w.Text1[8],    w.Text1[9],    w.Text1[10],
        w.Text1[11],   w.Text1[12],   w.Text1[13],   w.Text1[14]};
    for (std::size_t i = 1; i < expected.size(); ++i) {
      QWidget* next = expected[i - 1]->nextInFocusChain();
      while (next->focusPolicy() == Qt::NoFocus)
        next = next->nextInFocusChain();
      QCOMPARE(next->objectName(), expected[i]->objectName());
    }
  }

  // ---- start-up ----

  void startupEmptyStorePromptsAndStoresChoice() {
    const QString file = MakeFile(QStringLiteral("fs/Scenery.cfg"), 3);
    Editor e;
    e.dialogs.setNextAnswer(Dialogs::Answer::Yes);
    e.dialogs.setNextFileName(file);
    e.window->Startup();
    QVERIFY(!e.window->Ended());
    QCOMPARE(e.dialogs.shown.at(0).prompt,
             QStringLiteral("Please find Flight Sim Scenery config File"));
    QVERIFY(e.dialogs.shown.at(0).title.isEmpty());
    QCOMPARE(e.dialogs.shown.at(1).kind, QStringLiteral("open"));
    QCOMPARE(e.dialogs.shown.at(1).title,
             QStringLiteral("Please find Flight Sim Scenery config File"));
    QVERIFY(
        e.dialogs.shown.at(1).filter.contains(QStringLiteral("scenery.cfg")));
    QVERIFY(
        e.dialogs.shown.at(1).filter.contains(QStringLiteral("SCENERY.CFG")));
    QCOMPARE(Stored("Paths", "FSPath"), file);
    QCOMPARE(e.doc.FSFolder, Path(QStringLiteral("fs")).toStdString());
    QCOMPARE(e.ListCount(), 3);
    QCOMPARE(e.Selected(), 2);
    QCOMPARE(e.window->StatusBar->text(), file);
    QCOMPARE(e.window->RecentCount(), 1);
  }

  void startupRememberedFileWritesNothing() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 2);
    Store("Paths", "FSPath", file);
    const QString storeFile = QSettings(QStringLiteral("Sceneshifter"),
                                        QStringLiteral("Sceneshifter"))
                                  .fileName();
    const QByteArray before = ReadBytes(storeFile);
    Editor e;
    e.window->Startup();
    QVERIFY(e.dialogs.shown.empty());
    QCOMPARE(e.ListCount(), 2);
    QCOMPARE(ReadBytes(storeFile), before);
  }

  void startupDeletedFileCancelThenNo() {
    Store("Paths", "FSPath", Path(QStringLiteral("gone/Scenery.cfg")));
    Editor e;
    e.dialogs.setNextAnswer(Dialogs::Answer::Yes);
    e.dialogs.setNextFileName(QString());  // cancelled
    e.dialogs.setNextAnswer(Dialogs::Answer::No);
    e.window->Startup();
    QVERIFY(e.window->Ended());
    QCOMPARE(e.dialogs.endRequests, 1);
    QCOMPARE(e.dialogs.messages().size(), 2);
    QCOMPARE(Stored("Paths", "FSPath"), QString());
  }

  void startupArgumentReplacesRememberedFile() {
    const QString remembered = MakeFile(QStringLiteral("a/Scenery.cfg"), 2);
    const QString given = MakeFile(QStringLiteral("b/Scenery.cfg"), 4);
    Store("Paths", "FSPath", remembered);
    Editor e;
    e.window->Startup(given);
    QCOMPARE(e.ListCount(), 4);
    QCOMPARE(e.doc.FSFolder, Path(QStringLiteral("b")).toStdString());
  }

  void startupReadFailureEnds() {
    const QString bad = Path(QStringLiteral("Scenery.cfg"));
    WriteBytes(bad, "no areas here\r\n");
    Editor e;
    e.StartWith(bad);
    QVERIFY(e.window->Ended());
    QCOMPARE(e.dialogs.messages().size(), 1);
  }

  void sortedMessageOnLoad() {
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    WriteBytes(file, SceneryText({{"002", "B"}, {"001", "A"}}));
    Editor e;
    e.StartWith(file);
    QCOMPARE(e.dialogs.messages(),
             QStringList{QStringLiteral(
                 "The Sceneshifter has sorted your Scenery Areas into "
                 "numerical order.           PLEASE check them and if all is "
                 "ok Save it")});
    QVERIFY(e.doc.FileChanged);
    QCOMPARE(e.Title(0), QStringLiteral("1        A"));
  }

  // ---- where the window and its dialogs stand ----

  void fileDialogsOpenInTheFilesFolder_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("filter");
    QTest::newRow("start-up, remembered file gone")
        << "startup"
        << "open"
        << "Please find Flight Sim Scenery config File"
        << "Scenery.cfg (Scenery.cfg scenery.cfg SCENERY.CFG)";
    QTest::newRow("Load") << "load"
                          << "open"
                          << "Load a Fs Scenery Config file"
                          << "*.cfg (*.cfg *.CFG *.Cfg)";
    QTest::newRow("Save As") << "saveas"
                             << "save"
                             << "Save a Fs Config File as *.cfg (USE CAREFULY)"
                             << "scenery.cfg (*.cfg *.CFG *.Cfg)";
  }
  void fileDialogsOpenInTheFilesFolder() {
    QFETCH(QString, command);
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(QString, filter);
    const QString file = MakeFile(QStringLiteral("fs/Scenery.cfg"), 2);
    Editor e;
    if (command == QLatin1String("startup")) {
      // The remembered file's folder is gone too: the nearest one above.
      e.dialogs.setNextAnswer(Dialogs::Answer::Yes);
      e.dialogs.setNextFileName(file);
      e.StartWith(Path(QStringLiteral("fs/gone/Scenery.cfg")));
      QCOMPARE(e.ListCount(), 2);
    } else {
      e.StartWith(file);
      if (command == QLatin1String("load"))
        e.window->MnuLoad_Click();
      else
        e.window->MnuSaveAs_Click();
    }
    const auto& shown = e.dialogs.shown.back();
    QCOMPARE(shown.kind, kind);
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.filter, filter);
    QCOMPARE(shown.folder, Path(QStringLiteral("fs")));
  }

  void windowPositionRemembered_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("restored");
    QTest::newRow("on the screen") << "30,40" << true;
    QTest::newRow("off every screen") << "5000,5000" << false;
    QTest::newRow("unreadable") << "thirty,40" << false;
    QTest::newRow("none") << QString() << false;
  }
  void windowPositionRemembered() {
    QFETCH(QString, stored);
    QFETCH(bool, restored);
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 2);
    if (!stored.isNull()) Store("Window", "Position", stored);
    Editor e;
    e.StartWith(file);
    auto& w = *e.window;
    const QRect screen = w.screen()->geometry();
    const QPoint centred =
        screen.topLeft() + CentrePosition(screen.size(), w.size());
    QCOMPARE(w.pos(), restored ? QPoint(30, 40) : centred);

    // Where the user leaves it is kept for the next run, and nothing else
    // in the store changes.
    QSettings store(QStringLiteral("Sceneshifter"),
                    QStringLiteral("Sceneshifter"));
    QStringList keys = store.allKeys();
    w.move(50, 60);
    w.MnuExit_Click();
    QCOMPARE(Stored("Window", "Position"), QStringLiteral("50,60"));
    store.sync();
    keys << QStringLiteral("Window/Position");
    keys.removeDuplicates();
    QStringList after = store.allKeys();
    keys.sort();
    after.sort();
    QCOMPARE(after, keys);
    Editor next;
    next.StartWith(file);
    QCOMPARE(next.window->pos(), QPoint(50, 60));
  }

  void startupMessageStandsOverWindow() {
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    WriteBytes(file, SceneryText({{"002", "B"}, {"001", "A"}}));  // sorted
    Store("Paths", "FSPath", file);
    SceneryDocument doc;
    DesktopDialogs dialogs;
    FrmConfig w(doc, dialogs);
    QRect box;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
      auto* shown =
          qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!shown || !shown->isVisible()) return;
      poll.stop();
      box = shown->frameGeometry();
      shown->button(QMessageBox::Ok)->click();
    });
    poll.start(10);
    w.Startup();
    QVERIFY(!box.isNull());
    QVERIFY2(w.frameGeometry().contains(box.center()),
             qPrintable(QStringLiteral("box at %1,%2")
                            .arg(box.center().x())
                            .arg(box.center().y())));
  }

  void aboutBox() {
    Editor e;
    e.StartWith(MakeFile(QStringLiteral("Scenery.cfg"), 1));
    e.window->MnuHelp->actions().value(0)->trigger();
    const auto& about = e.dialogs.shown.back();
    QCOMPARE(about.title, QStringLiteral("About Sceneshifter"));
    const QString settings =
        QDir::toNativeSeparators(QSettings(QStringLiteral("Sceneshifter"),
                                           QStringLiteral("Sceneshifter"))
                                     .fileName());
    for (const QString& part :
         {QStringLiteral("Sceneshifter " SCENESHIFTER_VERSION),
          QStringLiteral("Licence: MIT"), QStringLiteral("code page 1252"),
          settings})
      QVERIFY2(about.prompt.contains(part), qPrintable(part));
  }

  // ---- file commands ----

  void exitWithoutChangesEndsAtOnce() {
    Editor e;
    e.StartWith(MakeFile(QStringLiteral("Scenery.cfg"), 2));
    e.window->MnuExit_Click();
    QVERIFY(e.dialogs.shown.empty());
    QVERIFY(e.window->Ended());
  }

  void exitWithChangesNoLeavesFile() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 2);
    const QByteArray before = ReadBytes(file);
    Editor e;
    e.StartWith(file);
    e.doc.FileChanged = true;
    e.dialogs.setNextAnswer(Dialogs::Answer::No);
    e.Click(1);
    QCOMPARE(
        e.dialogs.shown.back().prompt,
        QStringLiteral("Config File has Changed , DO you wish to Save it?"));
    QCOMPARE(e.dialogs.shown.back().title, QStringLiteral("WanaSave"));
    QVERIFY(e.dialogs.shown.back().buttons == Dialogs::Buttons::YesNo);
    QVERIFY(e.window->Ended());
    QCOMPARE(ReadBytes(file), before);
  }

  void exitYesSavesWithBackup() {
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    WriteBytes(file, SceneryText({{"002", "B"}, {"001", "A"}}));
    const QByteArray before = ReadBytes(file);
    Editor e;
    e.StartWith(file);
    e.dialogs.setNextAnswer(Dialogs::Answer::Yes);
    e.window->MnuExit_Click();
    QVERIFY(e.window->Ended());
    QCOMPARE(ReadBytes(file + QStringLiteral(".bak")), before);
    QVERIFY(ReadBytes(file).indexOf("Title=A") <
            ReadBytes(file).indexOf("Title=B"));
    QCOMPARE(Stored("Paths", "FSPath"), file);
  }

  void failedSaveIsReportedAndKeepsProgramOpen() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 2);
    Editor e;
    e.StartWith(file);
    e.doc.FileChanged = true;
    // A folder that does not exist cannot take the file.
    const QString nowhere = Path(QStringLiteral("missing/dir/Scenery.cfg"));
    e.dialogs.setNextFileName(nowhere);
    e.window->MnuSaveAs_Click();
    QVERIFY(e.doc.FileChanged);
    QCOMPARE(e.doc.ConfigFile, file.toStdString());
    QVERIFY(e.dialogs.messages().last().contains(nowhere));
    QVERIFY(!QFile::exists(nowhere));

    // Exit's Yes with a save that fails says so and stays open.
    e.doc.ConfigFile = nowhere.toStdString();
    e.dialogs.setNextAnswer(Dialogs::Answer::Yes);
    e.window->MnuExit_Click();
    QVERIFY(!e.window->Ended());
    QVERIFY(e.dialogs.messages().last().contains(
        QStringLiteral("could not be saved")));
    QVERIFY(e.doc.FileChanged);
  }

  void saveWithoutBackupSaysSo() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 2);
    // A folder in the backup's place cannot be replaced by the old file.
    QVERIFY(QDir().mkpath(file + QStringLiteral(".bak/inside")));
    Editor e;
    e.StartWith(file);
    e.doc.FileChanged = true;
    QVERIFY(e.window->FileSave());
    QVERIFY(!e.doc.FileChanged);
    QVERIFY(e.dialogs.messages().last().startsWith(
        QStringLiteral("The scenery file %1 was saved, but").arg(file)));
  }

  void saveAsThenSaveWritesThere() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 2);
    const QString other = Path(QStringLiteral("copy/other.cfg"));
    QDir().mkpath(Path(QStringLiteral("copy")));
    Editor e;
    e.StartWith(file);
    e.dialogs.setNextFileName(other);
    e.window->MnuSaveAs_Click();
    QCOMPARE(e.dialogs.shown.back().title,
             QStringLiteral("Save a Fs Config File as *.cfg (USE CAREFULY)"));
    QVERIFY(QFile::exists(other));
    QVERIFY(!QFile::exists(other + QStringLiteral(".bak")));
    QCOMPARE(e.window->StatusBar->text(), other);
    e.doc.Areas[0].Title = "Changed";
    e.window->MnuSave_Click();
    QVERIFY(ReadBytes(other).contains("Title=Changed"));
    QVERIFY(!ReadBytes(file).contains("Title=Changed"));
    QCOMPARE(e.window->RecentCount(), 1);
    QCOMPARE(Stored("Paths", "FSPath"), other);
  }

  void loadAsksAboutChangesAndKeepsFsFolder() {
    const QString first = MakeFile(QStringLiteral("fs/Scenery.cfg"), 2);
    const QString second = MakeFile(QStringLiteral("elsewhere/x.cfg"), 5);
    Editor e;
    e.StartWith(first);
    e.doc.FileChanged = true;
    e.dialogs.setNextAnswer(Dialogs::Answer::No);
    e.dialogs.setNextFileName(second);
    e.window->MnuLoad_Click();
    QCOMPARE(e.dialogs.shown.at(0).title, QStringLiteral("WanaSave"));
    QCOMPARE(e.dialogs.shown.at(1).title,
             QStringLiteral("Load a Fs Scenery Config file"));
    QCOMPARE(e.ListCount(), 5);
    QVERIFY(!e.doc.FileChanged);
    QCOMPARE(e.doc.FSFolder, Path(QStringLiteral("fs")).toStdString());
    QCOMPARE(e.window->RecentCount(), 2);
  }

  void loadFailureKeepsDocument_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a scenery file")
        << QByteArray("junk\0\x01\x02", 7)
        << QStringLiteral("there is no [Area. line");
    QTest::newRow("missing") << QByteArray() << QString();
  }
  void loadFailureKeepsDocument() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString good = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    const QString bad = Path(QStringLiteral("bad.cfg"));
    if (!bytes.isEmpty()) WriteBytes(bad, bytes);
    Editor e;
    e.StartWith(good);
    e.dialogs.setNextFileName(bad);
    e.window->MnuLoad_Click();
    QVERIFY(!e.window->Ended());
    QCOMPARE(e.ListCount(), 3);
    QCOMPARE(e.doc.ConfigFile, good.toStdString());
    QCOMPARE(e.dialogs.messages(),
             QStringList{QStringLiteral("There Appears to be A problem reading "
                                        "your Scenery.cfg File Please Check "
                                        "it")});
    // The file and the reason are the message's detail.
    const QString detail = e.dialogs.shown.back().detail;
    QVERIFY2(detail.startsWith(bad + QStringLiteral(": ")), qPrintable(detail));
    QVERIFY(detail.size() > bad.size() + 2);
    if (!reason.isEmpty()) QVERIFY(detail.endsWith(reason));
    // A cancelled dialog changes nothing.
    e.window->MnuLoad_Click();
    QCOMPARE(e.ListCount(), 3);
  }

  void closeFromFrame_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("nothing changed") << false << 0 << true;
    QTest::newRow("No") << true << int(Dialogs::Answer::No) << true;
    QTest::newRow("Yes") << true << int(Dialogs::Answer::Yes) << true;
    QTest::newRow("Cancel") << true << int(Dialogs::Answer::Cancel) << false;
  }
  void closeFromFrame() {
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 2);
    Editor e;
    e.StartWith(file);
    e.doc.Areas[0].Title = "Changed";
    e.doc.FileChanged = changed;
    e.dialogs.setNextAnswer(Dialogs::Answer(answer));
    QCOMPARE(e.window->close(), closes);
    QCOMPARE(e.window->isVisible(), !closes);
    QCOMPARE(e.dialogs.shown.size(), std::size_t(changed ? 1 : 0));
    if (changed) {
      QCOMPARE(e.dialogs.shown.back().title, QStringLiteral("WanaSave"));
      QVERIFY(e.dialogs.shown.back().buttons == Dialogs::Buttons::YesNoCancel);
    }
    const bool saved = answer == int(Dialogs::Answer::Yes);
    QCOMPARE(ReadBytes(file).contains("Title=Changed"), saved);
    QCOMPARE(e.doc.FileChanged, changed && !saved);
    QCOMPARE(e.doc.Areas[0].Title, std::string("Changed"));
  }

  // ---- changes made by other programs ----

  void otherProgramsChangeBeforeSave_data() {
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("answer");
    using A = Dialogs::Answer;
    for (const char* road : {"Save", "Exit"})
      for (A a : {A::Overwrite, A::Reload, A::Cancel})
        QTest::addRow("%s, %s", road,
                      a == A::Overwrite ? "Overwrite"
                      : a == A::Reload  ? "Reload"
                                        : "Cancel")
            << QString::fromLatin1(road) << int(a);
    QTest::newRow("Save As the same file, Overwrite")
        << QStringLiteral("Save As") << int(A::Overwrite);
  }
  void otherProgramsChangeBeforeSave() {
    QFETCH(QString, road);
    QFETCH(int, answer);
    const auto a = Dialogs::Answer(answer);
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    Editor e;
    e.StartWith(file);
    e.ClickEntry(0);
    e.Click(4);  // Delete: two areas left here
    const QByteArray theirs = SceneryText(NumberedAreas(5));
    WriteBytes(file, theirs);
    if (road == QLatin1String("Exit"))
      e.dialogs.setNextAnswer(Dialogs::Answer::Yes);
    if (road == QLatin1String("Save As")) e.dialogs.setNextFileName(file);
    e.dialogs.setNextAnswer(a);
    if (road == QLatin1String("Save"))
      e.window->MnuSave_Click();
    else if (road == QLatin1String("Exit"))
      e.window->MnuExit_Click();
    else
      e.window->MnuSaveAs_Click();

    QCOMPARE(e.DiskQuestions(), 1);
    for (const auto& shown : e.dialogs.shown)
      if (shown.buttons == Dialogs::Buttons::OverwriteReloadCancel)
        QVERIFY(shown.prompt.contains(file));
    const bool overwrite = a == Dialogs::Answer::Overwrite;
    if (overwrite) {
      QCOMPARE(ReadBytes(file).count("[Area."), 2);
      QCOMPARE(ReadBytes(file + QStringLiteral(".bak")), theirs);
    } else {
      QCOMPARE(ReadBytes(file), theirs);
    }
    const bool reload = a == Dialogs::Answer::Reload;
    QCOMPARE(e.ListCount(), reload ? 5 : 2);
    QCOMPARE(e.doc.FileChanged, a == Dialogs::Answer::Cancel);
    QCOMPARE(e.window->Ended(), overwrite && road == QLatin1String("Exit"));
    QCOMPARE(e.window->StatusBar->text().contains(QStringLiteral("reloaded")),
             reload);
    // A cancelled save asks again the next time.
    if (a == Dialogs::Answer::Cancel) {
      e.dialogs.setNextAnswer(Dialogs::Answer::Overwrite);
      QVERIFY(e.window->FileSave());
      QCOMPARE(e.DiskQuestions(), 2);
      QCOMPARE(ReadBytes(file).count("[Area."), 2);
    }
  }

  void watcherSeesOtherPrograms_data() {
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<bool>("atomic");
    QTest::addColumn<int>("answer");
    using A = Dialogs::Answer;
    QTest::newRow("nothing unsaved, replaced: reloads by itself")
        << false << true << int(A::Cancel);
    QTest::newRow("nothing unsaved, rewritten: reloads by itself")
        << false << false << int(A::Cancel);
    QTest::newRow("unsaved, Overwrite") << true << true << int(A::Overwrite);
    QTest::newRow("unsaved, Reload") << true << false << int(A::Reload);
    QTest::newRow("unsaved, Cancel") << true << true << int(A::Cancel);
  }
  void watcherSeesOtherPrograms() {
    QFETCH(bool, unsaved);
    QFETCH(bool, atomic);
    QFETCH(int, answer);
    const auto a = Dialogs::Answer(answer);
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    Editor e;
    e.StartWith(file);
    e.ClickEntry(1);
    if (unsaved) e.Click(4);  // Delete: two areas left here
    e.dialogs.setNextAnswer(a);
    // An area put in front: every area of ours is one place further on.
    std::vector<TestArea> areas = NumberedAreas(5);
    for (int i = 0; i < 5; ++i)
      areas[i].title =
          i == 0 ? "Inserted" : "Area title " + QByteArray::number(i);
    const QByteArray theirs = SceneryText(areas);
    WriteFromOutside(file, theirs, atomic);

    const bool reload = !unsaved || a == Dialogs::Answer::Reload;
    if (unsaved)
      QTRY_COMPARE(e.DiskQuestions(), 1);
    else
      QTRY_COMPARE(e.ListCount(), 5);
    QCOMPARE(e.ListCount(), reload ? 5 : 2);
    QCOMPARE(e.doc.FileChanged, a == Dialogs::Answer::Cancel && unsaved);
    QCOMPARE(ReadBytes(file).count("[Area."),
             a == Dialogs::Answer::Overwrite ? 2 : 5);
    if (reload) {
      QCOMPARE(
          e.window->StatusBar->text(),
          file + QStringLiteral(" (reloaded: another program changed it)"));
      // The area shown ("Area title 1" after the Delete, else 2) is found
      // again.
      QCOMPARE(e.Selected(), unsaved ? 1 : 2);
    }
    // The change is not asked about again; the next save asks.
    QTest::qWait(700);
    QCOMPARE(e.DiskQuestions(), unsaved ? 1 : 0);
    if (a == Dialogs::Answer::Cancel && unsaved) {
      QVERIFY(!e.window->FileSave());
      QCOMPARE(e.DiskQuestions(), 2);
      QCOMPARE(ReadBytes(file), theirs);
    }
  }

  void watcherIgnoresOwnSavesAndFollowsReplacements() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    Editor e;
    e.StartWith(file);
    e.ClickEntry(0);
    e.Click(4);
    for (int save = 0; save < 2; ++save) {
      QVERIFY(e.window->FileSave());
      QTest::qWait(700);
      QVERIFY(e.dialogs.shown.empty());
      QCOMPARE(e.window->StatusBar->text(), file);
    }
    QCOMPARE(e.ListCount(), 2);
    // The file our save put in place is watched: a change written into it
    // is seen.
    WriteFromOutside(file, SceneryText(NumberedAreas(5)), false);
    QTRY_COMPARE(e.ListCount(), 5);
    QVERIFY(e.dialogs.shown.empty());
  }

  void unreadableChangeIsToldOnce() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    Editor e;
    e.StartWith(file);
    WriteFromOutside(file, "junk\r\n", true);
    QTRY_COMPARE(e.dialogs.messages().size(), 1);
    QVERIFY(e.dialogs.shown.back().detail.startsWith(file));
    WriteBytes(Path(QStringLiteral("other.txt")), "the folder changes again");
    QTest::qWait(700);
    QCOMPARE(e.dialogs.messages().size(), 1);
    QCOMPARE(e.ListCount(), 3);
    // The next save asks before replacing what the other program wrote.
    QVERIFY(!e.window->FileSave());
    QCOMPARE(e.DiskQuestions(), 1);
    QCOMPARE(ReadBytes(file), QByteArray("junk\r\n"));
  }

  // With the desktop's own dialogs: a change seen while a question is shown
  // waits for its answer, and is then asked about on its own.
  void changeSeenDuringQuestionWaits() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    Store(QStringLiteral("Paths"), QStringLiteral("FSPath"), file);
    SceneryDocument doc;
    DesktopDialogs dialogs;
    FrmConfig w(doc, dialogs);
    w.Startup();
    doc.FileChanged = true;
    int asked = 0;
    qsizetype mostAtOnce = 0;
    bool answering = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
      QList<QMessageBox*> boxes;
      for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(top); b && b->isVisible())
          boxes << b;
      mostAtOnce = std::max(mostAtOnce, boxes.size());
      if (boxes.isEmpty() || answering) return;
      answering = true;
      if (++asked == 1) {
        WriteBytes(file, SceneryText(NumberedAreas(6)));
        QTest::qWait(700);
      }
      boxes.first()->button(QMessageBox::Cancel)->click();
      answering = false;
    });
    poll.start(20);
    WriteFromOutside(file, SceneryText(NumberedAreas(5)), true);
    QTRY_COMPARE(asked, 2);
    QTest::qWait(700);
    QCOMPARE(asked, 2);
    QCOMPARE(mostAtOnce, 1);
    QVERIFY(doc.FileChanged);
    QCOMPARE(doc.LastArea, 2);
  }

  // ---- the desktop's message boxes, answered with keys ----

  void desktopMessageBox_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("act");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("detail");
    using B = Dialogs::Buttons;
    using A = Dialogs::Answer;
    const QString none;
    const QString escape = QStringLiteral("escape");
    const QString close = QStringLiteral("close");
    QTest::newRow("Yes/No, Escape")
        << int(B::YesNo) << escape << true << int(A::Yes) << none;
    QTest::newRow("Yes/No, close button")
        << int(B::YesNo) << close << true << int(A::Yes) << none;
    QTest::newRow("Yes/No/Cancel, Escape")
        << int(B::YesNoCancel) << escape << false << int(A::Cancel) << none;
    QTest::newRow("Overwrite/Reload/Cancel, Escape")
        << int(B::OverwriteReloadCancel) << escape << false << int(A::Cancel)
        << none;
    QTest::newRow("Overwrite/Reload/Cancel, close button")
        << int(B::OverwriteReloadCancel) << close << false << int(A::Cancel)
        << none;
    QTest::newRow("Overwrite")
        << int(B::OverwriteReloadCancel) << QStringLiteral("Over&write")
        << false << int(A::Overwrite) << none;
    QTest::newRow("Reload")
        << int(B::OverwriteReloadCancel) << QStringLiteral("Rel&oad") << false
        << int(A::Reload) << none;
    QTest::newRow("OK with detail")
        << int(B::Ok) << escape << false << int(A::Ok)
        << QStringLiteral("/x/Scenery.cfg: there is no [Area. line");
  }
  void desktopMessageBox() {
    QFETCH(int, buttons);
    QFETCH(QString, act);
    QFETCH(bool, staysOpen);
    QFETCH(int, answer);
    QFETCH(QString, detail);
    QWidget parent;
    parent.show();
    bool stayed = false;
    QString shownDetail;
    // Acts on the box once it is shown, then presses Yes if it is still open.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      poll.stop();
      shownDetail = box->detailedText();
      if (act == QLatin1String("escape"))
        QTest::keyClick(box, Qt::Key_Escape);
      else if (act == QLatin1String("close"))
        box->close();
      else
        for (QAbstractButton* b : box->buttons())
          if (b->text() == act) b->click();
      QCoreApplication::processEvents();
      stayed = box->isVisible();
      if (stayed) box->button(QMessageBox::Yes)->click();
    });
    poll.start(10);
    DesktopDialogs dialogs;
    const auto got =
        dialogs.Message(&parent, QStringLiteral("Question?"),
                        Dialogs::Buttons(buttons), QString(), detail);
    QCOMPARE(stayed, staysOpen);
    QCOMPARE(int(got), answer);
    QCOMPARE(shownDetail, detail);
  }

  // ---- the panel ----

  void panelShowsArea_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("direct");
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("required");
    QTest::newRow("local true")
        << QByteArray("Local=a\r\nActive=True\r\nRequired=TRUE\r\n") << true
        << true << true;
    QTest::newRow("LOCAL upper")
        << QByteArray("LOCAL=a\r\nActive=tRuE\r\nRequired=1\r\n") << true
        << true << false;
    QTest::newRow("remote")
        << QByteArray("Remote=a\r\nActive=yes\r\nRequired=true\r\n") << false
        << false << true;
    QTest::newRow("no key")
        << QByteArray("Active=\r\n") << false << false << false;
  }

  void panelShowsArea() {
    QFETCH(QByteArray, body);
    QFETCH(bool, direct);
    QFETCH(bool, active);
    QFETCH(bool, required);
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    WriteBytes(file, SceneryText({{"001", "One", body}}));
    Editor e;
    e.StartWith(file);
    QCOMPARE(e.window->Option1[1]->isChecked(), direct);
    QCOMPARE(e.window->Option1[0]->isChecked(), !direct);
    QCOMPARE(e.window->Check1->isChecked(), active);
    QCOMPARE(e.window->Check2->isChecked(), required);
  }

  void panelNumbersAndFlattenOrder() {
    std::vector<TestArea> areas = NumberedAreas(7);
    areas[6].body =
        "Local=x\r\nFlatten.7=seven\r\nExclude=ex\r\nFlatten.1=one\r\n"
        "Flatten.4=four\r\n";
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    WriteBytes(file, SceneryText(areas));
    Editor e;
    e.StartWith(file);
    e.ClickEntry(3);
    QCOMPARE(e.doc.CurrentArea, 3);
    e.ClickEntry(6);
    auto& w = *e.window;
    QCOMPARE(e.doc.CurrentArea, 6);
    QCOMPARE(w.Text1[0]->text(), QStringLiteral("007"));
    QCOMPARE(w.Text1[3]->text(), QStringLiteral("7"));
    QCOMPARE(w.Text1[4]->text(), QStringLiteral("ex"));
    QCOMPARE(w.Text1[5]->text(), QStringLiteral("seven"));
    QCOMPARE(w.Text1[6]->text(), QStringLiteral("one"));
    QCOMPARE(w.Text1[7]->text(), QStringLiteral("four"));
    QVERIFY(w.Text1[8]->text().isEmpty());
    // Keys move the selection as clicks do.
    w.LstTitle->setFocus();
    QTest::keyClick(w.LstTitle, Qt::Key_Up);
    QCOMPARE(e.doc.CurrentArea, 5);
    QCOMPARE(w.Text1[1]->text(), QStringLiteral("Area title 6"));
  }

  void panelShowsCodePageText() {
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    WriteBytes(file, SceneryText({{"001", "Z\xfcrich \x80 \x9f"}}));
    Editor e;
    e.StartWith(file);
    QCOMPARE(e.window->Text1[1]->text(), QString::fromUtf8("Zürich € Ÿ"));
  }

  // ---- shortcuts, whatever has the focus ----

  void shortcutsWorkInReadOnlyBoxAndList() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    Editor e;
    e.StartWith(file);
    auto& w = *e.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    for (QWidget* focus : {static_cast<QWidget*>(w.Text1[0]),
                           static_cast<QWidget*>(w.LstTitle)}) {
      focus->setFocus();
      QTRY_VERIFY(focus->hasFocus());
      e.dialogs.shown.clear();
      QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
      QCOMPARE(e.dialogs.shown.size(), std::size_t(1));
      QCOMPARE(e.dialogs.shown.back().kind, QStringLiteral("save"));
      QTest::keyClick(focus, Qt::Key_F, Qt::ControlModifier);
      QCOMPARE(e.dialogs.shown.back().kind, QStringLiteral("input"));
      QCOMPARE(e.Selected(), 0);
      QTest::keyClick(focus, Qt::Key_F3);
      QCOMPARE(e.Selected(), 1);
      e.doc.FileChanged = true;
      QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
      QVERIFY(!e.doc.FileChanged);
      QVERIFY(QFile::exists(file + QStringLiteral(".bak")));
    }
    QTest::keyClick(w.Text1[0], Qt::Key_X, Qt::ControlModifier);
    QVERIFY(w.Ended());
  }

  void enterAndEscape() {
    Editor e;
    e.StartWith(MakeFile(QStringLiteral("Scenery.cfg"), 4));
    auto& w = *e.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    e.ClickEntry(1);
    w.LstTitle->setFocus();
    // Esc presses Cancel in the view state: the last area is selected.
    QTest::keyClick(w.LstTitle, Qt::Key_Escape);
    QCOMPARE(e.Selected(), 3);
    // Enter does nothing while O K is disabled.
    QTest::keyClick(w.LstTitle, Qt::Key_Return);
    QVERIFY(e.dialogs.shown.empty());
    QVERIFY(!w.Command1[8]->isEnabled());
  }

  void menuAccessKeys() {
    Editor e;
    e.StartWith(MakeFile(QStringLiteral("Scenery.cfg"), 2));
    auto& w = *e.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.LstTitle->setFocus();
    const std::pair<QMenu*, Qt::Key> menus[] = {{w.MnuFile, Qt::Key_F},
                                                {w.MnuTools, Qt::Key_T},
                                                {w.MnuHelp, Qt::Key_H}};
    for (const auto& [menu, key] : menus) {
      QTest::keyClick(w.LstTitle, key, Qt::AltModifier);
      QTRY_VERIFY(menu->isVisible());
      menu->close();
      QTRY_VERIFY(!menu->isVisible());
    }
  }

  // ---- recent files ----

  void recentFilesFromStore() {
    const QString a = MakeFile(QStringLiteral("A.cfg"), 1);
    const QString b = MakeFile(QStringLiteral("B.cfg"), 2);
    const QString c = MakeFile(QStringLiteral("C.cfg"), 3);
    Store("Recent Files", "File 1", a);
    Store("Recent Files", "File 2", b.toUpper() == b ? b : b);
    Store("Recent Files", "File 3", a.toUpper());  // same file, other case
    Store("Recent Files", "File 5", c);            // after a gap: not read
    Editor e;
    e.StartWith(b);
    QCOMPARE(e.window->RecentCount(), 2);
    QCOMPARE(e.window->RecentFile(1), a);
    QCOMPARE(e.window->RecentFile(2), b);
    QVERIFY(e.window->MnuFileArray[0]->isVisible());
  }

  void recentFileRemovedWhenGone() {
    const QString a = MakeFile(QStringLiteral("A.cfg"), 1);
    const QString b = MakeFile(QStringLiteral("B.cfg"), 2);
    const QString c = MakeFile(QStringLiteral("C.cfg"), 3);
    Store("Recent Files", "File 1", a);
    Store("Recent Files", "File 2", b);
    Store("Recent Files", "File 3", c);
    Editor e;
    e.StartWith(a);
    QFile::remove(b);
    e.window->MnuFileArray[2]->trigger();
    QCOMPARE(e.window->RecentCount(), 2);
    QCOMPARE(e.window->RecentFile(1), a);
    QCOMPARE(e.window->RecentFile(2), c);
    QCOMPARE(e.window->MnuFileArray[2]->text(), c);
    QVERIFY(e.dialogs.shown.empty());
    e.window->MnuSave_Click();
    QCOMPARE(Stored("Recent Files", "File 1"), a);
    QCOMPARE(Stored("Recent Files", "File 2"), c);
    QCOMPARE(Stored("Recent Files", "File 3"), c);
    Editor next;
    next.StartWith(a);
    QCOMPARE(next.window->RecentCount(), 2);

    // Clicking an entry whose file is there opens it.
    next.window->MnuFileArray[2]->trigger();
    QCOMPARE(next.ListCount(), 3);
    QCOMPARE(next.doc.ConfigFile, c.toStdString());
  }

  void removingOnlyEntryKeepsSeparator() {
    const QString a = MakeFile(QStringLiteral("A.cfg"), 1);
    Editor e;
    e.StartWith(a);
    QFile::remove(a);
    e.window->MnuFileArray[1]->trigger();
    QCOMPARE(e.window->RecentCount(), 0);
    QVERIFY(e.window->MnuFileArray[0]->isVisible());
  }

  void thirtyLoads() {
    Editor e;
    e.StartWith(MakeFile(QStringLiteral("f0.cfg"), 1));
    for (int i = 1; i < 30; ++i) {
      e.dialogs.setNextFileName(MakeFile(QStringLiteral("f%1.cfg").arg(i), 1));
      e.window->MnuLoad_Click();
    }
    QCOMPARE(e.window->RecentCount(), 30);
    QCOMPARE(e.window->RecentFile(1), Path(QStringLiteral("f0.cfg")));
    QCOMPARE(e.window->RecentFile(30), Path(QStringLiteral("f29.cfg")));
    // Loading a listed path in other letter case adds nothing.
    e.window->UpdateMenu(Path(QStringLiteral("F3.CFG")), 0);
    QCOMPARE(e.window->RecentCount(), 30);
  }

  void recentFilesMatchSeparatorsAsTheHostDoes() {
    struct Case {
      const char *listed, *other;
      bool windows, same;
    };
    const Case cases[] = {
        {"C:\\FS\\Scenery.cfg", "c:/fs/SCENERY.CFG", true, true},
        {"C:\\FS\\Scenery.cfg", "C:\\FS\\Scenery.cfg2", true, false},
        {"/fs/a\\b.cfg", "/fs/a/b.cfg", false, false},
        {"/fs/Scenery.cfg", "/FS/scenery.cfg", false, true},
    };
    for (const Case& c : cases) {
      RecentFileList list(c.windows);
      list.Add(QString::fromLatin1(c.listed));
      QCOMPARE(list.IndexOf(QString::fromLatin1(c.other)), c.same ? 0 : -1);
      QCOMPARE(list.Add(QString::fromLatin1(c.other)), !c.same);
    }
  }

#ifndef Q_OS_WIN
  // A POSIX file name may be any bytes; the window shows what it can and
  // loads and saves the file under its own name.
  void fileNameThatIsNotUtf8() {
    for (const char* path :
         {"/fs/Sc\xE9nery.cfg", "/fs/\xFF\xFE", "/fs/\xED\xA0\x80",
          "/fs/Z\xC3\xBCrich/\xF0\x9F\x98\x80.cfg", "/fs/\xC3"}) {
      QCOMPARE(ToHostPath(FromHostPath(path)), std::string(path));
    }
    QCOMPARE(FromHostPath("/Z\xC3\xBCrich"), QString::fromUtf8("/Zürich"));

    const std::string name = tmp_->path().toStdString() + "/Sc\xE9nery.cfg";
    const QByteArray text = SceneryText({{"002", "B"}, {"001", "A"}});
    std::ofstream(name, std::ios::binary).write(text.data(), text.size());
    // QTemporaryDir cannot name these files to remove them.
    const auto removeFiles = qScopeGuard([&name] {
      std::filesystem::remove(name);
      std::filesystem::remove(name + ".bak");
    });
    Editor e;
    e.window->Startup(FromHostPath(name));
    QCOMPARE(e.ListCount(), 2);
    QCOMPARE(e.doc.ConfigFile, name);
    QVERIFY(e.window->FileSave());
    std::string bytes, error;
    QVERIFY(ReadWholeFile(name + ".bak", bytes, error));
    QCOMPARE(bytes, text.toStdString());
    QVERIFY(ReadWholeFile(name, bytes, error));
    QVERIFY(bytes.find("Title=A") < bytes.find("Title=B"));
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(tmp_->path().toStdString()))
      files += entry.is_regular_file();
    QCOMPARE(files, 2);  // the file and its backup, no other name
  }
#endif

  void recentPathWithAmpersand() {
    const QString a = MakeFile(QStringLiteral("R&D.cfg"), 1);
    Editor e;
    e.StartWith(a);
    QCOMPARE(e.window->RecentFile(1), a);
    e.window->MnuFileArray[1]->trigger();
    QCOMPARE(e.doc.ConfigFile, a.toStdString());
  }
};

QTEST_MAIN(FrmConfigTest)
#include "frm_config_test.moc"
