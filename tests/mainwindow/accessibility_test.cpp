// SPDX-License-Identifier: MIT
#include <QAccessible>
#include <QComboBox>
#include <QTableWidget>

#include "frm_check_areas.h"
#include "frm_files.h"
#include "gui_fixture.h"

using namespace sceneshifter;
using namespace sceneshifter::testing;

namespace {

// Roles a screen reader user operates; each needs a name to be told apart.
bool Interactive(QAccessible::Role role) {
  switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::SpinBox:
      return true;
    default:
      return false;
  }
}

bool ItemView(QAccessible::Role role) {
  return role == QAccessible::List || role == QAccessible::Table ||
         role == QAccessible::Tree;
}

// Every shown control in the accessibility tree below `iface` that can take
// the focus or be operated and has no name, as "role objectName". The
// entries of lists and tables are left to the tests of their texts.
void CollectUnnamed(QAccessibleInterface* iface, QStringList& unnamed) {
  if (!iface || iface->state().invisible) return;
  const bool operable = iface->state().focusable || Interactive(iface->role());
  if (operable && iface->text(QAccessible::Name).trimmed().isEmpty()) {
    QObject* o = iface->object();
    unnamed << QStringLiteral("%1 %2")
                   .arg(int(iface->role()))
                   .arg(o ? o->objectName() : QStringLiteral("?"));
  }
  if (ItemView(iface->role())) return;
  for (int i = 0; i < iface->childCount(); ++i)
    CollectUnnamed(iface->child(i), unnamed);
}

QStringList Unnamed(QWidget* window) {
  QStringList unnamed;
  CollectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed);
  return unnamed;
}

QString Name(QWidget* w) {
  return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

}  // namespace

class AccessibilityTest : public GuiTest {
  Q_OBJECT

 private slots:
  void init() { FreshFolder(); }

  // Every control named; the buttons as their captions read; boxes by
  // their labels; an inactive or broken entry says so.
  void mainWindowIsNamed() {
    auto body = [](const char* folder, const char* active) {
      return QByteArray("Local=Addon\\") + folder + "\r\nActive=" + active +
             "\r\nRequired=False\r\n";
    };
    WriteBytes(Path(QStringLiteral("FS/Scenery.cfg")),
               SceneryText({{"001", "On", body("Gone", "True")},
                            {"002", "Off", body("Lost", "False")}}));
    Editor e;
    e.StartWith(Path(QStringLiteral("FS/Scenery.cfg")));
    auto& w = *e.window;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY2(Unnamed(&w).isEmpty(), qPrintable(Unnamed(&w).join(',')));
    const std::pair<QWidget*, const char*> names[] = {
        {w.Command1[3], "Lower"},   {w.Command1[2], "Raise"},
        {w.Command1[6], "Add"},     {w.Command1[4], "Delete"},
        {w.Command1[5], "Edit"},    {w.Command1[8], "OK"},
        {w.Command1[9], "Cancel"},  {w.Command1[1], "Exit"},
        {w.Text1[0], "Area"},       {w.Text1[1], "Title"},
        {w.Text1[2], "Path"},       {w.Text1[3], "Layer"},
        {w.Text1[4], "Exclude"},    {w.Text1[5], "Flatten 0"},
        {w.Text1[14], "Flatten 9"}, {w.LstTitle, "Scenery areas"}};
    for (const auto& [control, name] : names)
      QCOMPARE(Name(control), QString::fromLatin1(name));
    const QString tip = QAccessible::queryAccessibleInterface(w.Command1[4])
                            ->text(QAccessible::Description);
    QVERIFY2(tip.contains(QStringLiteral("Tools > Undo")) &&
                 !tip.contains(QLatin1Char('<')),
             qPrintable(tip));

    // The entries, once the check has found both folders missing.
    QAccessibleInterface* list =
        QAccessible::queryAccessibleInterface(w.LstTitle);
    QTRY_VERIFY(!list->child(0)->text(QAccessible::Description).isEmpty());
    const QString on = list->child(0)->text(QAccessible::Description);
    const QString off = list->child(1)->text(QAccessible::Description);
    QVERIFY2(on.startsWith(QStringLiteral("Folder not found: ")) &&
                 on.endsWith(QStringLiteral("Gone")),
             qPrintable(on));
    QVERIFY2(off.startsWith(QStringLiteral("inactive; Folder not found: ")),
             qPrintable(off));
  }

  void pickerAndCheckAreasAreNamed() {
    SceneryDocument doc;
    ScriptedDialogs dialogs;
    QWidget main;
    bool done = false;
    QDir().mkpath(Path(QStringLiteral("FS/Addon/scenery")));
    doc.ConfigFile = Path(QStringLiteral("FS/Scenery.cfg")).toStdString();
    doc.FSFolder = Path(QStringLiteral("FS")).toStdString();
    auto* picker = new frmFiles(doc, dialogs, &main, done);
    picker->show();
    QVERIFY(QTest::qWaitForWindowExposed(picker));
    QVERIFY2(Unnamed(picker).isEmpty(), qPrintable(Unnamed(picker).join(',')));
    QCOMPARE(Name(picker->cmdFile[0]), QStringLiteral("OK"));
    QCOMPARE(Name(picker->cmdFile[1]), QStringLiteral("Cancel"));
    picker->close();

    FrmCheckAreas report(nullptr);
    report.SetRows({{2, QStringLiteral("Gone"), QStringLiteral("Missing"),
                     QStringLiteral("no folder")}});
    report.show();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    QVERIFY2(Unnamed(&report).isEmpty(),
             qPrintable(Unnamed(&report).join(',')));
  }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
