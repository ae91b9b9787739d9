// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <vector>

class QPushButton;
class QTableWidget;

namespace sceneshifter {

// Tools > Check Areas: one row per problem of the last check (Layer, Title,
// Problem, Detail), sortable by any column. Double-click or Enter on a row
// asks the main window to select that area.
class FrmCheckAreas : public QWidget {
  Q_OBJECT
 public:
  struct Row {
    int layer = 0;
    QString title;
    QString problem;
    QString detail;
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

  QTableWidget* TblProblems = nullptr;
  QPushButton* CmdCopy = nullptr;
  QPushButton* CmdClose = nullptr;

 signals:
  void AreaChosen(int layer);

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  std::vector<Row> rows_;
  bool shown_ = false;  // rows_ came from a check
};

}  // namespace sceneshifter
