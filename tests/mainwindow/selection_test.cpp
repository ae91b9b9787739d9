// SPDX-License-Identifier: MIT
#include <QAbstractProxyModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>
#include <QUndoStack>

#include "frm_check_areas.h"
#include "gui_fixture.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

class SelectionTest : public GuiTest {
  Q_OBJECT

  // Six areas: France 1 to 3 at layers 2, 4, 5; the France 3 area is
  // inactive and its folder is gone, as are all others'.
  QString MakeFrance() {
    auto area = [](const char* n, const char* title, const char* active) {
      return TestArea{n, title,
                      QByteArray("Local=Addon\\") + title +
                          "\r\nActive=" + active + "\r\nRequired=False\r\n"};
    };
    WriteBytes(Path(QStringLiteral("FS/Addon/France 1/scenery/a.bgl")), "x");
    WriteBytes(
        Path(QStringLiteral("FS/Scenery.cfg")),
        SceneryText(
            {area("001", "Base", "True"), area("002", "France 1", "True"),
             area("003", "Spain", "True"), area("004", "France 2", "True"),
             area("005", "France 3", "False"), area("006", "Italy", "True")}));
    return Path(QStringLiteral("FS/Scenery.cfg"));
  }
  static QStringList Titles(const Editor& e) {
    QStringList titles;
    for (const AreaEntry& a : e.doc.Areas)
      titles << QString::fromLatin1(a.Title.c_str());
    return titles;
  }
  static QString Actives(const Editor& e) {
    QString texts;
    for (const AreaEntry& a : e.doc.Areas)
      texts += QString::fromLatin1(a.Active.c_str()).left(1);
    return texts;
  }
  static QUndoStack* History(Editor& e) {
    return e.window->findChild<QUndoStack*>();
  }
  static void ShiftClick(Editor& e, int row) {
    auto* view = e.window->LstTitle;
    const QRect r = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      r.center());
  }

 private slots:
  void init() { FreshFolder(); }

  // Raise, Lower, Delete and Move To on a selection: one step each, the
  // block keeping its order; refused as a whole; Edit is of one entry.
  void commandsOnSeveralAreas() {
    Editor e;
    e.StartWith(MakeFrance());
    e.ClickEntry(3);
    ShiftClick(e, 4);
    QCOMPARE(e.window->StatusMessage->text(),
             QStringLiteral("2 areas selected"));
    e.Click(3);  // Lower
    QCOMPARE(Titles(e), (QStringList{"Base", "France 1", "France 2", "France 3",
                                     "Spain", "Italy"}));
    QCOMPARE(e.doc.CurrentArea, 3);  // the entry shown moved with it
    e.Click(3);                      // refused: France 2 is at layer 3
    QCOMPARE(Titles(e)[2], QStringLiteral("France 2"));
    QCOMPARE(History(e)->count(), 1);
    e.dialogs.setNextInput(QStringLiteral("5"));
    e.window->MnuMoveTo_Click();
    QCOMPARE(Titles(e), (QStringList{"Base", "France 1", "Spain", "Italy",
                                     "France 2", "France 3"}));
    e.dialogs.setNextInput(QStringLiteral("6"));  // the last would pass
    e.window->MnuMoveTo_Click();
    QCOMPARE(e.dialogs.shown.back().prompt,
             QStringLiteral("There is no layer 7: the layers go from 1 to 6."));
    e.Click(4);  // Delete both
    QCOMPARE(Titles(e), (QStringList{"Base", "France 1", "Spain", "Italy"}));
    QCOMPARE(History(e)->count(), 3);
    e.window->MnuUndo_Click();
    QCOMPARE(Titles(e).size(), 6);
    QCOMPARE(e.window->LstTitle->selectionModel()->selectedRows().size(), 2);
    e.Click(5);  // Edit: the entry shown alone
    QCOMPARE(e.window->LstTitle->selectionModel()->selectedRows().size(), 1);
    QVERIFY(e.window->StatusMessage->text().isEmpty());
    e.Click(9);
  }

  // Space, the two Tools items and SwitchAreas: only changed areas are
  // written, one step each.
  void switchAreasOnAndOff() {
    Editor e;
    e.StartWith(MakeFrance());
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
    e.ClickEntry(3);
    ShiftClick(e, 4);  // France 2 on, France 3 off
    e.doc.FileChanged = false;
    QTest::keyClick(e.window->LstTitle, Qt::Key_Space);
    QCOMPARE(Actives(e), QStringLiteral("TTTTTT"));
    QVERIFY(e.doc.FileChanged);
    QTest::keyClick(e.window->LstTitle, Qt::Key_Space);
    QCOMPARE(Actives(e), QStringLiteral("TTTFFT"));
    QTest::keyClick(e.window->LstTitle, Qt::Key_A,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Actives(e), QStringLiteral("TTTTTT"));
    QTest::keyClick(e.window->LstTitle, Qt::Key_D,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(History(e)->count(), 4);
    QCOMPARE(e.window->SwitchAreas({{0, false}, {3, false}, {5, true}},
                                   QStringLiteral("Set")),
             1);
    QCOMPARE(Actives(e), QStringLiteral("FTTFFT"));
    e.window->MnuUndo_Click();
    e.window->MnuUndo_Click();
    QCOMPARE(Actives(e), QStringLiteral("TTTTTT"));
    QCOMPARE(e.doc.Areas[4].Active, std::string("True"));
    QVERIFY(e.dialogs.shown.empty());
  }

  // The filter: the shown entries, their real layers, the current entry,
  // Search, Escape, a command's area staying shown, nothing shown.
  void filterShowsMatchingAreas() {
    Editor e;
    e.StartWith(MakeFrance());
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
    QTest::keyClick(e.window->LstTitle, Qt::Key_L, Qt::ControlModifier);
    QVERIFY(e.window->FilterBox->hasFocus());
    QTest::keyClicks(e.window->FilterBox, QStringLiteral("fRANCE"));
    QCOMPARE(e.ListCount(), 3);
    QCOMPARE(e.Title(1), QStringLiteral("4        France 2"));
    QCOMPARE(e.doc.CurrentArea, 1);  // the last area hidden: the first shown
    e.dialogs.setNextInput(QStringLiteral("a"));
    e.window->MnuSearch_Click();  // Spain and Base are not searched
    QCOMPARE(e.doc.CurrentArea, 1);
    e.window->MnuSearchNext_Click();
    QCOMPARE(e.doc.CurrentArea, 3);
    e.window->FilterKind->setCurrentIndex(1);  // Active
    QCOMPARE(e.ListCount(), 2);
    e.ClickEntry(1);
    QTest::keyClick(e.window->LstTitle, Qt::Key_Space);  // France 2 off
    QCOMPARE(e.ListCount(), 2);  // it stays until the filter changes
    e.window->FilterKind->setCurrentIndex(0);
    e.window->FilterKind->setCurrentIndex(1);
    QCOMPARE(e.ListCount(), 1);
    e.window->FilterBox->setText(QStringLiteral("nowhere"));
    QCOMPARE(e.ListCount(), 0);
    QVERIFY(!e.window->Command1[4]->isEnabled());
    QVERIFY(!e.window->MnuDeactivate->isEnabled());
    QVERIFY(e.window->Command1[6]->isEnabled());  // Add needs no area
    e.window->FilterBox->setText(QStringLiteral("Italy"));
    e.window->FilterKind->setCurrentIndex(0);
    QCOMPARE(e.doc.CurrentArea, 5);
    e.window->FilterBox->setFocus();
    QTest::keyClick(e.window->FilterBox, Qt::Key_Escape);  // empties it
    QVERIFY(e.window->FilterBox->text().isEmpty());
    QCOMPARE(e.ListCount(), 6);
    QCOMPARE(e.Selected(), 5);  // still the current one
    QTest::keyClick(e.window->FilterBox, Qt::Key_Escape);  // now Cancel
    QCOMPARE(e.Selected(), 5);
  }

  // The editing keys belong to a text box being typed into; elsewhere to
  // the menus.
  void editingKeysStayInTextBoxes() {
    Editor e;
    e.StartWith(MakeFrance());
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
    e.Click(5);  // Edit
    QLineEdit* title = e.window->Text1[1];
    QVERIFY(title->hasFocus());
    QTest::keyClick(title, Qt::Key_A, Qt::ControlModifier);  // select all
    QTest::keyClick(title, Qt::Key_X, Qt::ControlModifier);  // cut
    QVERIFY(title->text().isEmpty());
    QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier);  // undo typing
    QCOMPARE(title->text(), QStringLiteral("Italy"));
    QTest::keyClick(title, Qt::Key_Delete);
    QVERIFY(!e.window->Ended());
    QVERIFY(e.dialogs.shown.empty());
    e.Click(9);
    // The filter box too; the list keeps the menu's key.
    e.window->FilterBox->setFocus();
    QTest::keyClicks(e.window->FilterBox, QStringLiteral("Fr"));
    QTest::keyClick(e.window->FilterBox, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(!e.window->Ended());
    e.window->LstTitle->setFocus();
    e.doc.FileChanged = false;
    QTest::keyClick(e.window->LstTitle, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(e.window->Ended());
  }

  // Check Areas: the Active column, inactive areas on request, and its two
  // buttons.
  void checkAreasActs() {
    Editor e;
    e.StartWith(MakeFrance());
    e.window->activateWindow();
    e.window->MnuCheckAreas_Click();
    auto* report =
        e.window->findChild<FrmCheckAreas*>(QStringLiteral("FrmCheckAreas"));
    QVERIFY(report);
    // Base, Spain, France 2 and Italy are gone and on; France 3 is off.
    QTRY_COMPARE(report->windowTitle(),
                 QStringLiteral("Check Areas: 4 problems"));
    report->ChkShowInactive->setChecked(true);
    QCOMPARE(report->TblProblems->rowCount(), 5);
    QCOMPARE(report->TblProblems->item(3, 1)->text(),
             QStringLiteral("France 3"));
    QCOMPARE(report->TblProblems->item(3, 2)->text(), QStringLiteral("No"));
    report->ChkShowInactive->setChecked(false);
    report->TblProblems->selectRow(1);  // Spain
    report->TblProblems->selectionModel()->select(
        report->TblProblems->model()->index(2, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::mouseClick(report->CmdDeactivate, Qt::LeftButton);
    QCOMPARE(Actives(e), QStringLiteral("TTFFFT"));
    QCOMPARE(History(e)->count(), 1);
    QTRY_COMPARE(report->windowTitle(),
                 QStringLiteral("Check Areas: 2 problems"));
    e.window->FilterBox->setText(QStringLiteral("Base"));
    report->TblProblems->selectAll();
    QTest::mouseClick(report->CmdSelectInList, Qt::LeftButton);
    QVERIFY(e.window->FilterBox->text().isEmpty());
    QCOMPARE(e.window->LstTitle->selectionModel()->selectedRows().size(), 2);
    QCOMPARE(e.doc.CurrentArea, 0);
  }
};

QTEST_MAIN(SelectionTest)
#include "selection_test.moc"
