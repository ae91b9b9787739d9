// SPDX-License-Identifier: MIT
#pragma once

class QKeyEvent;
class QObject;

namespace sceneshifter {

// True when `key`, about to be taken as a shortcut, belongs to `target`
// instead: a text box that can be typed into and has the focus keeps its
// editing keys (cut, copy, paste, select all, undo, redo, delete) for its
// own text. Elsewhere the menus' keys act.
bool IsTextEditingKey(const QObject* target, const QKeyEvent& key);

}  // namespace sceneshifter
