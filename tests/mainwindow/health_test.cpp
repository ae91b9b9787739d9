// SPDX-License-Identifier: MIT
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QTableWidget>
#include <QToolTip>
#include <QWindow>
#include <atomic>

#include "frm_check_areas.h"
#include "gui_fixture.h"
#include "health_checker.h"
#include "title_list_delegate.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

class HealthTest : public GuiTest {
  Q_OBJECT

  // Layer 1 whole, 2 gone, 3 whole but inactive, 4 whole with an odd
  // Active, 5 whole.
  QString MakeTree() {
    for (const char* area : {"Good", "Off", "Odd", "Last"})
      WriteBytes(Path(QStringLiteral("FS/Addon/%1/scenery/a.bgl")
                          .arg(QLatin1String(area))),
                 "x");
    auto body = [](const char* folder, const char* active) {
      return QByteArray("Local=Addon\\") + folder + "\r\nActive=" + active +
             "\r\nRequired=False\r\n";
    };
    WriteBytes(Path(QStringLiteral("FS/Scenery.cfg")),
               SceneryText({{"001", "Good", body("Good", "True")},
                            {"002", "Gone", body("Gone", "TRUE")},
                            {"003", "Off", body("Off", "False")},
                            {"004", "Odd", body("Odd", "yes")},
                            {"005", "Last", body("Last", "true")}}));
    return Path(QStringLiteral("FS/Scenery.cfg"));
  }
  static TitleListDelegate* Delegate(Editor& e) {
    return e.window->findChild<TitleListDelegate*>(
        QStringLiteral("TitleListDelegate"));
  }
  static FrmCheckAreas* Report(Editor& e) {
    return e.window->findChild<FrmCheckAreas*>(QStringLiteral("FrmCheckAreas"));
  }
  // The darkest grey of the entry's layer number, and whether the entry
  // has a coloured (warning) pixel.
  static std::pair<int, bool> Look(Editor& e, int row) {
    QListView* view = e.window->LstTitle;
    const QImage shot = view->viewport()->grab().toImage();
    const QRect r = view->visualRect(view->model()->index(row, 0));
    const int layerEnd = r.left() + view->fontMetrics().horizontalAdvance(
                                        QStringLiteral("0000"));
    int darkest = 255;
    bool coloured = false;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x < r.left() + 120 && x < shot.width(); ++x) {
        const QColor c = shot.pixelColor(x, y);
        if (x <= layerEnd) darkest = std::min(darkest, c.lightness());
        coloured = coloured || c.hsvSaturation() > 120;
      }
    return {darkest, coloured};
  }

 private slots:
  void init() { FreshFolder(); }

  void marksTooltipsAndGreyedEntries() {
    Editor e;
    e.StartWith(MakeTree());
    e.window->SelectListEntry(0);  // away from the rows looked at
    TitleListDelegate* d = Delegate(e);
    QVERIFY(d);
    QTRY_VERIFY(d->Marked(1));
    struct Row {
      int row;
      const char* text;
      bool marked, greyed;
      QString tip;
    };
    const QString gone =
        QDir::toNativeSeparators(Path(QStringLiteral("FS/Addon/Gone")));
    const Row rows[] = {
        {1, "2        Gone", true, false, "Folder not found: " + gone},
        {2, "3        Off", false, true, QString()},
        {3, "4        Odd", true, true,
         QStringLiteral("Flag neither true nor false: Active=yes")},
        {4, "5        Last", false, false, QString()},
    };
    const int normal = Look(e, 4).first;
    for (const Row& r : rows) {
      QCOMPARE(e.Title(r.row), QString::fromLatin1(r.text));
      QCOMPARE(d->Marked(r.row), r.marked);
      QCOMPARE(d->Greyed(r.row), r.greyed);
      QCOMPARE(d->ProblemsText(r.row), r.tip);
      const auto [darkest, coloured] = Look(e, r.row);
      QCOMPARE(coloured, r.marked);
      QCOMPARE(darkest > normal + 40, r.greyed);
    }

    // The tooltip of a marked entry, as the list shows it.
    QListView* view = e.window->LstTitle;
    const QPoint at = view->visualRect(view->model()->index(1, 0)).center();
    QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &help);
    QTRY_COMPARE(QToolTip::text(), "Folder not found: " + gone);

    // A change of the table is checked again: the gone area deleted.
    e.ClickEntry(1);
    e.Click(4);
    QCOMPARE(e.Title(1), QStringLiteral("2        Off"));
    QTRY_VERIFY(d->Marked(2) && !d->Marked(1));
  }

  void reportWindowSortsSelectsAndCopies() {
    Editor e;
    e.StartWith(MakeTree());
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
    QTest::keyClick(e.window->LstTitle, Qt::Key_K, Qt::ControlModifier);
    FrmCheckAreas* report = Report(e);
    QVERIFY(report && report->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(report));
    QTRY_COMPARE(report->windowTitle(),
                 QStringLiteral("Check Areas: 2 problems"));
    QTableWidget* table = report->TblProblems;
    auto cells = [table](int r) {
      QStringList out;
      for (int c = 0; c < table->columnCount(); ++c)
        out << table->item(r, c)->text();
      return out;
    };
    QCOMPARE(
        cells(0).mid(0, 4),
        (QStringList{"2", "Gone", "Yes", QStringLiteral("Folder not found")}));
    QCOMPARE(cells(1).mid(0, 4),
             (QStringList{"4", "Odd", "No",
                          QStringLiteral("Flag neither true nor false")}));
    // Sorted by Title, descending: Odd first.
    table->sortByColumn(1, Qt::DescendingOrder);
    QCOMPARE(cells(0)[1], QStringLiteral("Odd"));

    // Double-click selects the area; so does Enter on another row.
    const QRect r = table->visualItemRect(table->item(1, 1));
    // A user's double-click begins with a click.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(e.Selected(), 1);
    QCOMPARE(e.window->Text1[1]->text(), QStringLiteral("Gone"));
    table->setCurrentCell(0, 0);
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(e.Selected(), 3);

    QTest::mouseClick(report->CmdCopy, Qt::LeftButton);
    const QStringList copied =
        QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    QCOMPARE(copied[0],
             QStringLiteral("Layer\tTitle\tActive\tProblem\tDetail"));
    QCOMPARE(copied[1].section(QLatin1Char('\t'), 0, 3),
             QStringLiteral("4\tOdd\tNo\tFlag neither true nor false"));
    QCOMPARE(copied.size(), 4);  // two rows and the final line end

    // Mended meanwhile, seen when the main window is active again.
    WriteBytes(Path(QStringLiteral("FS/Addon/Gone/Scenery/g.BGL")), "x");
    e.window->activateWindow();
    QTRY_COMPARE(report->windowTitle(),
                 QStringLiteral("Check Areas: 1 problem"));
  }

  void olderCheckIsDropped() {
    // The first check waits until released, then reports a problem of
    // its own; the others are real.
    std::atomic<int> calls{0};
    std::atomic<bool> release{false}, firstCancelled{false}, firstDone{false};
    Editor e;
    auto* checker =
        e.window->findChild<HealthChecker*>(QStringLiteral("HealthChecker"));
    QVERIFY(checker);
    checker->SetCheckFunction(
        [&](const HealthSnapshot& s, const std::atomic<bool>* cancel) {
          if (calls++ > 0) return CheckAreaHealth(s, cancel);
          while (!release) QThread::msleep(1);
          firstCancelled = cancel->load();
          HealthReport stale;
          stale.problems = {{1, HealthCode::kOddFlag, "stale"}};
          firstDone = true;
          return stale;
        });
    e.StartWith(MakeTree());
    QTRY_VERIFY(calls >= 1);
    // Raise moves areas 3 and 4; area 1 stays where it was.
    e.ClickEntry(2);
    e.Click(2);
    TitleListDelegate* d = Delegate(e);
    QTRY_VERIFY(d->Marked(1) && d->Marked(2));  // Gone, and Odd now at 3
    release = true;
    QTRY_VERIFY(firstDone);
    QTest::qWait(50);
    QVERIFY(firstCancelled);
    QVERIFY(!d->ProblemsText(0).contains(QStringLiteral("stale")));
    QVERIFY(!d->Marked(0));
  }
};

QTEST_MAIN(HealthTest)
#include "health_test.moc"
