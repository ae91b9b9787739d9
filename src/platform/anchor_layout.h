// SPDX-License-Identifier: MIT
#pragma once

#include <QLayout>
#include <QList>
#include <QRect>
#include <functional>

namespace sceneshifter {

// Keeps a window's controls where its fixed design puts them and hands the
// room beyond the design size to the controls anchored to take it: such a
// control grows with the window, or moves with its right or bottom edge.
// The design size is the smallest the window may become. Where the
// captions' font is larger than the one the design was drawn for, the whole
// design is enlarged alike, so that no caption is cut.
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

  // The factor (at least 1) by which the controls of `window`, standing at
  // their design sizes, must grow for every caption and text box to show
  // its text whole in its font now.
  static double CaptionScale(const QWidget* window);
  // Enlarges the design by `scale` (1 keeps it as drawn).
  void SetScale(double scale);
  // Runs `placed` each time the controls have been placed, for a control
  // placed by hand in relation to the others.
  void SetPlaced(std::function<void()> placed) { placed_ = std::move(placed); }

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(entries_.size()); }
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  QSize sizeHint() const override {
    return Scaled(QRect(QPoint(), design_)).size();
  }
  QSize minimumSize() const override { return sizeHint(); }
  void setGeometry(const QRect& rect) override;

 private:
  struct Entry {
    QLayoutItem* item;
    QRect design;
    Anchors anchors;
  };
  QRect Scaled(const QRect& design) const;

  QList<Entry> entries_;
  QSize design_;
  double scale_ = 1.0;
  std::function<void()> placed_;
};

}  // namespace sceneshifter
