// SPDX-License-Identifier: MIT
#pragma once

#include <QUndoCommand>
#include <functional>
#include <utility>

#include "scenery_document.h"

namespace sceneshifter {

// One change of the table in the history, of one area (TableChange) or of
// several (BlockChange). It is recorded once made; undo and redo each take
// back the change last made with `Revert`, so the step swaps between the
// change and its reverse. `show` tells the list about each.
template <typename Change, Change (*Revert)(SceneryDocument&, const Change&)>
class HistoryStep : public QUndoCommand {
 public:
  HistoryStep(SceneryDocument& doc, std::function<void(const Change&)> show,
              Change change, const QString& text)
      : QUndoCommand(text),
        doc_(doc),
        show_(std::move(show)),
        change_(std::move(change)) {}

  void undo() override { TakeBack(); }
  void redo() override {
    if (made_) {
      made_ = false;  // the command itself made it, just before
      return;
    }
    TakeBack();
  }

 private:
  void TakeBack() {
    change_ = Revert(doc_, change_);
    show_(change_);
  }

  SceneryDocument& doc_;
  std::function<void(const Change&)> show_;
  Change change_;
  bool made_ = true;
};

}  // namespace sceneshifter
