// SPDX-License-Identifier: MIT
#include "area_panel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <utility>
#include <vector>

#include "codepage.h"
#include "scenery_document.h"
#include "text_bytes.h"
#include "window_units.h"
#include "wrapping_button.h"

namespace sceneshifter {
namespace {

std::string Bytes(const QLineEdit* box) {
  std::string bytes;
  ToFileBytes(box->text(), bytes);
  return bytes;
}

}  // namespace

AreaPanel::AreaPanel(QWidget* client) : QWidget(client) {
  setObjectName(QStringLiteral("AreaPanel"));
  const QFont captions = CaptionFont();
  // Each control is placed in the window's terms, then the panel takes the
  // rectangle they cover and they move into it unchanged on the screen.
  std::vector<QWidget*> controls;
  auto place = [&](QWidget* w, const char* name, QRect geometry) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    controls.push_back(w);
  };
  auto label = [&](int index, const QString& caption, QRect geometry) {
    auto* l = new QLabel(caption, this);
    l->setFont(captions);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Right-aligned captions keep clear of the box they name.
    l->setContentsMargins(0, 0, 3, 0);
    place(l, QStringLiteral("Label1_%1").arg(index).toLatin1().constData(),
          geometry);
    Label1[index] = l;
  };
  auto text = [&](int index, QRect geometry) {
    auto* t = new QLineEdit(this);
    t->setReadOnly(true);
    place(t, QStringLiteral("Text1_%1").arg(index).toLatin1().constData(),
          geometry);
    Text1[index] = t;
  };

  Check2 = new WrappingCheckBox(QStringLiteral("Required"), this);
  place(Check2, "Check2", Twips(4080, 0, 1095, 375));
  Option1[1] = new WrappingRadioButton(QStringLiteral("Use Direct"), this);
  place(Option1[1], "Option1_1", Twips(5640, 0, 855, 375));
  Option1[0] =
      new WrappingRadioButton(QStringLiteral("Cache This Scenery"), this);
  place(Option1[0], "Option1_0", Twips(6840, 0, 1335, 375));
  label(2, QStringLiteral("Area"), Twips(4440, 480, 612, 252));
  text(0, Twips(5160, 480, 732, 288));
  label(6, QStringLiteral("Layer"), Twips(5880, 480, 612, 252));
  text(3, Twips(6600, 480, 612, 288));
  Check1 = new WrappingCheckBox(QStringLiteral("Active"), this);
  place(Check1, "Check1", Twips(7320, 480, 975, 375));
  label(3, QStringLiteral("Title"), Twips(4200, 840, 612, 252));
  text(1, Twips(5160, 840, 3372, 288));
  label(4, QStringLiteral("Path"), Twips(4200, 1200, 612, 252));
  text(2, Twips(5160, 1200, 3372, 288));
  label(5, QStringLiteral("Exclude"), Twips(4200, 1560, 735, 255));
  text(4, Twips(5160, 1560, 3372, 288));
  for (int k = 0; k <= 9; ++k) {
    const int top = 1920 + 360 * k;
    label(7 + k, QStringLiteral("Flatten %1").arg(k),
          Twips(4320, top, 855, 255));
    text(5 + k, Twips(5160, top, 3372, 288));
  }
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
           Check1, Check2, Option1[0], Option1[1]}) {
    b->setFont(captions);
    b->setEnabled(false);
  }
  QRect covered;
  for (const QWidget* w : controls) covered |= w->geometry();
  setGeometry(covered);
  for (QWidget* w : controls) w->move(w->pos() - covered.topLeft());

  // What each control is for, in the words of the simulator's scenery.
  const std::pair<QWidget*, const char*> tips[] = {
      {Check2,
       "Ticked: the area is stored as required (Required=True); clear: "
       "Required=False."},
      {Option1[1],
       "The simulator reads the area's folder where it is (stored as "
       "Local=)."},
      {Option1[0],
       "The simulator copies the area's folder into its cache, for scenery on "
       "a CD or a network drive (stored as Remote=)."},
      {Check1,
       "Ticked: the simulator shows the area (Active=True); clear: the area "
       "stays in the file, switched off (Active=False)."},
      {Text1[0],
       "The area's number: its place in the file. Raise, Lower and Delete "
       "change it."},
      {Text1[3],
       "The area's layer, the same as its number. The simulator draws the "
       "areas of higher layers over those of lower layers."},
      {Text1[1],
       "The area's title, as the simulator's scenery library lists it. Edit "
       "or Add lets you change it."},
      {Text1[2],
       "The area's scenery folder, relative to the simulator's folder. Edit "
       "or Add lets you change it."},
      {Text1[4], "The area's exclude value, kept as the file has it."}};
  // As paragraphs, so that a long tip wraps beside its control.
  auto tip = [](QWidget* control, const QString& text) {
    control->setToolTip(QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped()));
  };
  for (const auto& [control, text] : tips)
    tip(control, QString::fromLatin1(text));
  for (int k = 0; k <= 9; ++k)
    tip(Text1[5 + k],
        QStringLiteral("The area's flatten value %1, kept as the file has it.")
            .arg(k));
}

void AreaPanel::Fill(const AreaEntry& a) {
  Text1[0]->setText(FromFileBytes(a.Number));
  Text1[1]->setText(FromFileBytes(a.Title));
  Text1[2]->setText(FromFileBytes(a.PathValue));
  Text1[3]->setText(QString::number(a.Layer));
  Text1[4]->setText(FromFileBytes(a.Exclude));
  for (int k = 0; k <= 9; ++k)
    Text1[k + 5]->setText(FromFileBytes(a.Flatten[k]));
  if (EqualsNoCase(a.PathKey, "Local="))
    Option1[1]->setChecked(true);
  else
    Option1[0]->setChecked(true);
  Check1->setChecked(EqualsNoCase(a.Active, "true"));
  Check2->setChecked(EqualsNoCase(a.Required, "true"));
  for (QLineEdit* t : Text1) t->setCursorPosition(0);
}

void AreaPanel::Clear() {
  for (QLineEdit* t : Text1) t->clear();
  Check1->setChecked(false);
  Check2->setChecked(false);
}

void AreaPanel::SetState(State state) {
  const bool editing = state != State::Viewing;
  Option1[1]->setEnabled(editing);
  Option1[0]->setEnabled(editing);
  Text1[1]->setReadOnly(!editing);
  Text1[2]->setReadOnly(!editing);
  Check1->setEnabled(editing);
  Check2->setEnabled(editing);
  // The exclude and flatten boxes are read-only in every state.
  for (int i = 4; i <= 14; ++i) Text1[i]->setReadOnly(true);
  if (state != State::Adding) return;
  Option1[1]->setChecked(true);
  Text1[1]->clear();
  Text1[2]->clear();
}

void AreaPanel::ShowNewArea(int layer, const QString& path) {
  Check1->setChecked(true);
  Text1[3]->setText(QString::number(layer));
  Text1[0]->setText(QString::fromLatin1(FormatAreaNumber(layer).c_str()));
  Text1[2]->setText(path);
}

void AreaPanel::FocusTitle() {
  Text1[1]->setFocus(Qt::OtherFocusReason);
  Text1[1]->selectAll();
}

QString AreaPanel::UnstorableField() const {
  const std::pair<const QLineEdit*, const char*> fields[] = {
      {Text1[1], "Title"}, {Text1[2], "Path"}};
  for (const auto& [box, name] : fields) {
    std::string bytes;
    if (!ToFileBytes(box->text(), bytes)) return QString::fromLatin1(name);
  }
  return QString();
}

void AreaPanel::ApplyTo(AreaEntry& area) const {
  area.PathKey = Option1[1]->isChecked() ? "Local=" : "Remote=";
  area.Active = Check1->isChecked() ? "True" : "False";
  area.Required = Check2->isChecked() ? "True" : "False";
  area.Title = Bytes(Text1[1]);
  area.Exclude = Bytes(Text1[4]);
  for (int v = 0; v <= 9; ++v) area.Flatten[v] = Bytes(Text1[v + 5]);
  area.PathValue = Bytes(Text1[2]);
}

AreaEntry AreaPanel::NewArea() const {
  AreaEntry area;
  std::int16_t layer = 0;
  ParseLayerValue(Bytes(Text1[3]), layer);
  area.Layer = layer;
  area.Number = Bytes(Text1[0]);
  return area;
}

}  // namespace sceneshifter
