// SPDX-License-Identifier: MIT
#include "frm_files.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "centre_form.h"
#include "dialogs.h"

using namespace sceneshifter;

class FrmFilesTest : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> tmp_;
  QString fs_;  // the simulator's folder
  QTemporaryDir settings_;
  SceneryDocument doc_;
  ScriptedDialogs dialogs_;
  QWidget main_;
  bool done_ = false;

  QString Path(const QString& rel) const {
    return fs_ + QLatin1Char('/') + rel;
  }
  frmFiles* Open() {
    done_ = false;
    main_.setEnabled(false);
    auto* picker = new frmFiles(doc_, dialogs_, &main_, done_);
    picker->show();
    return picker;
  }

 private slots:
  void initTestCase() {
    // A font as large as the design's, which then shows unscaled.
    QFont f = QApplication::font();
    f.setPixelSize(10);
    QApplication::setFont(f);
    // The picker keeps its size in the settings store: one of the tests'.
    QVERIFY(settings_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       settings_.path());
  }

  void init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    fs_ = tmp_->filePath(QStringLiteral("FS2000"));
    for (const char* d :
         {"Addon Scenery/Alps/scenery", "Addon Scenery/Alps/texture",
          "Addon Scenery/Empty Scenery", "Scenery/World", "Texture"})
      QVERIFY(QDir().mkpath(Path(QString::fromLatin1(d))));
    QVERIFY(QDir().mkpath(
        tmp_->filePath(QStringLiteral("FS2000 Addons/Alps/Scenery"))));
    doc_ = SceneryDocument();
    doc_.ConfigFile = Path(QStringLiteral("Scenery.cfg")).toStdString();
    doc_.FSFolder = fs_.toStdString();
    dialogs_ = ScriptedDialogs();
  }

  void relativePath_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("relative");
    QTest::newRow("below, other case") << "C:\\FS2000"
                                       << "c:\\fs2000\\addon scenery\\alps"
                                       << "addon scenery\\alps";
    QTest::newRow("name only begins alike") << "C:\\FS2000"
                                            << "C:\\FS2000 Addons\\Alps"
                                            << "";
    QTest::newRow("the folder itself") << "C:\\FS2000"
                                       << "c:\\FS2000"
                                       << "";
    QTest::newRow("outside") << "C:\\FS2000"
                             << "D:\\Scenery"
                             << "";
    QTest::newRow("host form") << "/home/pilot/FS2000"
                               << "/home/pilot/FS2000/Addon Scenery/Alps"
                               << "Addon Scenery\\Alps";
    QTest::newRow("trailing separator") << "/home/pilot/FS2000/"
                                        << "/home/pilot/FS2000/Alps/"
                                        << "Alps";
    QTest::newRow("no base") << ""
                             << "/home/pilot/FS2000"
                             << "";
  }
  void relativePath() {
    QFETCH(QString, base);
    QFETCH(QString, path);
    QFETCH(QString, relative);
    QCOMPARE(frmFiles::RelativeSceneryPath(base, path), relative);
  }

  void driveOf() {
    const QStringList roots = {"/", "/home", "/home/pilot/cd", "C:/"};
    QCOMPARE(frmFiles::DriveOf(roots, "/home/pilot/FS2000/Scenery.cfg"), 1);
    QCOMPARE(frmFiles::DriveOf(roots, "/home/pilot/cd/Scenery.cfg"), 2);
    QCOMPARE(frmFiles::DriveOf(roots, "/homework/x"), 0);
    QCOMPARE(frmFiles::DriveOf(roots, "c:\\FS2000\\Scenery.cfg"), 3);
    QCOMPARE(frmFiles::DriveOf({"/mnt"}, "relative.cfg"), -1);
  }

  void centrePosition_data() {
    QTest::addColumn<QSizeF>("screen");
    QTest::addColumn<QSizeF>("form");
    QTest::addColumn<QPoint>("at");
    // 768 * 0.85 = 652.8 -> 653 / 2 = 326; 154 / 2 = 77.
    QTest::newRow("xga") << QSizeF(1024, 768) << QSizeF(263, 154)
                         << QPoint(381, 249);
    // 10 * 0.85 = 8.5 -> 8 (halves to even); 2.5 -> 2, 3.5 -> 4.
    QTest::newRow("ties to even")
        << QSizeF(10, 10) << QSizeF(2.5, 3.5) << QPoint(4, 2);
    // 30 * 0.85 = 25.5 -> 26 / 2 = 13.
    QTest::newRow("odd") << QSizeF(7, 30) << QSizeF(3, 5) << QPoint(2, 11);
    QTest::newRow("larger form")
        << QSizeF(100, 100) << QSizeF(300, 200) << QPoint(-100, -58);
  }
  void centrePosition() {
    QFETCH(QSizeF, screen);
    QFETCH(QSizeF, form);
    QFETCH(QPoint, at);
    QCOMPARE(CentrePosition(screen, form), at);
  }

  void centreOverPosition_data() {
    QTest::addColumn<QPoint>("owner");
    QTest::addColumn<QPoint>("at");
    // A 583 x 421 owner on a 1024 x 768 screen stands at CentreForm's
    // (221, 116); a 263 x 154 form at its own CentreForm place, (381, 249).
    QTest::newRow("over a centred owner: CentreForm's place")
        << QPoint(221, 116) << QPoint(381, 249);
    QTest::newRow("over a moved owner") << QPoint(21, 16) << QPoint(181, 149);
    QTest::newRow("kept on the screen") << QPoint(-500, 600) << QPoint(0, 614);
  }
  void centreOverPosition() {
    QFETCH(QPoint, owner);
    QFETCH(QPoint, at);
    QCOMPARE(CentreOverPosition(QRect(0, 0, 1024, 768), QSizeF(263, 154), owner,
                                QSizeF(583, 421)),
             at);
  }

  void reachableOnScreens_data() {
    QTest::addColumn<QRect>("window");
    QTest::addColumn<bool>("reachable");
    const QSize size(583, 421);
    QTest::newRow("inside") << QRect(QPoint(30, 40), size) << true;
    QTest::newRow("on the second screen")
        << QRect(QPoint(1100, 40), size) << true;
    QTest::newRow("left edge still shows")
        << QRect(QPoint(-530, 40), size) << true;
    QTest::newRow("a sliver only") << QRect(QPoint(-570, 40), size) << false;
    QTest::newRow("title bar above the screen")
        << QRect(QPoint(30, -300), size) << false;
    QTest::newRow("where a screen was")
        << QRect(QPoint(3000, 40), size) << false;
  }
  void reachableOnScreens() {
    QFETCH(QRect, window);
    QFETCH(bool, reachable);
    const QList<QRect> screens{QRect(0, 0, 1024, 768),
                               QRect(1024, 0, 1280, 1024)};
    QCOMPARE(ReachableOnScreens(window, screens), reachable);
  }

  void layout() {
    auto* p = Open();
    QCOMPARE(p->windowTitle(), QStringLiteral("Find New Scenery"));
    QCOMPARE(p->size(), QSize(263, 154));
    QCOMPARE(p->Dir1->geometry(), QRect(24, 8, 217, 102));
    QCOMPARE(p->Drive1->geometry(), QRect(24, 120, 57, 19));
    QCOMPARE(p->cmdFile[0]->text(), QStringLiteral("O K"));
    QCOMPARE(p->cmdFile[0]->geometry(), QRect(88, 120, 73, 25));
    QCOMPARE(p->cmdFile[1]->text(), QStringLiteral("Cancel"));
    QCOMPARE(p->cmdFile[1]->geometry(), QRect(168, 120, 73, 25));
    QVERIFY(p->cmdFile[0]->isDefault());
    QWidget* next = p->Dir1->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
    QCOMPARE(next, p->Drive1);
    p->close();
  }

  // Never smaller than its design; the room goes to the folder list, and the
  // size is there again at the next opening.
  void resizesAndRemembersSize() {
    auto* p = Open();
    QVERIFY(QTest::qWaitForWindowExposed(p));
    QCOMPARE(p->minimumSize(), QSize(263, 154));
    p->resize(200, 100);
    QTRY_COMPARE(p->size(), QSize(263, 154));
    p->resize(463, 254);
    QTRY_COMPARE(p->size(), QSize(463, 254));
    QTRY_COMPARE(p->Dir1->geometry(), QRect(24, 8, 417, 202));
    QCOMPARE(p->Drive1->geometry(), QRect(24, 220, 57, 19));
    QCOMPARE(p->cmdFile[1]->geometry(), QRect(368, 220, 73, 25));
    p->close();
    p = Open();
    QCOMPARE(p->size(), QSize(463, 254));
    p->resize(263, 154);
    p->close();
  }

  void opensAtRememberedFolder() {
    doc_.SceneryPath = "Addon Scenery\\Alps";
    auto* p = Open();
    // Beside the folder chosen last, which is highlighted.
    QCOMPARE(p->Dir1->Path(), Path(QStringLiteral("Addon Scenery")));
    const auto last = p->Dir1->item(p->Dir1->count() - 1)->text();
    QCOMPARE(last, QStringLiteral("Empty Scenery"));
    QCOMPARE(p->Dir1->currentItem()->text(), QStringLiteral("Alps"));
    p->close();

    doc_.SceneryPath = "Texture";
    p = Open();
    QCOMPARE(p->Dir1->Path(), fs_);
    QCOMPARE(p->Dir1->currentItem()->text(), QStringLiteral("Texture"));
    p->close();

    doc_.SceneryPath.clear();
    p = Open();
    QCOMPARE(p->Dir1->Path(), fs_);
    p->close();

    // A remembered folder that is gone leaves the list at the drive's folder.
    doc_.SceneryPath = "Gone\\Away";
    p = Open();
    QCOMPARE(p->Dir1->Path(),
             p->Drive1->itemData(p->Drive1->currentIndex()).toString());
    QVERIFY(dialogs_.shown.empty());
    p->close();
  }

  void okAcceptsSceneryFolder_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("sceneryPath");
    // Folders below the temporary folder.
    QTest::newRow("scenery and texture") << "FS2000/Addon Scenery/Alps"
                                         << "Addon Scenery\\Alps";
    QTest::newRow("the simulator's folder") << "FS2000"
                                            << "";
    QTest::newRow("outside") << "FS2000 Addons/Alps"
                             << "";
    QTest::newRow("own path holds Scenery") << "FS2000/Addon Scenery"
                                            << "Addon Scenery";
  }
  void okAcceptsSceneryFolder() {
    QFETCH(QString, folder);
    QFETCH(QString, sceneryPath);
    doc_.SceneryPath = "old";
    auto* p = Open();
    QSignalSpy finished(p, &frmFiles::pickerFinished);
    QVERIFY(p->Dir1->SetPath(tmp_->filePath(folder)));
    QTest::mouseClick(p->cmdFile[0], Qt::LeftButton);
    QCOMPARE(finished.count(), 1);
    QVERIFY(done_);
    QVERIFY(main_.isEnabled());
    QCOMPARE(QString::fromStdString(doc_.SceneryPath), sceneryPath);
    QVERIFY(dialogs_.shown.empty());
  }

  void okRejectsFolderWithoutSubfolders() {
    auto* p = Open();
    QSignalSpy finished(p, &frmFiles::pickerFinished);
    QVERIFY(p->Dir1->SetPath(Path("Addon Scenery/Empty Scenery")));
    QTest::mouseClick(p->cmdFile[0], Qt::LeftButton);
    QCOMPARE(dialogs_.messages(),
             QStringList{
                 "This folder doesn,t appear to be a Valid FS Scenery folder"});
    QVERIFY(dialogs_.shown.front().title.isEmpty());
    QVERIFY(p->isVisible());
    QVERIFY(!done_);
    QVERIFY(!main_.isEnabled());
    QCOMPARE(finished.count(), 0);
    QVERIFY(doc_.SceneryPath.empty());
    // Then a valid choice closes it normally.
    QVERIFY(p->Dir1->SetPath(Path("Addon Scenery/Alps")));
    QTest::mouseClick(p->cmdFile[0], Qt::LeftButton);
    QVERIFY(done_);
    QCOMPARE(QString::fromStdString(doc_.SceneryPath),
             QStringLiteral("Addon Scenery\\Alps"));
  }

  void cancelRoads_data() {
    QTest::addColumn<int>("road");
    QTest::newRow("Cancel button") << 0;
    QTest::newRow("Esc") << 1;
    QTest::newRow("closed from the frame") << 2;
  }
  void cancelRoads() {
    QFETCH(int, road);
    doc_.SceneryPath = "Addon Scenery\\Alps";
    auto* p = Open();
    QSignalSpy finished(p, &frmFiles::pickerFinished);
    if (road == 0) QTest::mouseClick(p->cmdFile[1], Qt::LeftButton);
    if (road == 1) QTest::keyClick(p->Dir1, Qt::Key_Escape);
    if (road == 2) p->close();
    QCOMPARE(finished.count(), 1);
    QVERIFY(done_);
    QVERIFY(main_.isEnabled());
    QVERIFY(doc_.SceneryPath.empty());
  }

  void keysInTheFolderList() {
    auto* p = Open();
    QPointer<frmFiles> alive(p);
    p->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p));
    p->Dir1->setFocus();
    // Enter opens the highlighted folder and does not press O K.
    const auto items =
        p->Dir1->findItems(QStringLiteral("Addon Scenery"), Qt::MatchEndsWith);
    QCOMPARE(items.size(), 1);
    p->Dir1->setCurrentItem(items[0]);
    QTest::keyClick(p->Dir1, Qt::Key_Return);
    QCOMPARE(p->Dir1->Path(), Path("Addon Scenery"));
    QVERIFY(!done_);
    // A double-click opens one too.
    auto alps = p->Dir1->findItems(QStringLiteral("Alps"), Qt::MatchEndsWith);
    QCOMPARE(alps.size(), 1);
    p->Dir1->scrollToItem(alps[0]);
    const QRect r = p->Dir1->visualItemRect(alps[0]);
    // As a user's double-click arrives: a click, then the second press.
    QTest::mouseClick(p->Dir1->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(p->Dir1->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(p->Dir1->Path(), Path("Addon Scenery/Alps"));
    // O K looks at the open folder, not at a highlighted one.
    p->Dir1->setCurrentRow(0);
    p->cmdFile[0]->setFocus();
    QTest::keyClick(p->cmdFile[0], Qt::Key_Return);
    QVERIFY(done_);
    QCOMPARE(QString::fromStdString(doc_.SceneryPath),
             QStringLiteral("Addon Scenery\\Alps"));
  }

  // The names are plain text: typing selects the first folder whose name
  // starts with the letters typed.
  void typingFindsAFolder() {
    auto* p = Open();
    p->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p));
    p->Dir1->setFocus();
    QTest::keyClicks(p->Dir1, QStringLiteral("sc"));
    QCOMPARE(p->Dir1->currentItem()->text(), QStringLiteral("Scenery"));
    QTest::qWait(QApplication::keyboardInputInterval() + 100);
    QTest::keyClicks(p->Dir1, QStringLiteral("AD"));
    QCOMPARE(p->Dir1->currentItem()->text(), QStringLiteral("Addon Scenery"));
    p->close();
  }

  // O K on a folder that an area leads to, in any spelling, asks first; No
  // keeps the picker open.
  void okAsksAboutAFolderInTheList() {
    doc_.Areas.resize(2);
    doc_.LastArea = 1;
    doc_.Areas[1].PathKey = "Local=";
    doc_.Areas[1].PathValue = "ADDON SCENERY\\alps";
    doc_.Areas[1].Layer = 2;
    auto* p = Open();
    QVERIFY(p->Dir1->SetPath(Path("Addon Scenery/Alps")));
    dialogs_.setNextAnswer(Dialogs::Answer::No);
    QTest::mouseClick(p->cmdFile[0], Qt::LeftButton);
    QCOMPARE(dialogs_.messages(),
             QStringList{"This folder is already in the list as layer 2. Add "
                         "it again?"});
    QCOMPARE(dialogs_.shown.front().buttons, Dialogs::Buttons::YesNo);
    QVERIFY(p->isVisible());
    QVERIFY(!done_);
    QVERIFY(doc_.SceneryPath.empty());
    dialogs_.setNextAnswer(Dialogs::Answer::Yes);
    QTest::mouseClick(p->cmdFile[0], Qt::LeftButton);
    QVERIFY(done_);
    QCOMPARE(QString::fromStdString(doc_.SceneryPath),
             QStringLiteral("Addon Scenery\\Alps"));
  }

  void folderGoneSinceListed() {
    auto* p = Open();
    QVERIFY(p->Dir1->SetPath(Path("Addon Scenery")));
    auto items =
        p->Dir1->findItems(QStringLiteral("Empty Scenery"), Qt::MatchEndsWith);
    QCOMPARE(items.size(), 1);
    QVERIFY(QDir(Path("Addon Scenery/Empty Scenery")).removeRecursively());
    p->Dir1->setCurrentItem(items[0]);
    QTest::keyClick(p->Dir1, Qt::Key_Return);
    QCOMPARE(p->Dir1->Path(), Path("Addon Scenery"));
    QCOMPARE(p->Dir1->Subfolders(), QStringList{Path("Addon Scenery/Alps")});
    QCOMPARE(dialogs_.messages().size(), 1);
    QVERIFY(dialogs_.messages().first().contains(
        QStringLiteral("cannot be opened")));
    p->close();
  }

  void unreadableDriveKeepsPicker() {
    auto* p = Open();
    const QString before = p->Dir1->Path();
    const int drive = p->Drive1->currentIndex();
    p->Drive1->addItem(QStringLiteral("x:"),
                       tmp_->filePath(QStringLiteral("no medium")));
    p->Drive1->setCurrentIndex(p->Drive1->count() - 1);
    QCOMPARE(p->Dir1->Path(), before);
    QCOMPARE(p->Drive1->currentIndex(), drive);
    QCOMPARE(dialogs_.messages().size(), 1);
    QVERIFY(
        dialogs_.messages().first().contains(QStringLiteral("cannot be read")));
    QVERIFY(p->isVisible());
    QVERIFY(!done_);
    p->close();
  }

  void driveChangeShowsDrivesFolder() {
    auto* p = Open();
    QVERIFY(p->Drive1->count() >= 1);
    const int d = p->Drive1->currentIndex();
    const QString root = p->Drive1->itemData(d).toString();
    QVERIFY(Path("x").startsWith(root == "/" ? root : root + "/"));
    p->Drive1->addItem(QStringLiteral("tmp"), tmp_->path());
    p->Drive1->setCurrentIndex(p->Drive1->count() - 1);
    QCOMPARE(p->Dir1->Path(), QDir(tmp_->path()).absolutePath());
    // Back on the first drive, its folder is the one last open there.
    p->Drive1->setCurrentIndex(d);
    QCOMPARE(p->Dir1->Path(), fs_);
    p->close();
  }
};

QTEST_MAIN(FrmFilesTest)
#include "frm_files_test.moc"
