// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "scenery_document.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace sceneshifter {

// Tools > Earlier Versions: the versions that saves of the open file kept,
// newest first with their date and number of areas; the one selected is
// compared with the open table area by area, and Restore asks the main
// window to make it the open table.
class FrmVersions : public QWidget {
  Q_OBJECT
 public:
  struct Version {
    QString date;
    int areas = -1;  // -1: not a readable scenery text
    std::string text;
  };

  // `open` is the table the versions are compared with, read anew at each
  // selection.
  FrmVersions(const SceneryDocument& open, QWidget* parent);

  // The versions to offer, newest first; the newest is selected.
  void SetVersions(QString fileName, std::vector<Version> versions);
  // The text of the version selected; empty when none is.
  const std::string& SelectedText() const;

  QListWidget* LstVersions = nullptr;
  QTableWidget* TblDifferences = nullptr;
  QLabel* LblDifferences = nullptr;
  QPushButton* CmdRestore = nullptr;
  QPushButton* CmdClose = nullptr;

 signals:
  void RestoreChosen();

 private:
  void ShowDifferences();

  const SceneryDocument& open_;
  std::vector<Version> versions_;
};

}  // namespace sceneshifter
