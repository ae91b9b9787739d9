// SPDX-License-Identifier: MIT
#pragma once

#include <QLayout>
#include <QList>
#include <QRect>

namespace sceneshifter {

// Keeps a window's controls where its fixed design puts them and hands the
// room beyond the design size to the controls anchored to take it: such a
// control grows with the window, or moves with its right or bottom edge.
// The design size is the smallest the window may become.
class AnchorLayout : public QLayout {
 public:
  enum Anchor {
    kStay = 0,
    kGrowWidth = 1,
    kGrowHeight = 2,
    kFollowRight = 4,
    kFollowBottom = 8,
  };
  using Anchors = int;

  // Takes in every child control of `parent` where it stands now.
  AnchorLayout(QWidget* parent, QSize design);
  ~AnchorLayout() override;

  void SetAnchors(QWidget* control, Anchors anchors);
  // By object name, so that a control built elsewhere is anchored in one
  // line; false when `parent` has no such control.
  bool SetAnchors(const QString& objectName, Anchors anchors);

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(entries_.size()); }
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  QSize sizeHint() const override { return design_; }
  QSize minimumSize() const override { return design_; }
  void setGeometry(const QRect& rect) override;

 private:
  struct Entry {
    QLayoutItem* item;
    QRect design;
    Anchors anchors;
  };
  QList<Entry> entries_;
  QSize design_;
};

}  // namespace sceneshifter
