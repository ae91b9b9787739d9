// SPDX-License-Identifier: MIT
#include <QAbstractButton>
#include <QScrollBar>
#include <functional>

#include "gui_fixture.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

class RoomTest : public GuiTest {
  Q_OBJECT

  static bool InView(QListView* list) {
    const QRect r = list->visualRect(list->currentIndex());
    return r.isValid() && list->viewport()->rect().contains(r);
  }

 private slots:
  void init() { FreshFolder(); }
  void cleanup() { UseDesignSizedFont(); }

  // Never smaller than the design; the room goes to the list, the column
  // and the panel move with the right edge; the size is there at the next
  // start.
  void resizesAndRemembersSize() {
    UseDesignSizedFont();
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 3);
    Editor e;
    e.StartWith(file);
    auto& w = *e.window;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QSize least = w.size();
    QCOMPARE(w.centralWidget()->size(), QSize(583, 401));
    const QRect list = w.LstTitle->geometry();
    const QRect exit = w.Command1[1]->geometry();
    const QPoint titleAt = w.Text1[1]->mapTo(&w, QPoint());
    const QSize titleSize = w.Text1[1]->size();
    const QRect status = w.StatusBar->geometry();
    w.resize(least - QSize(100, 100));
    QTRY_COMPARE(w.size(), least);
    w.resize(least + QSize(300, 200));
    QTRY_COMPARE(w.LstTitle->geometry(), list.adjusted(0, 0, 300, 200));
    QCOMPARE(w.Command1[1]->geometry(), exit.translated(300, 0));
    QCOMPARE(w.Text1[1]->mapTo(&w, QPoint()), titleAt + QPoint(300, 0));
    QCOMPARE(w.Text1[1]->size(), titleSize);
    QCOMPARE(w.StatusBar->geometry(), status.adjusted(0, 200, 300, 200));
    w.MnuExit_Click();
    QCOMPARE(Stored("Window", "Size"), QStringLiteral("%1,%2")
                                           .arg(least.width() + 300)
                                           .arg(least.height() + 200));
    Editor next;
    next.StartWith(file);
    QCOMPARE(next.window->size(), least + QSize(300, 200));
  }

  // With a larger system font the whole design grows, and every caption
  // fits its control.
  void largerFontCutsNoCaption() {
    QFont f = QApplication::font();
    f.setPixelSize(18);
    QApplication::setFont(f);
    Editor e;
    auto& w = *e.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.centralWidget()->width() > 583 * 18 / 12);
    for (QLabel* l : w.centralWidget()->findChildren<QLabel*>()) {
      if (l->text().isEmpty()) continue;
      const int need = l->fontMetrics().horizontalAdvance(l->text());
      QVERIFY2(need <= l->contentsRect().width(), qPrintable(l->text()));
      QVERIFY2(l->fontMetrics().height() <= l->height(), qPrintable(l->text()));
    }
    for (QPushButton* b : w.centralWidget()->findChildren<QPushButton*>()) {
      QString text = b->text();
      text.remove(QLatin1Char('&'));
      QVERIFY2(b->fontMetrics().horizontalAdvance(text) < b->width(),
               qPrintable(text));
      QVERIFY(b->font().bold());
    }
  }

  // Each command leaves the selected entry in view, also when the list had
  // been scrolled away from it or the entry moved with the command.
  void commandsScrollSelectionIntoView() {
    const QString file = MakeFile(QStringLiteral("Scenery.cfg"), 800);
    Editor e;
    e.StartWith(file);
    auto& w = *e.window;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QListView* list = w.LstTitle;
    w.SelectListEntry(765);
    struct Step {
      const char* name;
      bool scrollToTop;  // else to the bottom, away from the entry
      std::function<void()> run;
      int selected;
    };
    const Step steps[] = {
        {"Move To", false,
         [&] {
           e.dialogs.setNextInput(QStringLiteral("10"));
           w.MnuMoveTo_Click();
         },
         9},
        {"Raise", false, [&] { e.Click(2); }, 10},
        {"Lower", false, [&] { e.Click(3); }, 9},
        {"Undo", false, [&] { w.MnuUndo_Click(); }, 10},
        {"Redo", false, [&] { w.MnuRedo_Click(); }, 9},
        {"Undo of the move", true,
         [&] {
           w.MnuUndo_Click();
           w.MnuUndo_Click();
           w.MnuUndo_Click();
         },
         765},
        {"Delete", true, [&] { e.Click(4); }, 764},
        {"Search", true,
         [&] {
           e.dialogs.setNextInput(QStringLiteral("Area title 700"));
           w.MnuSearch_Click();
         },
         699},
    };
    for (const Step& s : steps) {
      if (s.scrollToTop)
        list->scrollToTop();
      else
        list->scrollToBottom();
      s.run();
      QCOMPARE(e.Selected(), s.selected);
      QVERIFY2(InView(list), s.name);
    }
  }
};

QTEST_MAIN(RoomTest)
#include "room_test.moc"
