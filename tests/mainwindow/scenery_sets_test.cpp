// SPDX-License-Identifier: MIT
#include "scenery_sets.h"

#include <QListWidget>

#include "codepage.h"
#include "frm_scenery_sets.h"
#include "gui_fixture.h"
#include "scenery_reader.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

class ScenerySetsTest : public GuiTest {
  Q_OBJECT

  SceneryDocument doc_;
  ScriptedDialogs dialogs_;
  std::vector<std::pair<int, bool>> applied_;
  QString history_;
  QString status_;

  std::unique_ptr<FrmScenerySets> Open() {
    auto window = std::make_unique<FrmScenerySets>(
        doc_, dialogs_,
        [this](const std::vector<std::pair<int, bool>>& changes,
               const QString& text) {
          applied_ = changes;
          history_ = text;
          return ApplySetChanges(doc_, changes);
        },
        [this](const QString& message) { status_ = message; });
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) qWarning("not active");
    return window;
  }
  QStringList Names(const FrmScenerySets& w) {
    QStringList names;
    for (int i = 0; i < w.LstSets->count(); ++i)
      names << w.LstSets->item(i)->text();
    return names;
  }
  QString SetsFile() const {
    return Path(QStringLiteral("Scenery.cfg.sets.json"));
  }

 private slots:
  void init() {
    FreshFolder();
    doc_ = SceneryDocument{};
    doc_.ConfigFile = ToHostPath(MakeFile(QStringLiteral("Scenery.cfg"), 3));
    std::string detail;
    QCOMPARE(QString::fromStdString(LoadDocument(doc_, &detail)), QString());
    dialogs_ = ScriptedDialogs{};
    applied_.clear();
    status_.clear();
  }

  void saveApplyRenameDelete() {
    auto w = Open();
    QVERIFY(w->LblSets->text().startsWith(QStringLiteral("No sets")));
    QVERIFY(!w->CmdApply->isEnabled());
    QCOMPARE(w->LstSets->accessibleName(), QStringLiteral("Scenery sets"));

    dialogs_.setNextInput(QStringLiteral("Summer"));
    QTest::mouseClick(w->CmdSaveAs, Qt::LeftButton);
    QCOMPARE(Names(*w), QStringList{QStringLiteral("Summer")});
    QVERIFY(QFile::exists(SetsFile()));
    // A name taken or blank is refused with a message, and nothing saved.
    for (const char* typed : {"Summer", "   "}) {
      dialogs_.setNextInput(QLatin1String(typed));
      QTest::mouseClick(w->CmdSaveAs, Qt::LeftButton);
    }
    QCOMPARE(dialogs_.messages().size(), 2);
    QVERIFY(dialogs_.messages()[0].contains(QStringLiteral("already")));
    QVERIFY(dialogs_.messages()[1].contains(QStringLiteral("empty")));
    QCOMPARE(Names(*w), QStringList{QStringLiteral("Summer")});

    // Apply: only the area switched off since is switched back.
    doc_.Areas[1].Active = "False";
    QTest::mouseClick(w->CmdApply, Qt::LeftButton);
    QCOMPARE(applied_, (std::vector<std::pair<int, bool>>{{1, true}}));
    QCOMPARE(history_, QStringLiteral("Apply Set Summer"));
    QCOMPARE(status_, QStringLiteral("Set Summer applied: 1 areas changed, 0 "
                                     "not in the set left as they were"));

    dialogs_.setNextInput(QStringLiteral("Winter"));
    QTest::keyClick(w.get(), Qt::Key_R,
                    Qt::AltModifier);  // clicks after a flash
    QTRY_COMPARE(Names(*w), QStringList{QStringLiteral("Winter")});

    dialogs_.setNextAnswer(Dialogs::Answer::No);
    QTest::mouseClick(w->CmdDelete, Qt::LeftButton);
    QCOMPARE(Names(*w).size(), 1);
    dialogs_.setNextAnswer(Dialogs::Answer::Yes);
    QTest::mouseClick(w->CmdDelete, Qt::LeftButton);
    QCOMPARE(Names(*w), QStringList());
    QVERIFY(!w->CmdDelete->isEnabled());
    QVERIFY(ReadBytes(SetsFile()).contains("\"sets\": []"));
  }

  void unreadableFileIsLeftAlone() {
    const QByteArray corrupt = "{\"sets\": [";
    WriteBytes(SetsFile(), corrupt);
    auto w = Open();
    QCOMPARE(dialogs_.messages().size(), 1);
    QVERIFY(dialogs_.shown.back().detail.contains(QStringLiteral("not JSON")));
    QVERIFY(!w->CmdSaveAs->isEnabled());
    QCOMPARE(ReadBytes(SetsFile()), corrupt);
  }
};

QTEST_MAIN(ScenerySetsTest)
#include "scenery_sets_test.moc"
