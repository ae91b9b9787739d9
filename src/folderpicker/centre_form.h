// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSizeF>

class QWidget;

namespace sceneshifter {

// Where a window of size `form` stands on a screen of size `screen`:
// centred across, and centred within the upper 85 per cent down.
QPoint CentrePosition(QSizeF screen, QSizeF form);

// Moves `form` there on its screen.
void CentreForm(QWidget& form);

// Where `form` stands over the window `owner`: centred on it as CentreForm
// centres on the screen, so that over a window that CentreForm placed it
// stands exactly where CentreForm would put it. It is kept inside `screen`
// as far as it fits.
QPoint CentreOverPosition(QRect screen, QSizeF form, QPoint ownerPosition,
                          QSizeF owner);

// Moves `form` there, over `owner` on the owner's screen.
void CentreFormOver(QWidget& form, const QWidget& owner);

// True when a window standing in `window` can be reached on one of
// `screens`: enough of its top edge, where it is taken hold of, lies on one.
bool ReachableOnScreens(QRect window, const QList<QRect>& screens);

}  // namespace sceneshifter
