// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "area_entry.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace sceneshifter {

// The area panel right of the list: one area's values, shown read-only
// while viewing and unlocked while an area is edited or added.
class AreaPanel : public QWidget {
  Q_OBJECT
 public:
  enum class State { Viewing, Editing, Adding };

  // Sits on `client` with its controls where the window's layout puts them.
  explicit AreaPanel(QWidget* client);

  // FillTextBoxs: shows `area`'s values.
  void Fill(const AreaEntry& area);
  void Clear();
  // Locks or unlocks the controls for `state`. Adding also starts a new
  // area: no title, no path, read where it is.
  void SetState(State state);
  // A new area's place and folder, once the folder picker has chosen it.
  void ShowNewArea(int layer, const QString& path);
  // Gives the title the focus with its text selected: what is typed next
  // replaces it.
  void FocusTitle();

  // The caption of the first typed box whose text the file's code page
  // cannot hold; empty when all can be stored.
  QString UnstorableField() const;
  // `area` with the panel's values, as O K stores them.
  void ApplyTo(AreaEntry& area) const;
  // The number and layer shown for an area being added.
  AreaEntry NewArea() const;

  // The controls, by their names. Label1 0 and 1 caption the list and
  // belong to the window.
  std::array<QLineEdit*, 15> Text1{};
  std::array<QLabel*, 17> Label1{};
  std::array<QRadioButton*, 2> Option1{};
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
};

}  // namespace sceneshifter
