// SPDX-License-Identifier: MIT
#include "anchor_layout.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace sceneshifter {

AnchorLayout::AnchorLayout(QWidget* parent, QSize design)
    : QLayout(parent), design_(design) {
  setContentsMargins(0, 0, 0, 0);
  for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!w->isWindow()) addWidget(w);
}

AnchorLayout::~AnchorLayout() {
  for (const Entry& e : entries_) delete e.item;
}

void AnchorLayout::addItem(QLayoutItem* item) {
  const QRect design = item->widget() ? item->widget()->geometry()
                                      : QRect(QPoint(), item->sizeHint());
  entries_.append({item, design, kStay});
  invalidate();
}

QLayoutItem* AnchorLayout::itemAt(int index) const {
  return index >= 0 && index < entries_.size() ? entries_[index].item : nullptr;
}

QLayoutItem* AnchorLayout::takeAt(int index) {
  if (index < 0 || index >= entries_.size()) return nullptr;
  QLayoutItem* item = entries_.takeAt(index).item;
  invalidate();
  return item;
}

void AnchorLayout::SetAnchors(QWidget* control, Anchors anchors) {
  for (Entry& e : entries_)
    if (e.item->widget() == control) {
      e.anchors = anchors;
      invalidate();
      return;
    }
}

bool AnchorLayout::SetAnchors(const QString& objectName, Anchors anchors) {
  for (const Entry& e : entries_)
    if (e.item->widget() && e.item->widget()->objectName() == objectName) {
      SetAnchors(e.item->widget(), anchors);
      return true;
    }
  return false;
}

namespace {

// A caption as drawn: the access-key mark is not shown.
QString Drawn(QString caption) {
  return caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
      .remove(QLatin1Char('&'))
      .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// How much larger `w` (at its design size `design`) must be for its text to
// show whole.
double NeededScale(const QWidget* w, QSize design) {
  const QFontMetrics fm = w->fontMetrics();
  double need = 1.0;
  auto atLeast = [&](int needed, int have) {
    if (have > 0) need = std::max(need, double(needed) / have);
  };
  if (const auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->wordWrap() || l->text().isEmpty()) return need;
    const QMargins m = l->contentsMargins();
    atLeast(fm.horizontalAdvance(Drawn(l->text())) + m.left() + m.right() + 2,
            design.width());
    atLeast(fm.height(), design.height());
  } else if (qobject_cast<const QPushButton*>(w)) {
    const auto* b = static_cast<const QAbstractButton*>(w);
    const int margin = w->style()->pixelMetric(QStyle::PM_ButtonMargin);
    atLeast(fm.horizontalAdvance(Drawn(b->text())) + 2 * margin,
            design.width());
    atLeast(fm.height() + 4, design.height());
  } else if (qobject_cast<const QCheckBox*>(w) ||
             qobject_cast<const QRadioButton*>(w)) {
    // A caption may wrap between its words, but no word may be cut.
    const auto* b = static_cast<const QAbstractButton*>(w);
    const int box = w->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                    w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    int word = 0;
    for (const QString& part : Drawn(b->text()).split(QLatin1Char(' ')))
      word = std::max(word, fm.horizontalAdvance(part));
    if (design.width() > box)
      need = std::max(need, double(word + box + 2) / design.width());
    atLeast(fm.height(), design.height());
  } else if (qobject_cast<const QLineEdit*>(w)) {
    atLeast(fm.height() + 4, design.height());
  }
  return need;
}

}  // namespace

double AnchorLayout::CaptionScale(const QWidget* window) {
  double scale = 1.0;
  for (const QWidget* w : window->findChildren<QWidget*>())
    if (!w->isWindow()) scale = std::max(scale, NeededScale(w, w->size()));
  return scale;
}

void AnchorLayout::SetScale(double scale) {
  scale_ = std::max(1.0, scale);
  invalidate();
}

QRect AnchorLayout::Scaled(const QRect& design) const {
  // Edges, not sizes, are scaled, so that controls that meet still meet.
  auto at = [this](int v) { return static_cast<int>(std::lround(v * scale_)); };
  const int left = at(design.left()), top = at(design.top());
  return QRect(left, top, at(design.left() + design.width()) - left,
               at(design.top() + design.height()) - top);
}

void AnchorLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  const QSize least = sizeHint();
  const int dx = std::max(0, rect.width() - least.width());
  const int dy = std::max(0, rect.height() - least.height());
  for (const Entry& e : entries_) {
    QRect g = Scaled(e.design).translated(rect.topLeft());
    if (e.anchors & kFollowRight) g.translate(dx, 0);
    if (e.anchors & kFollowBottom) g.translate(0, dy);
    if (e.anchors & kGrowWidth) g.setWidth(g.width() + dx);
    if (e.anchors & kGrowHeight) g.setHeight(g.height() + dy);
    // Straight onto the control: a layout item would bend the design to
    // the control's size hints.
    if (QWidget* w = e.item->widget())
      w->setGeometry(g);
    else
      e.item->setGeometry(g);
  }
  if (placed_) placed_();
}

}  // namespace sceneshifter
