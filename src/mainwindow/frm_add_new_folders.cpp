// SPDX-License-Identifier: MIT
#include "frm_add_new_folders.h"

#include <QDir>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "codepage.h"

namespace sceneshifter {

namespace {
enum Column { kTitle, kPath, kBglFiles };
}

FrmAddNewFolders::FrmAddNewFolders(const SceneryDocument& doc, Dialogs& dialogs,
                                   QWidget* parent)
    : QDialog(parent), doc_(doc), dialogs_(dialogs) {
  setObjectName(QStringLiteral("FrmAddNewFolders"));
  setWindowTitle(QStringLiteral("Add New Folders"));
  resize(640, 400);

  LblFolder = new QLabel(this);
  LblFolder->setObjectName(QStringLiteral("LblFolder"));
  LblFolder->setWordWrap(true);
  Progress = new QProgressBar(this);
  Progress->setObjectName(QStringLiteral("Progress"));
  Progress->setRange(0, 0);  // how many folders there are is not known
  Progress->setTextVisible(false);
  Progress->setAccessibleName(QStringLiteral("Looking through folders"));

  LstFolders = new QTreeWidget(this);
  LstFolders->setObjectName(QStringLiteral("LstFolders"));
  LstFolders->setAccessibleName(QStringLiteral("New add-on folders"));
  LstFolders->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Path"),
                               QStringLiteral(".bgl files")});
  LstFolders->setRootIsDecorated(false);
  LstFolders->setUniformRowHeights(true);
  LstFolders->setAllColumnsShowFocus(true);
  LstFolders->header()->setStretchLastSection(false);
  LstFolders->header()->setSectionResizeMode(kPath, QHeaderView::Stretch);
  LblFolder->setBuddy(LstFolders);

  LblNotes = new QLabel(this);
  LblNotes->setObjectName(QStringLiteral("LblNotes"));
  LblNotes->setWordWrap(true);
  LblNotes->setTextFormat(Qt::PlainText);
  LblNotes->hide();

  CmdFolder = new QPushButton(QStringLiteral("&Folder\u2026"), this);
  CmdFolder->setObjectName(QStringLiteral("CmdFolder"));
  CmdAdd = new QPushButton(QStringLiteral("&Add"), this);
  CmdAdd->setObjectName(QStringLiteral("CmdAdd"));
  CmdAdd->setDefault(true);
  CmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  CmdCancel->setObjectName(QStringLiteral("CmdCancel"));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CmdFolder);
  buttons->addStretch();
  buttons->addWidget(CmdAdd);
  buttons->addWidget(CmdCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LblFolder);
  layout->addWidget(Progress);
  layout->addWidget(LstFolders, 1);
  layout->addWidget(LblNotes);
  layout->addLayout(buttons);

  connect(CmdFolder, &QPushButton::clicked, this,
          &FrmAddNewFolders::CmdFolder_Click);
  connect(CmdAdd, &QPushButton::clicked, this, &FrmAddNewFolders::CmdAdd_Click);
  connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(LstFolders, &QTreeWidget::itemChanged, this,
          &FrmAddNewFolders::UpdateAdd);

  ticker_ = new QTimer(this);
  ticker_->setInterval(100);
  connect(ticker_, &QTimer::timeout, this, [this] {
    if (scan_)
      LblFolder->setText(QStringLiteral("Looking through %1\u2026 %2 folders "
                                        "read")
                             .arg(Shown(folder_))
                             .arg(scan_->progress.load()));
  });
}

// A scan still running stops; what it finds is dropped.
FrmAddNewFolders::~FrmAddNewFolders() {
  if (scan_) scan_->cancel.store(true);
}

QString FrmAddNewFolders::Shown(const QString& folder) const {
  return QDir::toNativeSeparators(folder.isEmpty() ? FromHostPath(doc_.FSFolder)
                                                   : folder);
}

void FrmAddNewFolders::Scan(const QString& folder) {
  if (scan_) scan_->cancel.store(true);
  auto run = std::make_shared<Run>();
  scan_ = run;
  folder_ = folder;
  found_.clear();
  LstFolders->clear();
  LblNotes->hide();
  LblFolder->setText(
      QStringLiteral("Looking through %1\u2026").arg(Shown(folder)));
  Progress->show();
  UpdateAdd();
  ticker_->start();

  auto* watcher = new QFutureWatcher<FolderScan>(this);
  connect(watcher, &QFutureWatcher<FolderScan>::finished, this,
          [this, watcher, run] {
            watcher->deleteLater();
            if (scan_ != run) return;  // superseded by another scan
            scan_.reset();
            ticker_->stop();
            Show(watcher->result());
            emit scanned();
          });
  watcher->setFuture(QtConcurrent::run(
      [run, snapshot = TakeHealthSnapshot(doc_), dir = ToHostPath(folder)] {
        return ScanNewFolders(snapshot, dir, &run->cancel, &run->progress);
      }));
}

void FrmAddNewFolders::Show(const FolderScan& scan) {
  Progress->hide();
  found_ = scan.folders;
  const QString where = Shown(folder_);
  LblFolder->setText(
      found_.empty()
          ? QStringLiteral("No add-on folders in %1 that no area leads to.")
                .arg(where)
          : QStringLiteral("Add-on folders in %1 that no area leads to:")
                .arg(where));
  {
    const QSignalBlocker block(LstFolders);
    for (const NewFolder& f : found_) {
      auto* item = new QTreeWidgetItem(LstFolders);
      item->setText(kTitle, FromFileBytes(f.Title));
      item->setText(kPath, FromFileBytes(f.PathValue));
      item->setText(kBglFiles, QString::number(f.bglFiles));
      item->setTextAlignment(kBglFiles, Qt::AlignRight | Qt::AlignVCenter);
      item->setToolTip(kPath,
                       QDir::toNativeSeparators(FromHostPath(f.hostPath)));
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(kTitle, Qt::Checked);
    }
  }
  LstFolders->resizeColumnToContents(kTitle);
  LstFolders->resizeColumnToContents(kBglFiles);
  if (LstFolders->topLevelItemCount() > 0) {
    LstFolders->setCurrentItem(LstFolders->topLevelItem(0));
    LstFolders->setFocus();
  }
  QStringList notes;
  for (const std::string& note : scan.notes)
    notes << QStringLiteral("Left out: ") + FromHostPath(note);
  LblNotes->setText(notes.join(QLatin1Char('\n')));
  LblNotes->setVisible(!notes.isEmpty());
  UpdateAdd();
}

void FrmAddNewFolders::UpdateAdd() {
  CmdAdd->setEnabled(!scan_ && !Ticked().empty());
}

std::vector<NewFolder> FrmAddNewFolders::Ticked() const {
  std::vector<NewFolder> ticked;
  for (int i = 0; i < LstFolders->topLevelItemCount() &&
                  i < static_cast<int>(found_.size());
       ++i)
    if (LstFolders->topLevelItem(i)->checkState(kTitle) == Qt::Checked)
      ticked.push_back(found_[i]);
  return ticked;
}

void FrmAddNewFolders::CmdFolder_Click() {
  const QString chosen = dialogs_.FolderName(
      this, QStringLiteral("Look for add-on folders in"),
      folder_.isEmpty() ? FromHostPath(doc_.FSFolder) : folder_);
  if (!chosen.isEmpty()) Scan(QDir::cleanPath(chosen));
}

void FrmAddNewFolders::CmdAdd_Click() {
  if (scan_) return;
  const std::vector<NewFolder> ticked = Ticked();
  if (ticked.empty()) return;
  if (static_cast<std::size_t>(doc_.AreaCount()) + ticked.size() >
      static_cast<std::size_t>(kAreaSlots)) {
    dialogs_.Message(this,
                     QString::fromStdString(TableFullText(doc_, ticked.size())),
                     Dialogs::Buttons::Ok, QString());
    return;
  }
  accept();
}

}  // namespace sceneshifter
