// SPDX-License-Identifier: MIT
#include "frm_check_areas.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "settings_store.h"

namespace sceneshifter {
namespace {

enum Column { kLayer, kTitle, kProblem, kDetail, kColumns };

}  // namespace

FrmCheckAreas::FrmCheckAreas(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FrmCheckAreas"));
  TblProblems = new QTableWidget(0, kColumns, this);
  TblProblems->setObjectName(QStringLiteral("TblProblems"));
  TblProblems->setAccessibleName(QStringLiteral("Area problems"));
  TblProblems->setHorizontalHeaderLabels(
      {QStringLiteral("Layer"), QStringLiteral("Title"),
       QStringLiteral("Problem"), QStringLiteral("Detail")});
  TblProblems->verticalHeader()->hide();
  TblProblems->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TblProblems->setSelectionBehavior(QAbstractItemView::SelectRows);
  TblProblems->setSelectionMode(QAbstractItemView::SingleSelection);
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
  buttons->addWidget(CmdCopy);
  buttons->addStretch();
  buttons->addWidget(CmdClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TblProblems);
  layout->addLayout(buttons);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  // The size it was given last time; the place follows the main window.
  resize(ReadWindowSize(*OpenSettingsStore(), kCheckAreasSize)
             .value_or(QSize(760, 340))
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
  const int count = static_cast<int>(rows_.size());
  setWindowTitle(count == 0 ? QStringLiteral("Check Areas: no problems")
                 : count == 1
                     ? QStringLiteral("Check Areas: 1 problem")
                     : QStringLiteral("Check Areas: %1 problems").arg(count));
  TblProblems->setSortingEnabled(false);
  TblProblems->clearContents();
  TblProblems->setRowCount(count);
  for (int r = 0; r < count; ++r) {
    const Row& row = rows_[r];
    auto* layer = new QTableWidgetItem;
    layer->setData(Qt::DisplayRole, row.layer);  // sorts as a number
    layer->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    TblProblems->setItem(r, kLayer, layer);
    TblProblems->setItem(r, kTitle, new QTableWidgetItem(row.title));
    TblProblems->setItem(r, kProblem, new QTableWidgetItem(row.problem));
    auto* detail = new QTableWidgetItem(row.detail);
    detail->setToolTip(row.detail);
    TblProblems->setItem(r, kDetail, detail);
  }
  TblProblems->setSortingEnabled(true);  // sorts by the column last chosen
  TblProblems->resizeColumnToContents(kLayer);
  TblProblems->resizeColumnToContents(kProblem);
  TblProblems->setColumnWidth(kTitle, 200);
}

QString FrmCheckAreas::ReportText() const {
  QStringList lines = {QStringLiteral("Layer\tTitle\tProblem\tDetail")};
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
