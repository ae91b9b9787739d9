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

// The captions' font, MS Sans Serif 8.25 point bold. Where that face is
// missing, one of about its width keeps the captions inside their controls.
inline QFont CaptionFont() {
  QFont f;
  f.setFamilies({QStringLiteral("MS Sans Serif"),
                 QStringLiteral("Microsoft Sans Serif"),
                 QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                 QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
  f.setPointSizeF(8.25);
  f.setBold(true);
  return f;
}

}  // namespace sceneshifter
