// SPDX-License-Identifier: MIT
#include "centre_form.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace sceneshifter {
namespace {
// To the nearest integer, halves to even.
int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }
}  // namespace

QPoint CentrePosition(QSizeF screen, QSizeF form) {
  const int top =
      Nearest(screen.height() * 0.85) / 2 - Nearest(form.height()) / 2;
  const int left = Nearest(screen.width()) / 2 - Nearest(form.width()) / 2;
  return QPoint(left, top);
}

void CentreForm(QWidget& form) {
  QScreen* screen =
      form.screen() ? form.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  form.move(area.topLeft() + CentrePosition(area.size(), form.size()));
}

}  // namespace sceneshifter
