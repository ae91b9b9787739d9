// SPDX-License-Identifier: MIT
#include "frm_check_areas.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "settings_store.h"

namespace sceneshifter {
namespace {

enum Column { kLayer, kTitle, kActive, kProblem, kDetail, kColumns };

}  // namespace

FrmCheckAreas::FrmCheckAreas(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FrmCheckAreas"));
  TblProblems = new QTableWidget(0, kColumns, this);
  TblProblems->setObjectName(QStringLiteral("TblProblems"));
  TblProblems->setAccessibleName(QStringLiteral("Area problems"));
  TblProblems->setHorizontalHeaderLabels(
      {QStringLiteral("Layer"), QStringLiteral("Title"),
       QStringLiteral("Active"), QStringLiteral("Problem"),
       QStringLiteral("Detail")});
  TblProblems->verticalHeader()->hide();
  TblProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TblProblems->setSelectionBehavior(QAbstractItemView::SelectRows);
  TblProblems->setSelectionMode(QAbstractItemView::ExtendedSelection);
  TblProblems->setWordWrap(false);
  // The end of a path names the folder: keep it in sight.
  TblProblems->setTextElideMode(Qt::ElideMiddle);
  TblProblems->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  TblProblems->verticalHeader()->setDefaultSectionSize(fontMetrics().height() +
                                                       6);
  TblProblems->horizontalHeader()->setStretchLastSection(true);
  TblProblems->setSortingEnabled(true);
  TblProblems->sortByColumn(kLayer, Qt::AscendingOrder);
  // Double-click, and Enter on the current row.
  connect(TblProblems, &QAbstractItemView::activated, this,
          [this](const QModelIndex& index) {
            if (const QTableWidgetItem* item =
                    TblProblems->item(index.row(), kLayer))
              emit AreaChosen(item->data(Qt::DisplayRole).toInt());
          });

  ChkShowInactive = new QCheckBox(QStringLiteral("Show inactive areas"), this);
  ChkShowInactive->setObjectName(QStringLiteral("ChkShowInactive"));
  connect(ChkShowInactive, &QCheckBox::toggled, this, [this] { ShowRows(); });
  CmdDeactivate = new QPushButton(QStringLiteral("&Deactivate Selected"), this);
  CmdDeactivate->setObjectName(QStringLiteral("CmdDeactivate"));
  CmdDeactivate->setAutoDefault(false);
  connect(CmdDeactivate, &QPushButton::clicked, this, [this] {
    if (const auto layers = SelectedLayers(); !layers.empty())
      emit DeactivateRequested(layers);
  });
  CmdSelectInList = new QPushButton(QStringLiteral("Select in &List"), this);
  CmdSelectInList->setObjectName(QStringLiteral("CmdSelectInList"));
  CmdSelectInList->setAutoDefault(false);
  connect(CmdSelectInList, &QPushButton::clicked, this, [this] {
    if (const auto layers = SelectedLayers(); !layers.empty())
      emit SelectInListRequested(layers);
  });
  CmdCopy = new QPushButton(QStringLiteral("&Copy Report"), this);
  CmdCopy->setObjectName(QStringLiteral("CmdCopy"));
  CmdCopy->setAutoDefault(false);
  connect(CmdCopy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(ReportText()); });
  CmdClose = new QPushButton(QStringLiteral("Close"), this);
  CmdClose->setObjectName(QStringLiteral("CmdClose"));
  CmdClose->setAutoDefault(false);
  connect(CmdClose, &QPushButton::clicked, this, &QWidget::close);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ChkShowInactive);
  buttons->addWidget(CmdDeactivate);
  buttons->addWidget(CmdSelectInList);
  buttons->addWidget(CmdCopy);
  buttons->addStretch();
  buttons->addWidget(CmdClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TblProblems);
  layout->addLayout(buttons);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  // The size it was given last time; the place follows the main window.
  resize(ReadWindowSize(*OpenSettingsStore(), kCheckAreasSize)
             .value_or(QSize(820, 340))
             .expandedTo(minimumSizeHint()));
  ShowChecking();
}

void FrmCheckAreas::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous())
    WriteWindowSize(*OpenSettingsStore(), kCheckAreasSize,
                    isMaximized() ? normalGeometry().size() : size());
}

void FrmCheckAreas::ShowChecking() {
  if (!shown_) setWindowTitle(QStringLiteral("Check Areas: checking..."));
}

void FrmCheckAreas::SetRows(std::vector<Row> rows) {
  if (shown_ && rows == rows_) return;
  shown_ = true;
  rows_ = std::move(rows);
  ShowRows();
}

void FrmCheckAreas::ShowRows() {
  if (!shown_) return;
  const bool inactiveToo = ChkShowInactive->isChecked();
  std::vector<const Row*> listed;
  for (const Row& row : rows_)
    if (row.active || row.whateverState || inactiveToo) listed.push_back(&row);
  const int count = static_cast<int>(listed.size());
  setWindowTitle(count == 0 ? QStringLiteral("Check Areas: no problems")
                 : count == 1
                     ? QStringLiteral("Check Areas: 1 problem")
                     : QStringLiteral("Check Areas: %1 problems").arg(count));
  // The rows selected stay selected where they are still listed.
  const std::vector<int> selected = SelectedLayers();
  TblProblems->setSortingEnabled(false);
  TblProblems->clearContents();
  TblProblems->setRowCount(count);
  for (int r = 0; r < count; ++r) {
    const Row& row = *listed[r];
    auto* layer = new QTableWidgetItem;
    layer->setData(Qt::DisplayRole, row.layer);  // sorts as a number
    layer->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    TblProblems->setItem(r, kLayer, layer);
    TblProblems->setItem(r, kTitle, new QTableWidgetItem(row.title));
    TblProblems->setItem(
        r, kActive,
        new QTableWidgetItem(row.active ? QStringLiteral("Yes")
                                        : QStringLiteral("No")));
    TblProblems->setItem(r, kProblem, new QTableWidgetItem(row.problem));
    auto* detail = new QTableWidgetItem(row.detail);
    detail->setToolTip(row.detail);
    TblProblems->setItem(r, kDetail, detail);
  }
  TblProblems->setSortingEnabled(true);  // sorts by the column last chosen
  for (int r = 0; r < count; ++r) {
    const QTableWidgetItem* item = TblProblems->item(r, kLayer);
    if (std::binary_search(selected.begin(), selected.end(),
                           item->data(Qt::DisplayRole).toInt()))
      TblProblems->selectionModel()->select(
          TblProblems->model()->index(r, 0),
          QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  TblProblems->resizeColumnToContents(kLayer);
  TblProblems->resizeColumnToContents(kActive);
  TblProblems->resizeColumnToContents(kProblem);
  TblProblems->setColumnWidth(kTitle, 200);
}

std::vector<int> FrmCheckAreas::SelectedLayers() const {
  std::vector<int> layers;
  for (const QModelIndex& index : TblProblems->selectionModel()->selectedRows())
    if (const QTableWidgetItem* item = TblProblems->item(index.row(), kLayer))
      layers.push_back(item->data(Qt::DisplayRole).toInt());
  std::sort(layers.begin(), layers.end());
  layers.erase(std::unique(layers.begin(), layers.end()), layers.end());
  return layers;
}

QString FrmCheckAreas::ReportText() const {
  QStringList lines = {QStringLiteral("Layer\tTitle\tActive\tProblem\tDetail")};
  for (int r = 0; r < TblProblems->rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < kColumns; ++c) {
      const QTableWidgetItem* item = TblProblems->item(r, c);
      QString text = item ? item->text() : QString();
      for (QChar& ch : text)
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n')) ch = u' ';
      cells << text;
    }
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace sceneshifter
