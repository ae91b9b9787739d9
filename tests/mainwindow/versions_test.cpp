// SPDX-License-Identifier: MIT
#include <QListWidget>
#include <QTableWidget>

#include "frm_versions.h"
#include "gui_fixture.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

class VersionsTest : public GuiTest {
  Q_OBJECT
 private slots:
  void init() {
    FreshFolder();
    // The versions that saves keep go to this test's own folder.
#ifdef Q_OS_WIN
    qputenv("LOCALAPPDATA", Path(QStringLiteral("data")).toUtf8());
#else
    qputenv("XDG_DATA_HOME", Path(QStringLiteral("data")).toUtf8());
#endif
  }

  // The remembered file is gone: the prompt is as before, and its Open
  // dialog starts at the simulator's file, which Enter then opens; the
  // status bar tells where it was found.
  void startupOffersTheSimulatorsFile() {
    const QString found = MakeFile(QStringLiteral("sim/SCENERY.CFG"), 2);
    Store("Paths", "FSPath", Path(QStringLiteral("gone/Scenery.cfg")));
    Editor e;
    e.window->SetSimulatorLocator([&] {
      return std::vector<SimulatorFile>{
          {found.toStdString(), "wine registry 7.0 (~/.wine)"}};
    });
    e.dialogs.setNextAnswer(Dialogs::Answer::Yes);
    e.dialogs.setNextFileName(found);  // Enter on the file selected
    e.window->Startup();
    QCOMPARE(e.dialogs.shown.at(0).prompt,
             QStringLiteral("Please find Flight Sim Scenery config File"));
    QCOMPARE(e.dialogs.shown.at(1).kind, QStringLiteral("open"));
    QCOMPARE(e.dialogs.shown.at(1).folder, Path(QStringLiteral("sim")));
    QCOMPARE(e.dialogs.shown.at(1).file, QStringLiteral("SCENERY.CFG"));
    QCOMPARE(e.ListCount(), 2);
    QCOMPARE(e.window->StatusMessage->text(),
             QStringLiteral("Found through wine registry 7.0 (~/.wine)"));
    // Another file loaded later was not found that way.
    e.window->MnuFileArray_Click(1);
    QCOMPARE(e.window->StatusMessage->text(), QString());
  }

  // Saves keep versions; Ctrl+H lists them with what differs from the open
  // table; Restore makes one the open table as one step that Ctrl+Z takes
  // back, nothing saved.
  void restoreIsOneStepOfTheHistory() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 4);
    Editor e;
    e.StartWith(file);
    FrmConfig& w = *e.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    e.ClickEntry(0);
    e.Click(4);  // Delete area 1
    QTest::keyClick(w.LstTitle, Qt::Key_S, Qt::ControlModifier);
    const QByteArray saved = ReadBytes(file);
    QCOMPARE(e.ListCount(), 3);

    QTest::keyClick(w.LstTitle, Qt::Key_H, Qt::ControlModifier);
    auto* versions = w.findChild<FrmVersions*>();
    QVERIFY(versions && versions->isVisible());
    QCOMPARE(versions->LstVersions->count(), 1);
    QVERIFY(versions->LstVersions->item(0)->text().endsWith("4 areas"));
    QCOMPARE(versions->TblDifferences->rowCount(), 1);
    QCOMPARE(versions->TblDifferences->item(0, 1)->text(),
             QStringLiteral("Area title 1"));
    QCOMPARE(versions->TblDifferences->item(0, 2)->text(),
             QStringLiteral("Removed"));
    QVERIFY(!versions->LstVersions->accessibleName().isEmpty());

    QTest::mouseClick(versions->CmdRestore, Qt::LeftButton);
    QVERIFY(!versions->isVisible());
    QCOMPARE(e.ListCount(), 4);
    QCOMPARE(e.Title(0), QStringLiteral("1        Area title 1"));
    QVERIFY(e.doc.FileChanged);
    QCOMPARE(ReadBytes(file), saved);

    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.LstTitle, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.ListCount(), 3);
    QCOMPARE(e.Title(0), QStringLiteral("1        Area title 2"));
    QTest::keyClick(w.LstTitle, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(e.ListCount(), 4);
    QCOMPARE(ReadBytes(file), saved);
  }
};

QTEST_MAIN(VersionsTest)
#include "versions_test.moc"
