// SPDX-License-Identifier: MIT
#include "centre_form.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace sceneshifter {
namespace {
// To the nearest integer, halves to even.
int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

QScreen* ScreenOf(const QWidget& w) {
  return w.screen() ? w.screen() : QGuiApplication::primaryScreen();
}
}  // namespace

QPoint CentrePosition(QSizeF screen, QSizeF form) {
  const int top =
      Nearest(screen.height() * 0.85) / 2 - Nearest(form.height()) / 2;
  const int left = Nearest(screen.width()) / 2 - Nearest(form.width()) / 2;
  return QPoint(left, top);
}

void CentreForm(QWidget& form) {
  QScreen* screen = ScreenOf(form);
  if (!screen) return;
  const QRect area = screen->geometry();
  form.move(area.topLeft() + CentrePosition(area.size(), form.size()));
}

QPoint CentreOverPosition(QRect screen, QSizeF form, QPoint ownerPosition,
                          QSizeF owner) {
  // Centred on the owner with CentreForm's rounding: over an owner that
  // CentreForm placed, the screen's size drops out and the form stands at
  // its own CentreForm place.
  const QPoint p =
      ownerPosition +
      QPoint(Nearest(owner.width()) / 2 - Nearest(form.width()) / 2,
             Nearest(owner.height()) / 2 - Nearest(form.height()) / 2);
  // A form larger than the screen keeps its top-left corner on it.
  const int w = Nearest(form.width()), h = Nearest(form.height());
  return QPoint(
      std::max(screen.left(), std::min(p.x(), screen.right() + 1 - w)),
      std::max(screen.top(), std::min(p.y(), screen.bottom() + 1 - h)));
}

void CentreFormOver(QWidget& form, const QWidget& owner) {
  QScreen* screen = ScreenOf(owner);
  if (!screen) return;
  form.move(CentreOverPosition(screen->availableGeometry(), form.size(),
                               owner.pos(), owner.size()));
}

bool ReachableOnScreens(QRect window, const QList<QRect>& screens) {
  // The band of the title bar, and how much of it must show.
  constexpr int kBand = 24, kWide = 48, kHigh = 8;
  const QRect band(window.topLeft(),
                   QSize(window.width(), std::min(window.height(), kBand)));
  for (const QRect& screen : screens) {
    const QRect shown = band.intersected(screen);
    if (shown.width() >= std::min(kWide, band.width()) &&
        shown.height() >= std::min(kHigh, band.height()))
      return true;
  }
  return false;
}

}  // namespace sceneshifter
