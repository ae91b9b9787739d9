// SPDX-License-Identifier: MIT
#include "anchor_layout.h"

#include <QWidget>
#include <algorithm>

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

void AnchorLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  const int dx = std::max(0, rect.width() - design_.width());
  const int dy = std::max(0, rect.height() - design_.height());
  for (const Entry& e : entries_) {
    QRect g = e.design.translated(rect.topLeft());
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
}

}  // namespace sceneshifter
