// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QRect>

namespace sceneshifter {

// The windows' layout is given in twips: 15 make one device-independent
// pixel, so Qt's high-DPI scaling keeps the proportions.
inline QRect Twips(int left, int top, int width, int height) {
  constexpr int kTwipsPerPixel = 15;
  auto px = [](int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
  };
  return QRect(px(left), px(top), px(width), px(height));
}

// The captions' font: bold, and otherwise the font the control inherits
// (the system's), so that a larger system font enlarges the captions too.
// Only the weight is set: family and size stay unresolved and follow the
// parent, also when the system font changes while the window is open.
inline QFont CaptionFont() {
  QFont f;
  f.setBold(true);
  return f;
}

}  // namespace sceneshifter
