// SPDX-License-Identifier: MIT
#include <QAbstractProxyModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "centre_form.h"
#include "frm_add_new_folders.h"
#include "frm_files.h"
#include "gui_fixture.h"
#include "scenery_writer.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

class CommandsTest : public GuiTest {
  Q_OBJECT
  using GuiTest::MakeFile;
  QString MakeFile(int areas,
                   const QString& name = QStringLiteral("Scenery.cfg")) {
    return MakeFile(name, areas);
  }
  static QString TitleAt(Editor& e, int slot) {
    return QString::fromLatin1(e.doc.Areas[slot].Title.c_str());
  }
  static void CheckNumbering(Editor& e) {
    for (int i = 0; i <= e.doc.LastArea; ++i) {
      QCOMPARE(e.doc.Areas[i].Layer, i + 1);
      QCOMPARE(e.doc.Areas[i].Number, FormatAreaNumber(i + 1));
    }
    QCOMPARE(e.ListCount(), e.doc.LastArea + 1);
  }
  static void CheckViewing(FrmConfig& w) {
    QVERIFY(w.Text1[1]->isReadOnly());
    QVERIFY(w.Text1[2]->isReadOnly());
    QVERIFY(!w.Check1->isEnabled());
    QVERIFY(!w.Option1[0]->isEnabled());
    for (int i = 1; i <= 6; ++i) QVERIFY(w.Command1[i]->isEnabled());
    QVERIFY(!w.Command1[8]->isEnabled());
    for (int i = 4; i <= 14; ++i) QVERIFY(w.Text1[i]->isReadOnly());
  }
  static void CheckEditing(FrmConfig& w) {
    QVERIFY(!w.Text1[1]->isReadOnly());
    QVERIFY(!w.Text1[2]->isReadOnly());
    QVERIFY(w.Check1->isEnabled() && w.Check2->isEnabled());
    QVERIFY(w.Option1[0]->isEnabled() && w.Option1[1]->isEnabled());
    for (int i = 1; i <= 6; ++i) QVERIFY(!w.Command1[i]->isEnabled());
    QVERIFY(w.Command1[8]->isEnabled());
    QVERIFY(w.Command1[9]->isEnabled());
    for (int i = 4; i <= 14; ++i) QVERIFY(w.Text1[i]->isReadOnly());
  }

  // Runs `act` on the folder picker as soon as Add has opened it.
  static void WhenPickerOpens(std::function<void(frmFiles&)> act) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, poll] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<frmFiles*>(w); p && p->isVisible()) {
          act(*p);
          return;
        }
      QTimer::singleShot(5, *poll);
    };
    QTimer::singleShot(0, *poll);
  }
  // Add, choosing `folder` in the picker.
  void AddChoosing(Editor& e, const QString& folder) {
    WhenPickerOpens([folder](frmFiles& p) {
      QVERIFY(p.Dir1->SetPath(folder));
      QTest::mouseClick(p.cmdFile[0], Qt::LeftButton);
    });
    e.Click(6);
  }
  QString SceneryFolder() {
    const QString f = Path(QStringLiteral("Addon Scenery/Alps"));
    QDir().mkpath(f + QStringLiteral("/scenery"));
    QDir().mkpath(f + QStringLiteral("/texture"));
    return f;
  }

 private slots:
  void init() { FreshFolder(); }

  void raiseAndLower() {
    Editor e;
    e.StartWith(MakeFile(5));
    e.ClickEntry(2);
    e.Click(2);  // Raise
    QCOMPARE(TitleAt(e, 2), QStringLiteral("Area title 4"));
    QCOMPARE(TitleAt(e, 3), QStringLiteral("Area title 3"));
    QCOMPARE(e.Selected(), 3);
    QCOMPARE(e.window->Text1[1]->text(), QStringLiteral("Area title 3"));
    QCOMPARE(e.window->Text1[0]->text(), QStringLiteral("004"));
    QVERIFY(e.doc.FileChanged);
    CheckNumbering(e);

    e.Click(3);  // Lower, back again
    QCOMPARE(TitleAt(e, 2), QStringLiteral("Area title 3"));
    QCOMPARE(TitleAt(e, 3), QStringLiteral("Area title 4"));
    QCOMPARE(e.Selected(), 2);
    CheckNumbering(e);
    CheckViewing(*e.window);
  }

  void movesThatMoveNothingStillChange_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("command");
    QTest::newRow("lower 0") << 0 << 3;
    QTest::newRow("lower 1") << 1 << 3;
    QTest::newRow("lower 2") << 2 << 3;
    QTest::newRow("raise last") << 4 << 2;
  }
  void movesThatMoveNothingStillChange() {
    QFETCH(int, slot);
    QFETCH(int, command);
    Editor e;
    e.StartWith(MakeFile(5));
    e.ClickEntry(slot);
    const auto before = e.doc.Areas;
    e.Click(command);
    QVERIFY(e.doc.Areas == before);
    QVERIFY(e.doc.FileChanged);
    QCOMPARE(e.Selected(), slot);
    e.dialogs.setNextAnswer(Dialogs::Answer::No);
    e.Click(1);
    QCOMPARE(e.dialogs.shown.back().title, QStringLiteral("WanaSave"));
    QVERIFY(e.window->Ended());
  }

  void lowerSlotThree() {
    Editor e;
    e.StartWith(MakeFile(5));
    e.ClickEntry(3);
    e.Click(3);
    QCOMPARE(TitleAt(e, 2), QStringLiteral("Area title 4"));
    QCOMPARE(e.doc.Areas[2].Number, std::string("003"));
    QCOMPARE(TitleAt(e, 3), QStringLiteral("Area title 3"));
    QCOMPARE(e.Selected(), 2);
  }

  void deleteMiddleLastAndFirst() {
    Editor e;
    e.StartWith(MakeFile(5));
    e.ClickEntry(2);
    e.Click(4);
    QCOMPARE(e.doc.LastArea, 3);
    QCOMPARE(TitleAt(e, 2), QStringLiteral("Area title 4"));
    QCOMPARE(TitleAt(e, 3), QStringLiteral("Area title 5"));
    QCOMPARE(e.Selected(), 1);
    QVERIFY(e.doc.FileChanged);
    CheckNumbering(e);

    e.ClickEntry(3);  // the last
    e.Click(4);
    QCOMPARE(e.doc.LastArea, 2);
    QCOMPARE(e.Selected(), 2);

    e.ClickEntry(0);
    e.Click(4);
    QCOMPARE(e.doc.LastArea, 1);
    QCOMPARE(TitleAt(e, 0), QStringLiteral("Area title 2"));
    CheckNumbering(e);
    // Nothing is selected, and the panel shows nothing stale.
    QCOMPARE(e.Selected(), -1);
    QCOMPARE(e.doc.CurrentArea, -1);
    QVERIFY(e.window->Text1[1]->text().isEmpty());
    const auto before = e.doc.Areas;
    for (int command : {2, 3, 4, 5}) e.Click(command);
    QVERIFY(e.doc.Areas == before);
    CheckViewing(*e.window);
  }

  void deleteEveryArea() {
    Editor e;
    e.StartWith(MakeFile(2));
    e.ClickEntry(1);
    e.Click(4);
    e.ClickEntry(0);
    e.Click(4);
    QCOMPARE(e.doc.LastArea, -1);
    QCOMPARE(e.ListCount(), 0);
    for (int command : {2, 3, 4, 5, 9}) e.Click(command);
    QCOMPARE(e.doc.LastArea, -1);
    // A file without areas could not be opened again: it is not saved.
    QVERIFY(!e.window->FileSave());
    QVERIFY(e.dialogs.messages().last().contains(QStringLiteral("no areas")));
    QVERIFY(e.doc.FileChanged);
  }

  void editThenOk() {
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    WriteBytes(
        file, SceneryText(
                  {{"001", "One", "Remote=a\r\nActive=tRUE\r\nRequired=no\r\n"},
                   {"002", "Two", "Local=b\r\nActive=x\r\n"}}));
    Editor e;
    e.StartWith(file);
    auto& w = *e.window;
    e.ClickEntry(0);
    e.Click(5);
    CheckEditing(w);
    QVERIFY(e.doc.FileChanged);
    // An empty title is refused and Editing goes on.
    w.Text1[1]->clear();
    e.Click(8);
    QCOMPARE(e.dialogs.messages().last(),
             QStringLiteral("PLEASE fill in the Title Text box"));
    CheckEditing(w);
    QTest::keyClicks(w.Text1[1], QStringLiteral("Uno"));
    QTest::keyClick(w.Text1[2], Qt::Key_End);
    QTest::keyClicks(w.Text1[2], QStringLiteral("\\more"));
    QTest::mouseClick(w.Check2, Qt::LeftButton);
    e.Click(8);
    CheckViewing(w);
    const AreaEntry& a = e.doc.Areas[0];
    QCOMPARE(a.Title, std::string("Uno"));
    QCOMPARE(a.PathValue, std::string("a\\more"));
    QCOMPARE(a.PathKey, std::string("Remote="));
    QCOMPARE(a.Active, std::string("True"));
    QCOMPARE(a.Required, std::string("True"));
    QCOMPARE(e.Selected(), 0);

    e.ClickEntry(1);
    e.Click(5);
    e.Click(8);
    QCOMPARE(e.doc.Areas[1].Active, std::string("False"));
    QCOMPARE(e.doc.Areas[1].PathKey, std::string("Local="));
  }

  void editThenSelectOtherThenOk() {
    Editor e;
    e.StartWith(MakeFile(4));
    e.ClickEntry(0);
    e.Click(5);
    e.ClickEntry(2);
    QCOMPARE(e.window->Text1[1]->text(), QStringLiteral("Area title 3"));
    e.window->Text1[1]->setText(QStringLiteral("Third"));
    e.Click(8);
    QCOMPARE(TitleAt(e, 2), QStringLiteral("Third"));
    QCOMPARE(TitleAt(e, 0), QStringLiteral("Area title 1"));
  }

  void editThenCancel() {
    Editor e;
    e.StartWith(MakeFile(4));
    e.ClickEntry(1);
    const auto before = e.doc.Areas;
    e.Click(5);
    e.window->Text1[1]->setText(QStringLiteral("Dropped"));
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
    QTest::keyClick(e.window->Text1[1], Qt::Key_Escape);
    QVERIFY(e.doc.Areas == before);
    QVERIFY(e.doc.FileChanged);
    QCOMPARE(e.Selected(), 3);
    QCOMPARE(e.window->Text1[1]->text(), QStringLiteral("Area title 4"));
    CheckViewing(*e.window);
  }

  void enterPressesOkWhileEditing() {
    Editor e;
    e.StartWith(MakeFile(2));
    auto& w = *e.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    e.ClickEntry(0);
    QTest::keyClick(w.LstTitle, Qt::Key_E, Qt::AltModifier);
    QVERIFY(w.Command1[8]->isEnabled());  // pressed at once
    CheckEditing(w);
    w.Text1[1]->setFocus();
    w.Text1[1]->setText(QStringLiteral("Entered"));
    QTest::keyClick(w.Text1[1], Qt::Key_Return);
    CheckViewing(w);
    QCOMPARE(TitleAt(e, 0), QStringLiteral("Entered"));
  }

  void titleTakesFocusForEnter_data() {
    QTest::addColumn<bool>("adding");
    QTest::newRow("Edit") << false;
    QTest::newRow("Add, after the picker's O K") << true;
  }
  void titleTakesFocusForEnter() {
    QFETCH(bool, adding);
    Editor e;
    e.StartWith(MakeFile(3));
    auto& w = *e.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    e.ClickEntry(1);
    if (adding)
      AddChoosing(e, SceneryFolder());
    else
      QTest::keyClick(w.LstTitle, Qt::Key_E, Qt::AltModifier);
    CheckEditing(w);
    QTRY_COMPARE(QApplication::focusWidget(), w.Text1[1]);
    QCOMPARE(w.Text1[1]->selectedText(), w.Text1[1]->text());
    // Enter presses O K with the title kept, or typed over.
    if (adding) QTest::keyClicks(w.Text1[1], QStringLiteral("Alps"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    CheckViewing(w);
    QVERIFY(e.dialogs.messages().isEmpty());
    QCOMPARE(TitleAt(e, adding ? 3 : 1),
             adding ? QStringLiteral("Alps") : QStringLiteral("Area title 2"));
  }

  void pickerStandsOverWindow_data() {
    QTest::addColumn<bool>("centred");
    QTest::newRow("centred window: CentreForm's place") << true;
    QTest::newRow("moved window") << false;
  }
  void pickerStandsOverWindow() {
    QFETCH(bool, centred);
    Editor e;
    e.StartWith(MakeFile(2));
    auto& w = *e.window;
    if (!centred) w.move(20, 10);
    QRect picker;
    QSize pickerSize;
    WhenPickerOpens([&](frmFiles& p) {
      picker = QRect(p.pos(), p.size());
      pickerSize = p.size();
      QTest::mouseClick(p.cmdFile[1], Qt::LeftButton);
    });
    e.Click(6);
    const QRect screen = w.screen()->geometry();
    if (centred)
      QCOMPARE(picker.topLeft(),
               screen.topLeft() + CentrePosition(screen.size(), pickerSize));
    else
      QVERIFY((picker.center() - QRect(w.pos(), w.size()).center())
                  .manhattanLength() <= 2);
  }

  void accessKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("slotAfter");
    QTest::addColumn<int>("lastAfter");
    QTest::newRow("Alt+R raise") << int(Qt::Key_R) << 4 << 4;
    QTest::newRow("Alt+L lower") << int(Qt::Key_L) << 2 << 4;
    QTest::newRow("Alt+D delete") << int(Qt::Key_D) << 2 << 3;
  }
  void accessKeys() {
    QFETCH(int, key);
    QFETCH(int, slotAfter);
    QFETCH(int, lastAfter);
    Editor e;
    e.StartWith(MakeFile(5));
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
    e.ClickEntry(3);
    QTest::keyClick(e.window->LstTitle, Qt::Key(key), Qt::AltModifier);
    QCOMPARE(e.Selected(), slotAfter);
    QCOMPARE(e.doc.LastArea, lastAfter);
  }

  void fastAccessKeys() {
    const QString file = MakeFile(55);
    Editor e;
    e.StartWith(file);
    auto& w = *e.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    e.ClickEntry(54);
    // Every press counts, however quick.
    for (int i = 0; i < 50; ++i) {
      QTest::keyClick(w.LstTitle, Qt::Key_L, Qt::AltModifier);
      QTest::qWait(20);
    }
    QCOMPARE(e.Selected(), 4);
    QCOMPARE(TitleAt(e, 4), QStringLiteral("Area title 55"));
    // and in order: the save right after a Delete writes the file without it.
    QTest::keyClick(w.LstTitle, Qt::Key_D, Qt::AltModifier);
    QTest::qWait(10);
    QTest::keyClick(w.LstTitle, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(ReadBytes(file).count("[Area."), 54);
    QVERIFY(!ReadBytes(file).contains("Title=Area title 55\r\n"));
    // A disabled button's key does nothing.
    QTest::keyClick(w.LstTitle, Qt::Key_E, Qt::AltModifier);
    CheckEditing(w);
    for (Qt::Key key : {Qt::Key_D, Qt::Key_R, Qt::Key_L, Qt::Key_A})
      QTest::keyClick(w.LstTitle, key, Qt::AltModifier);
    QCOMPARE(e.doc.LastArea, 53);
    CheckEditing(w);
    QVERIFY(e.dialogs.shown.empty());
  }

  void okRefusesWhatCannotBeStored_data() {
    QTest::addColumn<bool>("adding");
    QTest::newRow("Edit") << false;
    QTest::newRow("Add") << true;
  }
  void okRefusesWhatCannotBeStored() {
    QFETCH(bool, adding);
    const QString file = MakeFile(3);
    Editor e;
    e.StartWith(file);
    e.ClickEntry(0);
    if (adding)
      AddChoosing(e, SceneryFolder());
    else
      e.Click(5);
    const auto before = e.doc.Areas;
    e.window->Text1[1]->setText(QStringLiteral("New"));
    // A folder that would read back as the start of another area.
    e.window->Text1[2]->setText(QStringLiteral("x[Area.2]"));
    e.Click(8);
    QCOMPARE(e.dialogs.messages().last(),
             QStringLiteral("The Path holds text that a scenery file cannot "
                            "store (it would be read back differently). "
                            "Please change it."));
    CheckEditing(*e.window);
    QCOMPARE(e.window->AddingArea, adding);
    QVERIFY(e.doc.Areas == before);
    QCOMPARE(e.doc.LastArea, 2);
    e.window->Text1[2]->setText(QStringLiteral("x[Arena.2]"));
    e.Click(8);
    CheckViewing(*e.window);
    QCOMPARE(e.doc.Areas[adding ? 3 : 0].PathValue, std::string("x[Arena.2]"));
    QVERIFY(e.window->FileSave());
  }

  void otherProgramsChangeWaitsForPicker() {
    const QString file = MakeFile(3);
    Editor e;
    e.StartWith(file);
    bool waited = false;
    WhenPickerOpens([&](frmFiles& p) {
      WriteBytes(file, SceneryText(NumberedAreas(5)));
      QTest::qWait(700);
      waited = e.ListCount() == 3 && e.dialogs.shown.empty();
      QTest::mouseClick(p.cmdFile[1], Qt::LeftButton);  // Cancel
    });
    e.Click(6);
    QVERIFY(waited);
    QTRY_COMPARE(e.ListCount(), 5);
    QVERIFY(e.dialogs.shown.empty());
  }

  void textsTheCodePageCannotHold() {
    Editor e;
    e.StartWith(MakeFile(2));
    e.ClickEntry(0);
    e.Click(5);
    e.window->Text1[1]->setText(QString::fromUtf8("Москва"));
    e.Click(8);
    QVERIFY(e.dialogs.messages().last().contains(QStringLiteral("Title")));
    CheckEditing(*e.window);
    QCOMPARE(TitleAt(e, 0), QStringLiteral("Area title 1"));
    e.window->Text1[1]->setText(QString::fromUtf8("Zürich"));
    e.window->Text1[2]->setText(QString::fromUtf8("Scenery\\日本"));
    e.Click(8);
    QVERIFY(e.dialogs.messages().last().contains(QStringLiteral("Path")));
    e.window->Text1[2]->setText(QString::fromUtf8("Scenery\\Zürich"));
    e.Click(8);
    QCOMPARE(e.doc.Areas[0].Title, std::string("Z\xfcrich"));
  }

  void controlCharactersTypedAreRefused() {
    Editor e;
    e.StartWith(MakeFile(2));
    e.doc.Areas[0].Exclude = "x\ty";  // as if read from the file
    e.ClickEntry(0);
    e.Click(5);
    e.window->Text1[1]->setText(QStringLiteral("two\tcolumns"));
    e.Click(8);
    QCOMPARE(e.dialogs.messages().last(),
             QStringLiteral("The Title holds a line break, a tab or another "
                            "control character, which a scenery file cannot "
                            "store. Please change it."));
    CheckEditing(*e.window);
    QCOMPARE(TitleAt(e, 0), QStringLiteral("Area title 1"));
    e.window->Text1[1]->setText(QStringLiteral("one column"));
    e.Click(8);
    CheckViewing(*e.window);
    QCOMPARE(e.doc.Areas[0].Title, std::string("one column"));
    QCOMPARE(e.doc.Areas[0].Exclude, std::string("x\ty"));
  }

  // ---- Add, through the folder picker ----

  void addThenOk() {
    std::vector<TestArea> areas = NumberedAreas(12);
    areas[11].body =
        "Local=x\r\nActive=TRUE\r\nRequired=TRUE\r\nExclude=1\r\n"
        "Flatten.0=f0\r\nTextures=t\r\n";
    WriteBytes(Path(QStringLiteral("Scenery.cfg")), SceneryText(areas));
    Editor e;
    e.StartWith(Path(QStringLiteral("Scenery.cfg")));
    const QString folder = SceneryFolder();
    bool disabledMeanwhile = false;
    WhenPickerOpens([&](frmFiles& p) {
      disabledMeanwhile = !e.window->isEnabled();
      QVERIFY(p.Dir1->SetPath(folder));
      QTest::mouseClick(p.cmdFile[0], Qt::LeftButton);
    });
    e.Click(6);
    QVERIFY(disabledMeanwhile);
    QVERIFY(e.window->isEnabled());
    auto& w = *e.window;
    CheckEditing(w);
    QVERIFY(w.AddingArea);
    QCOMPARE(w.Text1[0]->text(), QStringLiteral("013"));
    QCOMPARE(w.Text1[3]->text(), QStringLiteral("13"));
    QCOMPARE(w.Text1[2]->text(), QStringLiteral("Addon Scenery\\Alps"));
    QVERIFY(w.Text1[1]->text().isEmpty());
    QVERIFY(w.Check1->isChecked());
    QVERIFY(w.Option1[1]->isChecked());
    w.Text1[1]->setText(QStringLiteral("Alps"));
    e.Click(8);
    CheckViewing(w);
    QCOMPARE(e.doc.LastArea, 12);
    const AreaEntry& a = e.doc.Areas[12];
    QCOMPARE(a.Number, std::string("013"));
    QCOMPARE(a.Layer, 13);
    QCOMPARE(a.Title, std::string("Alps"));
    QCOMPARE(a.PathKey, std::string("Local="));
    QCOMPARE(a.PathValue, std::string("Addon Scenery\\Alps"));
    QCOMPARE(a.Active, std::string("True"));
    QCOMPARE(a.Required, std::string("True"));
    QCOMPARE(a.Exclude, std::string("1"));
    QCOMPARE(a.Flatten[0], std::string("f0"));
    QVERIFY(a.TextureLine.empty());
    QCOMPARE(e.Selected(), 12);
    QCOMPARE(e.doc.SceneryPath, std::string("Addon Scenery\\Alps"));

    // The next opening starts beside the folder chosen last.
    QString openedAt;
    WhenPickerOpens([&](frmFiles& p) {
      openedAt = p.Dir1->Path();
      QTest::mouseClick(p.cmdFile[1], Qt::LeftButton);
    });
    e.Click(6);
    QCOMPARE(openedAt, folder.section(QLatin1Char('/'), 0, -2));
  }

  // Tools > Add New Folders: Ctrl+N, then Enter once the scan has listed
  // them, adds 20 new add-on folders as one step of the history; the folder
  // that areas lead to and the one without .bgl files are not offered.
  void addNewFolders() {
    WriteBytes(Path(QStringLiteral("FS/Scenery.cfg")),
               SceneryText(NumberedAreas(3)));
    for (int n = 1; n <= 20; ++n)
      WriteBytes(Path(QStringLiteral("FS/Addons/New%1/SCENERY/a.bgl")
                          .arg(n, 2, 10, QLatin1Char('0'))),
                 "x");
    WriteBytes(Path(QStringLiteral("FS/Addons/Test/scenery/a.bgl")), "x");
    WriteBytes(Path(QStringLiteral("FS/Addons/NoBgl/scenery/a.txt")), "x");
    Editor e;
    e.StartWith(Path(QStringLiteral("FS/Scenery.cfg")));
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
    int keys = 0;
    int listed = -1;
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&, poll] {
      auto* d = e.window->findChild<FrmAddNewFolders*>();
      if (!d || !d->isVisible() || d->Scanning()) {
        QTimer::singleShot(5, *poll);
        return;
      }
      listed = d->LstFolders->topLevelItemCount();
      ++keys;
      QTest::keyClick(d->focusWidget(), Qt::Key_Return);
    };
    QTimer::singleShot(0, *poll);
    ++keys;
    Key(e, Qt::Key_N);
    QCOMPARE(listed, 20);
    QCOMPARE(keys, 2);
    QCOMPARE(e.ListCount(), 23);
    const AreaEntry& first = e.doc.Areas[3];
    QCOMPARE(first.Title + "|" + first.PathKey + first.PathValue + "|" +
                 first.Active + "|" + first.Required,
             std::string("New01|Local=Addons\\New01|True|False"));
    QCOMPARE(e.doc.Areas[22].Title, std::string("New20"));
    QVERIFY(e.doc.FileChanged);
    QCOMPARE(
        e.window->findChild<QLabel*>(QStringLiteral("StatusMessage"))->text(),
        QStringLiteral("Added 20 areas"));
    // One step: Undo takes them all back, Redo brings them again.
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
    QVERIFY(e.window->MnuUndo->isEnabled());
    Key(e, Qt::Key_Z);
    QCOMPARE(e.ListCount(), 3);
    QCOMPARE(e.doc.AreaCount(), 3);
    Key(e, Qt::Key_Y);
    QCOMPARE(e.doc.AreaCount(), 23);
    QCOMPARE(e.doc.Areas[22].PathValue, std::string("Addons\\New20"));
  }

  void addCancelledInPicker() {
    Editor e;
    e.StartWith(MakeFile(4));
    e.ClickEntry(1);
    const auto before = e.doc.Areas;
    WhenPickerOpens(
        [](frmFiles& p) { QTest::keyClick(p.Dir1, Qt::Key_Escape); });
    e.Click(6);
    QVERIFY(e.window->isEnabled());
    QVERIFY(!e.window->AddingArea);
    QVERIFY(!e.doc.FileChanged);
    QVERIFY(e.doc.Areas == before);
    QCOMPARE(e.Selected(), 3);
    CheckViewing(*e.window);
    // Then an edit updates in place.
    e.ClickEntry(0);
    e.Click(5);
    e.window->Text1[1]->setText(QStringLiteral("First"));
    e.Click(8);
    QCOMPARE(e.doc.LastArea, 3);
    QCOMPARE(TitleAt(e, 0), QStringLiteral("First"));
  }

  void pickerClosedFromFrame() {
    Editor e;
    e.StartWith(MakeFile(3));
    WhenPickerOpens([](frmFiles& p) { p.close(); });
    e.Click(6);
    QVERIFY(e.window->isEnabled());
    QVERIFY(e.window->PickerDone);
    QVERIFY(!e.window->AddingArea);
    QCOMPARE(e.doc.LastArea, 2);
    CheckViewing(*e.window);
  }

  void addThenSelectOtherEntry() {
    Editor e;
    e.StartWith(MakeFile(5));
    AddChoosing(e, SceneryFolder());
    e.ClickEntry(1);
    QCOMPARE(e.window->Text1[0]->text(), QStringLiteral("002"));
    e.window->Text1[1]->setText(QStringLiteral("Inserted"));
    e.Click(8);
    QCOMPARE(e.doc.LastArea, 5);
    QCOMPARE(TitleAt(e, 2), QStringLiteral("Inserted"));
    QCOMPARE(TitleAt(e, 5), QStringLiteral("Area title 5"));
    QCOMPARE(e.Selected(), 5);
    CheckNumbering(e);
  }

  void addToEmptyAndFullTables() {
    Editor e;
    e.StartWith(MakeFile(1));
    e.ClickEntry(0);
    e.Click(4);
    QCOMPARE(e.doc.LastArea, -1);
    AddChoosing(e, SceneryFolder());
    QCOMPARE(e.window->Text1[0]->text(), QStringLiteral("001"));
    e.window->Text1[1]->setText(QStringLiteral("Only"));
    e.Click(8);
    QCOMPARE(e.doc.LastArea, 0);
    QCOMPARE(e.doc.Areas[0].Layer, 1);

    Editor full;
    full.StartWith(MakeFile(3001, QStringLiteral("full.cfg")));
    AddChoosing(full, SceneryFolder());
    full.window->Text1[1]->setText(QStringLiteral("One too many"));
    full.Click(8);
    QCOMPARE(full.doc.LastArea, 3000);
    QVERIFY(full.dialogs.messages().last().contains(QStringLiteral("3001")));
    CheckViewing(*full.window);
  }

  void newAreaTakesNothingFromDeletedOne() {
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    std::vector<TestArea> areas = NumberedAreas(3);
    areas[2].body = "Local=x\r\nTexture=Scenery\\Tex\r\nActive=TRUE\r\n";
    WriteBytes(file, SceneryText(areas));
    Editor e;
    e.StartWith(file);
    QVERIFY(!e.doc.Areas[2].TextureLine.empty());
    e.ClickEntry(2);
    e.Click(4);
    AddChoosing(e, SceneryFolder());
    e.window->Text1[1]->setText(QStringLiteral("Fresh"));
    e.Click(8);
    QCOMPARE(e.doc.LastArea, 2);
    QVERIFY(e.doc.Areas[2].TextureLine.empty());
  }

  // ---- search ----

  void search() {
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    std::vector<TestArea> areas = NumberedAreas(12);
    areas[4].title = "Alpine SCENERY";
    areas[8].body = "Local=Addon\\scenery\\x\r\n";
    areas[10].title = "\xc9tang";  // É
    WriteBytes(file, SceneryText(areas));
    Editor e;
    e.StartWith(file);
    auto& w = *e.window;
    e.dialogs.setNextInput(QStringLiteral("scenery"));
    w.MnuSearch_Click();
    QCOMPARE(e.dialogs.shown.back().prompt,
             QStringLiteral(
                 "Type in the word (or portion of word)you wish too find "));
    QCOMPARE(e.dialogs.shown.back().title, QStringLiteral("Search anything"));
    QCOMPARE(e.Selected(), 4);
    QCOMPARE(w.Text1[1]->text(), QStringLiteral("Alpine SCENERY"));
    w.MnuSearchNext_Click();
    QCOMPARE(e.Selected(), 8);  // found in the path
    w.MnuSearchNext_Click();
    QCOMPARE(e.Selected(), 8);  // no wrap around
    QCOMPARE(w.SearchIndex, 9);
    w.MnuSearchNext_Click();
    QCOMPARE(w.SearchIndex, 10);

    e.dialogs.setNextInput(QString::fromUtf8("étang"));
    w.MnuSearch_Click();
    QCOMPARE(e.Selected(), 10);

    e.dialogs.setNextInput(QStringLiteral("12"));  // number 012, layer 12
    w.MnuSearch_Click();
    QCOMPARE(e.Selected(), 11);

    e.dialogs.setNextInput(QStringLiteral("nowhere"));
    w.MnuSearch_Click();
    QCOMPARE(e.Selected(), 11);

    e.dialogs.setNextInput(QString::fromUtf8("日本"));
    w.MnuSearch_Click();
    QCOMPARE(e.Selected(), 11);

    // A cancelled box searches for the empty text: every area matches.
    w.MnuSearch_Click();
    QCOMPARE(e.Selected(), 0);
    w.MnuSearchNext_Click();
    QCOMPARE(e.Selected(), 1);
  }

  void searchNextBeforeSearchAndAtBound() {
    Editor e;
    e.StartWith(MakeFile(3));
    e.window->MnuSearchNext_Click();
    QCOMPARE(e.Selected(), 1);
    e.window->SearchIndex = 32767;
    e.window->MnuSearchNext_Click();
    QCOMPARE(e.window->SearchIndex, 32767);
  }

  void searchIndexKeptAcrossLoads() {
    Editor e;
    e.StartWith(MakeFile(5));
    e.window->SearchIndex = 2;
    e.dialogs.setNextFileName(MakeFile(6, QStringLiteral("other.cfg")));
    e.window->MnuLoad_Click();
    e.window->MnuSearchNext_Click();
    QCOMPARE(e.Selected(), 3);
  }

  // ---- the history, Move To and dragging ----

  static void CheckList(Editor& e) {
    QCOMPARE(e.ListCount(), e.doc.LastArea + 1);
    for (int i = 0; i <= e.doc.LastArea; ++i)
      QCOMPARE(e.Title(i),
               QString::fromLatin1(TitleListEntry(e.doc.Areas[i]).c_str()));
  }
  static QByteArray Table(Editor& e) {
    return QByteArray::fromStdString(WriteSceneryBytes(e.doc));
  }
  // Five areas, two with a texture line, exclude and flatten values.
  QString HistoryFile() {
    std::vector<TestArea> areas = NumberedAreas(5);
    areas[1].body =
        "Remote=x\r\nTexture=Tex\r\nActive=tRUE\r\nExclude=e\r\nFlatten.3="
        "f\r\n";
    areas[3].body = "Local=y\r\nTexture=T4\r\nFlatten.0=g\r\nRequired=1\r\n";
    WriteBytes(Path(QStringLiteral("Scenery.cfg")), SceneryText(areas));
    return Path(QStringLiteral("Scenery.cfg"));
  }
  static void Key(Editor& e, Qt::Key key,
                  Qt::KeyboardModifiers mods = Qt::ControlModifier) {
    QTest::keyClick(e.window->LstTitle, key, mods);
  }

  void undoAndRedoEachCommand_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("slot");         // selected before the command
    QTest::addColumn<int>("undoSelects");  // the area the step acted on
    QTest::addColumn<int>("redoSelects");
    QTest::newRow("raise") << "raise" << 2 << 2 << 3;
    QTest::newRow("lower") << "lower" << 3 << 3 << 2;
    QTest::newRow("delete") << "delete" << 1 << 1 << 0;
    QTest::newRow("delete first") << "delete" << 0 << 0 << -1;
    QTest::newRow("edit") << "edit" << 1 << 1 << 1;
    // Undoing an addition selects the area before the one taken away.
    QTest::newRow("add") << "add" << 1 << 4 << 5;
    QTest::newRow("add after 2") << "add after" << 3 << 1 << 2;
    QTest::newRow("move to") << "move" << 4 << 4 << 2;
  }
  void undoAndRedoEachCommand() {
    QFETCH(QString, command);
    QFETCH(int, slot);
    QFETCH(int, undoSelects);
    QFETCH(int, redoSelects);
    Editor e;
    e.StartWith(HistoryFile());
    auto& w = *e.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(!w.MnuUndo->isEnabled() && !w.MnuRedo->isEnabled());
    e.ClickEntry(slot);
    const auto before = e.doc.Areas;
    const QByteArray original = Table(e);
    if (command == QLatin1String("raise")) e.Click(2);
    if (command == QLatin1String("lower")) e.Click(3);
    if (command == QLatin1String("delete")) e.Click(4);
    if (command == QLatin1String("edit")) {
      e.Click(5);
      w.Text1[1]->setText(QStringLiteral("Changed"));
      QTest::mouseClick(w.Check2, Qt::LeftButton);
      e.Click(8);
    }
    if (command.startsWith(QLatin1String("add"))) {
      AddChoosing(e, SceneryFolder());
      if (command == QLatin1String("add after")) e.ClickEntry(1);
      w.Text1[1]->setText(QStringLiteral("Added"));
      e.Click(8);
      // The picker, gone, had the keys.
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      w.activateWindow();
      QTRY_COMPARE(QApplication::activeWindow(), &w);
    }
    if (command == QLatin1String("move")) {
      e.dialogs.setNextInput(QStringLiteral("3"));
      Key(e, Qt::Key_M);
    }
    const QByteArray made = Table(e);
    QVERIFY(made != original);
    // The history outlives a save.
    QVERIFY(w.FileSave());
    QVERIFY(!e.doc.FileChanged);
    QVERIFY(w.MnuUndo->isEnabled());

    Key(e, Qt::Key_Z);
    QCOMPARE(Table(e), original);
    QVERIFY(e.doc.Areas == before);
    QVERIFY(e.doc.FileChanged);
    QCOMPARE(e.Selected(), undoSelects);
    QCOMPARE(e.doc.CurrentArea, undoSelects);
    QCOMPARE(w.Text1[1]->text(), TitleAt(e, undoSelects));
    CheckList(e);
    QVERIFY(!w.MnuUndo->isEnabled() && w.MnuRedo->isEnabled());

    Key(e, Qt::Key_Y);
    QCOMPARE(Table(e), made);
    QCOMPARE(e.Selected(), redoSelects);
    CheckList(e);
    Key(e, Qt::Key_Z);
    Key(e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Table(e), made);
    Key(e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // none left
    QCOMPARE(Table(e), made);
    CheckNumbering(e);
    CheckViewing(w);
  }

  void commandsThatChangeNothingLeaveNoStep() {
    std::vector<TestArea> areas = NumberedAreas(5);
    areas[1].body = "Local=Addons\\Test\r\nActive=True\r\nRequired=False\r\n";
    WriteBytes(Path(QStringLiteral("Scenery.cfg")), SceneryText(areas));
    Editor e;
    e.StartWith(Path(QStringLiteral("Scenery.cfg")));
    auto& w = *e.window;
    e.ClickEntry(4);
    e.Click(2);  // Raise the last
    e.ClickEntry(0);
    e.Click(3);  // Lower the first
    e.ClickEntry(1);
    e.Click(5);  // Edit, O K: what O K writes is there already
    e.Click(8);
    e.Click(5);  // Edit, Cancel
    e.Click(9);
    WhenPickerOpens(
        [](frmFiles& p) { QTest::mouseClick(p.cmdFile[1], Qt::LeftButton); });
    e.Click(6);  // Add, cancelled in the picker
    e.dialogs.setNextInput(QStringLiteral("5"));
    w.MnuMoveTo_Click();  // to its own layer
    QVERIFY(!w.MnuUndo->isEnabled());
    QVERIFY(e.dialogs.messages().isEmpty());
  }

  void historyOnlyWhileViewingAndClearedByLoad() {
    Editor e;
    e.StartWith(MakeFile(5));
    auto& w = *e.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    e.ClickEntry(2);
    e.Click(2);
    QCOMPARE(TitleAt(e, 3), QStringLiteral("Area title 3"));
    e.Click(5);  // Editing: Ctrl+Z belongs to the title box
    QVERIFY(!w.MnuUndo->isEnabled() && !w.MnuMoveTo->isEnabled());
    w.Text1[1]->setFocus();
    QTest::keyClicks(w.Text1[1], QStringLiteral("xyz"));
    QTest::keyClick(w.Text1[1], Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.Text1[1]->text(), QStringLiteral("Area title 3"));
    QCOMPARE(TitleAt(e, 3), QStringLiteral("Area title 3"));
    w.MnuUndo_Click();
    QCOMPARE(TitleAt(e, 3), QStringLiteral("Area title 3"));
    e.Click(9);
    QVERIFY(w.MnuUndo->isEnabled() && w.MnuMoveTo->isEnabled());

    e.dialogs.setNextFileName(MakeFile(4, QStringLiteral("other.cfg")));
    w.MnuLoad_Click();
    QCOMPARE(e.doc.LastArea, 3);
    QVERIFY(!w.MnuUndo->isEnabled());
    w.MnuUndo_Click();
    QCOMPARE(TitleAt(e, 2), QStringLiteral("Area title 3"));
  }

  void moveTo_data() {
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");  // empty: moved
    QTest::addColumn<QString>("titles");   // the first six, after
    const QString unmoved = QStringLiteral("1 2 3 4 5 6");
    QTest::newRow("down to layer 3") << 5 << "3"
                                     << ""
                                     << "1 2 6 3 4 5";
    QTest::newRow("up to the end") << 0 << " 6 "
                                   << ""
                                   << "2 3 4 5 6 1";
    QTest::newRow("below layer 3")
        << 5 << "2"
        << "An area cannot be lowered below layer 3." << unmoved;
    QTest::newRow("layers 1 to 3")
        << 2 << "1"
        << "The areas at layers 1 to 3 cannot be lowered." << unmoved;
    QTest::newRow("past the end")
        << 1 << "7"
        << "There is no layer 7: the layers go from 1 to 6." << unmoved;
    QTest::newRow("not a number")
        << 1 << "x2"
        << "Please type a layer number from 1 to 6." << unmoved;
    QTest::newRow("cancelled") << 1 << ""
                               << "" << unmoved;
  }
  void moveTo() {
    QFETCH(int, slot);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, titles);
    Editor e;
    e.StartWith(MakeFile(6));
    e.ClickEntry(slot);
    e.dialogs.setNextInput(typed);
    e.window->MnuMoveTo_Click();
    QCOMPARE(e.dialogs.shown.front().prompt,
             QStringLiteral("Type in the layer to move the area at layer %1 to")
                 .arg(slot + 1));
    QCOMPARE(e.dialogs.shown.front().title, QStringLiteral("Move To"));
    QStringList shown;
    for (int i = 0; i <= e.doc.LastArea; ++i)
      shown << TitleAt(e, i).section(QLatin1Char(' '), 2);
    QCOMPARE(shown.join(QLatin1Char(' ')), titles);
    QCOMPARE(e.dialogs.messages().value(0), message);
    const bool moved = titles != QLatin1String("1 2 3 4 5 6");
    QCOMPARE(e.doc.FileChanged, moved);
    QCOMPARE(e.window->MnuUndo->isEnabled(), moved);
    if (moved) {
      // The moved area stays selected.
      QCOMPARE(e.window->Text1[1]->text(),
               QStringLiteral("Area title %1").arg(slot + 1));
      CheckList(e);
    } else {
      QCOMPARE(e.Selected(), slot);
    }
  }

  // A drag in the list, as its events arrive: a place the rules refuse is a
  // forbidden drop; an allowed one moves the area as one step.
  void dragInTheList() {
    Editor e;
    e.StartWith(MakeFile(6));
    auto* view = e.window->LstTitle;
    auto* model = view->model();
    e.ClickEntry(5);
    std::unique_ptr<QMimeData> data(model->mimeData({model->index(5, 0)}));
    QVERIFY(data);
    auto at = [&](int row) {  // the upper half of entry `row`: before it
      const QRect r = view->visualRect(model->index(row, 0));
      return QPoint(r.center().x(), r.top() + 2);
    };
    auto hover = [&](QPoint pos) {
      QDragMoveEvent move(pos, Qt::MoveAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
      move.setDropAction(Qt::MoveAction);  // no platform drag says so here
      QApplication::sendEvent(view->viewport(), &move);
      return move.isAccepted();
    };
    QDragEnterEvent enter(at(5), Qt::MoveAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    enter.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(view->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QVERIFY(!hover(at(1)));  // below layer 3
    QVERIFY(hover(at(2)));
    QDropEvent drop(at(2), Qt::MoveAction, data.get(), Qt::LeftButton,
                    Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(view->viewport(), &drop);
    QCOMPARE(TitleAt(e, 2), QStringLiteral("Area title 6"));
    QCOMPARE(TitleAt(e, 5), QStringLiteral("Area title 5"));
    QCOMPARE(e.Selected(), 2);
    QCOMPARE(e.window->Text1[1]->text(), QStringLiteral("Area title 6"));
    CheckList(e);
    CheckNumbering(e);
    QVERIFY(e.dialogs.messages().isEmpty());
    e.window->MnuUndo_Click();
    QCOMPARE(TitleAt(e, 5), QStringLiteral("Area title 6"));
    QCOMPARE(e.Selected(), 5);

    // While editing, no entry can be dragged.
    e.Click(5);
    QVERIFY(!view->dragEnabled());
    e.Click(9);
    QVERIFY(view->dragEnabled());
  }

  // The list is told which rows changed, never reset, so it keeps its place.
  void listToldRowByRow() {
    Editor e;
    e.StartWith(MakeFile(300));
    auto* view = e.window->LstTitle;
    view->scrollTo(view->model()->index(150, 0),
                   QAbstractItemView::PositionAtCenter);
    e.ClickEntry(150);
    const int position = view->verticalScrollBar()->value();
    QVERIFY(position > 0);
    // The table's model, behind the filter.
    auto* model =
        qobject_cast<QAbstractProxyModel*>(view->model())->sourceModel();
    QSignalSpy reset(model, &QAbstractItemModel::modelReset);
    QSignalSpy moved(model, &QAbstractItemModel::rowsMoved);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    e.Click(2);  // Raise
    e.Click(4);  // Delete
    e.window->MnuUndo_Click();
    QApplication::processEvents();
    QCOMPARE(view->verticalScrollBar()->value(), position);
    e.Click(9);  // Cancel: its sort moves nothing
    QCOMPARE(reset.count(), 0);
    QCOMPARE(moved.count(), 1);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(changed.count(), 3);
  }

  // The road of a typical edit, down to the saved bytes.
  void typicalEditSavedByteForByte() {
    const QString file = Path(QStringLiteral("Scenery.cfg"));
    WriteBytes(file, SceneryText(NumberedAreas(3)));
    const QByteArray original = ReadBytes(file);
    Editor e;
    e.StartWith(file);
    e.ClickEntry(1);
    e.Click(5);
    e.window->Text1[1]->setText(QStringLiteral("Renamed"));
    e.Click(8);
    e.window->MnuSave_Click();
    QVERIFY(!e.doc.FileChanged);
    QCOMPARE(ReadBytes(file + QStringLiteral(".bak")), original);
    QByteArray expected = original;
    expected.replace("Title=Area title 2", "Title=Renamed");
    const QByteArray saved = ReadBytes(file);
    // The writer's own layout, compared with what writing the edited
    // document gives.
    QCOMPARE(saved, QByteArray::fromStdString(WriteSceneryBytes(e.doc)));
    QVERIFY(saved.contains("[Area.002]\r\nTitle=Renamed\r\n"));
    QVERIFY(saved.contains("Active=True\r\n"));
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
