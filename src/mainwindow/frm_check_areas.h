// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <vector>

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace sceneshifter {

// Tools > Check Areas: one row per problem of the last check (Layer, Title,
// Active, Problem, Detail), sortable by any column. The problems of areas
// that are switched off show on request only. Double-click or Enter on a
// row asks the main window to select that area; the buttons act on the
// areas of the selected rows.
class FrmCheckAreas : public QWidget {
  Q_OBJECT
 public:
  struct Row {
    int layer = 0;
    QString title;
    QString problem;
    QString detail;
    bool active = true;
    // Listed even when the area is switched off (an odd flag).
    bool whateverState = false;
    bool operator==(const Row&) const = default;
  };

  explicit FrmCheckAreas(QWidget* parent);

  // No check has ended yet.
  void ShowChecking();
  // The rows of a check that has ended; the same rows again change nothing
  // (the selection and the scroll position stay).
  void SetRows(std::vector<Row> rows);
  // The report as tab-separated lines, a heading first, in the order shown.
  QString ReportText() const;
  // The layers of the areas whose rows are selected, ascending, each once.
  std::vector<int> SelectedLayers() const;

  QTableWidget* TblProblems = nullptr;
  QCheckBox* ChkShowInactive = nullptr;
  QPushButton* CmdDeactivate = nullptr;
  QPushButton* CmdSelectInList = nullptr;
  QPushButton* CmdCopy = nullptr;
  QPushButton* CmdClose = nullptr;

 signals:
  void AreaChosen(int layer);
  void DeactivateRequested(std::vector<int> layers);
  void SelectInListRequested(std::vector<int> layers);

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void ShowRows();

  std::vector<Row> rows_;
  bool shown_ = false;  // rows_ came from a check
};

}  // namespace sceneshifter
