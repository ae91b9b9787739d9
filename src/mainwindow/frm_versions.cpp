// SPDX-License-Identifier: MIT
#include "frm_versions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "codepage.h"
#include "scenery_reader.h"
#include "table_difference.h"

namespace sceneshifter {
namespace {

enum Column { kLayer, kTitle, kWhat, kDetail, kColumns };

const std::string kNoText;

}  // namespace

FrmVersions::FrmVersions(const SceneryDocument& open, QWidget* parent)
    : QWidget(parent, Qt::Window), open_(open) {
  setObjectName(QStringLiteral("FrmVersions"));
  // The table stays as it is while a version is chosen.
  setWindowModality(Qt::WindowModal);

  auto* versionsLabel = new QLabel(QStringLiteral("&Versions:"), this);
  LstVersions = new QListWidget(this);
  LstVersions->setObjectName(QStringLiteral("LstVersions"));
  versionsLabel->setBuddy(LstVersions);
  LstVersions->setAccessibleName(QStringLiteral("Versions"));
  connect(LstVersions, &QListWidget::currentRowChanged, this,
          &FrmVersions::ShowDifferences);

  LblDifferences = new QLabel(this);
  LblDifferences->setObjectName(QStringLiteral("LblDifferences"));
  LblDifferences->setWordWrap(true);
  TblDifferences = new QTableWidget(0, kColumns, this);
  TblDifferences->setObjectName(QStringLiteral("TblDifferences"));
  LblDifferences->setBuddy(TblDifferences);
  TblDifferences->setAccessibleName(
      QStringLiteral("Differences from the version to the open table"));
  TblDifferences->setHorizontalHeaderLabels(
      {QStringLiteral("Layer"), QStringLiteral("Title"),
       QStringLiteral("Difference"), QStringLiteral("Detail")});
  TblDifferences->verticalHeader()->hide();
  TblDifferences->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TblDifferences->setSelectionBehavior(QAbstractItemView::SelectRows);
  TblDifferences->setWordWrap(false);
  TblDifferences->horizontalHeader()->setStretchLastSection(true);

  CmdRestore = new QPushButton(QStringLiteral("&Restore"), this);
  CmdRestore->setObjectName(QStringLiteral("CmdRestore"));
  CmdRestore->setAccessibleDescription(
      QStringLiteral("Makes the selected version the open table; Undo takes "
                     "it back, and nothing is saved until Save"));
  connect(CmdRestore, &QPushButton::clicked, this, [this] {
    if (!SelectedText().empty()) emit RestoreChosen();
  });
  CmdClose = new QPushButton(QStringLiteral("Close"), this);
  CmdClose->setObjectName(QStringLiteral("CmdClose"));
  CmdClose->setAutoDefault(false);
  connect(CmdClose, &QPushButton::clicked, this, &QWidget::close);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(versionsLabel);
  leftLayout->addWidget(LstVersions);
  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(LblDifferences);
  rightLayout->addWidget(TblDifferences);
  auto* split = new QSplitter(Qt::Horizontal, this);
  split->addWidget(left);
  split->addWidget(right);
  split->setStretchFactor(1, 1);
  split->setChildrenCollapsible(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CmdRestore);
  buttons->addStretch();
  buttons->addWidget(CmdClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(split);
  layout->addLayout(buttons);
  setTabOrder(LstVersions, TblDifferences);
  setTabOrder(TblDifferences, CmdRestore);
  setTabOrder(CmdRestore, CmdClose);
  resize(860, 380);
  split->setSizes({240, 620});
}

void FrmVersions::SetVersions(QString fileName, std::vector<Version> versions) {
  setWindowTitle(QStringLiteral("Earlier Versions: %1").arg(fileName));
  versions_ = std::move(versions);
  LstVersions->clear();
  for (const Version& v : versions_) {
    const QString areas = v.areas < 0 ? QStringLiteral("unreadable")
                          : v.areas == 1
                              ? QStringLiteral("1 area")
                              : QStringLiteral("%1 areas").arg(v.areas);
    LstVersions->addItem(QStringLiteral("%1   %2").arg(v.date, areas));
  }
  if (versions_.empty()) {
    LblDifferences->setText(
        QStringLiteral("No earlier version of this file has been kept yet: "
                       "each save keeps the text it replaces."));
    TblDifferences->setRowCount(0);
    CmdRestore->setEnabled(false);
    return;
  }
  LstVersions->setCurrentRow(0);
  ShowDifferences();
  LstVersions->setFocus();
}

const std::string& FrmVersions::SelectedText() const {
  const int row = LstVersions->currentRow();
  if (row < 0 || row >= static_cast<int>(versions_.size())) return kNoText;
  return versions_[row].text;
}

void FrmVersions::ShowDifferences() {
  TblDifferences->setRowCount(0);
  const int row = LstVersions->currentRow();
  CmdRestore->setEnabled(false);
  if (row < 0 || row >= static_cast<int>(versions_.size())) return;
  ReadResult read = ReadSceneryBytes(versions_[row].text);
  if (!read.ok) {
    LblDifferences->setText(
        QStringLiteral("This version cannot be read as a scenery file."));
    return;
  }
  SceneryDocument earlier;
  AdoptRead(earlier, std::move(read));
  CmdRestore->setEnabled(true);

  struct Line {
    int layer;
    QString title, what, detail;
  };
  std::vector<Line> lines;
  for (const AreaDifference& d : DifferenceOfTables(earlier, open_)) {
    const QString title = FromFileBytes(d.title);
    if (d.kind == AreaDifference::Kind::Added) {
      lines.push_back({d.layerAfter, title, QStringLiteral("Added"), {}});
      continue;
    }
    if (d.kind == AreaDifference::Kind::Removed) {
      lines.push_back({d.layerBefore, title, QStringLiteral("Removed"),
                       QStringLiteral("was at layer %1").arg(d.layerBefore)});
      continue;
    }
    if (d.moved)
      lines.push_back({d.layerAfter, title, QStringLiteral("Moved"),
                       QStringLiteral("layer %1 \u2192 %2")
                           .arg(d.layerBefore)
                           .arg(d.layerAfter)});
    if (d.switched != AreaDifference::Switch::None)
      lines.push_back({d.layerAfter,
                       title,
                       d.switched == AreaDifference::Switch::On
                           ? QStringLiteral("Switched on")
                           : QStringLiteral("Switched off"),
                       {}});
    for (const FieldChange& f : d.fields)
      lines.push_back(
          {d.layerAfter, title, QStringLiteral("Changed"),
           QStringLiteral("%1: %2 \u2192 %3")
               .arg(QString::fromStdString(f.field), FromFileBytes(f.before),
                    FromFileBytes(f.after))});
  }
  LblDifferences->setText(
      lines.empty()
          ? QStringLiteral("&What differs from this version to the open "
                           "table: nothing.")
          : QStringLiteral("&What differs from this version to the open "
                           "table, area by area:"));
  TblDifferences->setRowCount(static_cast<int>(lines.size()));
  for (int r = 0; r < static_cast<int>(lines.size()); ++r) {
    auto* layer = new QTableWidgetItem;
    layer->setData(Qt::DisplayRole, lines[r].layer);
    layer->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    TblDifferences->setItem(r, kLayer, layer);
    TblDifferences->setItem(r, kTitle, new QTableWidgetItem(lines[r].title));
    TblDifferences->setItem(r, kWhat, new QTableWidgetItem(lines[r].what));
    auto* detail = new QTableWidgetItem(lines[r].detail);
    detail->setToolTip(lines[r].detail);
    TblDifferences->setItem(r, kDetail, detail);
  }
  TblDifferences->resizeColumnToContents(kLayer);
  TblDifferences->resizeColumnToContents(kWhat);
  TblDifferences->setColumnWidth(kTitle, 200);
}

}  // namespace sceneshifter
