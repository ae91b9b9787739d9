// SPDX-License-Identifier: MIT
#include "editing_keys.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace sceneshifter {

bool IsTextEditingKey(const QObject* target, const QKeyEvent& key) {
  const auto* box = qobject_cast<const QLineEdit*>(target);
  if (!box || box->isReadOnly() || !box->isEnabled() || !box->hasFocus())
    return false;
  const QKeyCombination pressed = key.keyCombination();
  for (const QKeyCombination editing :
       {Qt::CTRL | Qt::Key_X, Qt::CTRL | Qt::Key_A, Qt::CTRL | Qt::Key_C,
        Qt::CTRL | Qt::Key_V, Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y,
        Qt::CTRL | Qt::SHIFT | Qt::Key_Z, QKeyCombination(Qt::Key_Delete)})
    if (pressed == editing) return true;
  return false;
}

}  // namespace sceneshifter
