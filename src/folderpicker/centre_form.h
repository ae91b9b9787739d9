// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QSizeF>

class QWidget;

namespace sceneshifter {

// Where a window of size `form` stands on a screen of size `screen`:
// centred across, and centred within the upper 85 per cent down.
QPoint CentrePosition(QSizeF screen, QSizeF form);

// Moves `form` there on its screen.
void CentreForm(QWidget& form);

}  // namespace sceneshifter
