// SPDX-License-Identifier: MIT
#include "frm_files.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyledItemDelegate>
#include <QWindow>

#include "accessible_text.h"
#include "anchor_layout.h"
#include "area_health.h"
#include "codepage.h"
#include "scenery_scan.h"
#include "settings_store.h"
#include "window_units.h"

namespace sceneshifter {
namespace {

// Folder paths compared in one form: "/" between names, no trailing one
// (except for a root).
QString Normal(const QString& path) {
  QString p = QDir::fromNativeSeparators(path);
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (p.size() > 1 && p.endsWith(QLatin1Char('/')) &&
         !(p.size() == 3 && p[1] == QLatin1Char(':')))
    p.chop(1);
  return p;
}

const int kPathRole = Qt::UserRole;
const int kDepthRole = Qt::UserRole + 1;

// Draws each folder's name indented by its depth in the tree (two blanks a
// level), so that the names themselves stay plain text for typing to find.
class IndentDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem o = option;
    o.rect.adjust(Indent(option, index), 0, 0, 0);
    QStyledItemDelegate::paint(painter, o, index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) +
           QSize(Indent(option, index), 0);
  }

 private:
  static int Indent(const QStyleOptionViewItem& option,
                    const QModelIndex& index) {
    return index.data(kDepthRole).toInt() * 2 *
           option.fontMetrics.horizontalAdvance(QLatin1Char(' '));
  }
};

}  // namespace

// ---- Dir1 ----

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setIconSize(QSize(16, 16));
  setItemDelegate(new IndentDelegate(this));
  connect(this, &QListWidget::itemDoubleClicked, this, &FolderList::OpenItem);
}

bool FolderList::SetPath(const QString& path) {
  const QString wanted = Normal(QDir(path).absolutePath());
  QDir dir(wanted);
  if (path.isEmpty() || !dir.exists() || !dir.isReadable()) return false;
  const QFileInfoList subs = dir.entryInfoList(
      QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);

  path_ = wanted;
  subfolders_.clear();
  clear();
  static const QFileIconProvider icons;
  const QIcon folder = icons.icon(QFileIconProvider::Folder);

  // The chain from the root down to the open folder.
  QStringList chain;
  for (QDir up(wanted);;) {
    chain.prepend(Normal(up.absolutePath()));
    if (up.isRoot() || !up.cdUp()) break;
  }
  int depth = 0;
  QListWidgetItem* open = nullptr;
  for (const QString& p : chain) {
    const QString name =
        depth == 0 ? QDir::toNativeSeparators(p) : QFileInfo(p).fileName();
    auto* item = new QListWidgetItem(folder, name, this);
    item->setData(kPathRole, p);
    item->setData(kDepthRole, depth);
    open = item;
    ++depth;
  }
  for (const QFileInfo& sub : subs) {
    const QString full = Normal(sub.absoluteFilePath());
    subfolders_ << full;
    auto* item = new QListWidgetItem(folder, sub.fileName(), this);
    item->setData(kPathRole, full);
    item->setData(kDepthRole, depth);
  }
  setCurrentItem(open);
  emit pathChanged(path_);
  return true;
}

bool FolderList::Highlight(const QString& path) {
  const QString wanted = Normal(path);
  for (int i = 0; i < count(); ++i)
    if (item(i)->data(kPathRole).toString() == wanted) {
      setCurrentRow(i);
      return true;
    }
  return false;
}

void FolderList::OpenItem(QListWidgetItem* item) {
  if (!item) return;
  const QString wanted = item->data(kPathRole).toString();
  if (SetPath(wanted)) return;
  // Gone or unreadable since it was listed: show what is there now.
  SetPath(path_);
  emit openFailed(wanted);
}

// Enter opens the highlighted folder; it is not the window's default key
// while the folder list has the focus.
bool FolderList::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride) {
    const auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      e->accept();
      return true;
    }
  }
  return QListWidget::event(e);
}

void FolderList::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    OpenItem(currentItem());
    e->accept();
    return;
  }
  QListWidget::keyPressEvent(e);
}

// ---- frmFiles ----

frmFiles::frmFiles(SceneryDocument& doc, Dialogs& dialogs, QWidget* mainWindow,
                   bool& pickerDone, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      dialogs_(dialogs),
      mainWindow_(mainWindow),
      pickerDone_(pickerDone) {
  setObjectName(QStringLiteral("frmFiles"));
  setWindowTitle(QStringLiteral("Find New Scenery"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  Dir1 = new FolderList(this);
  Dir1->setObjectName(QStringLiteral("Dir1"));
  Dir1->setGeometry(Twips(360, 120, 3252, 1536));
  Dir1->setAccessibleName(QStringLiteral("Folders"));
  Drive1 = new QComboBox(this);
  Drive1->setObjectName(QStringLiteral("Drive1"));
  Drive1->setGeometry(Twips(360, 1800, 852, 288));
  Drive1->setAccessibleName(QStringLiteral("Drive"));
  for (const QString& root : DriveRoots()) {
    QString shown = QDir::toNativeSeparators(root);
    if (shown.size() == 3 && shown[1] == QLatin1Char(':'))
      shown = shown.left(2).toLower();
    Drive1->addItem(shown, root);
  }
  const char* captions[] = {"O K", "Cancel"};
  const int lefts[] = {1320, 2520};
  for (int i = 0; i < 2; ++i) {
    auto* b = new QPushButton(QString::fromLatin1(captions[i]), this);
    b->setObjectName(QStringLiteral("cmdFile_%1").arg(i));
    b->setFont(CaptionFont());
    b->setGeometry(Twips(lefts[i], 1800, 1092, 372));
    b->setAccessibleName(SpokenCaption(b->text()));
    connect(b, &QPushButton::clicked, this, [this, i] { cmdFile_Click(i); });
    cmdFile[i] = b;
  }
  cmdFile[0]->setDefault(true);
  setTabOrder(Dir1, Drive1);
  setTabOrder(Drive1, cmdFile[0]);
  setTabOrder(cmdFile[0], cmdFile[1]);

  // Room beyond the design goes to the folder list; the drive list and the
  // buttons keep to the bottom, the buttons to the right.
  auto* layout = new AnchorLayout(this, Twips(0, 0, 3945, 2310).size());
  layout->SetAnchors(Dir1,
                     AnchorLayout::kGrowWidth | AnchorLayout::kGrowHeight);
  layout->SetAnchors(Drive1, AnchorLayout::kFollowBottom);
  for (QPushButton* b : cmdFile)
    layout->SetAnchors(
        b, AnchorLayout::kFollowBottom | AnchorLayout::kFollowRight);
  layout->SetScale(AnchorLayout::CaptionScale(this));
  resize(ReadWindowSize(*OpenSettingsStore(), kPickerSize)
             .value_or(layout->sizeHint())
             .expandedTo(layout->sizeHint()));

  connect(Drive1, &QComboBox::currentIndexChanged, this,
          &frmFiles::Drive1_Change);
  connect(Dir1, &FolderList::pathChanged, this, [this](const QString& p) {
    const int d = Drive1->currentIndex();
    if (d >= 0) driveFolders_[Drive1->itemData(d).toString()] = p;
  });
  connect(Dir1, &FolderList::openFailed, this, [this](const QString& p) {
    dialogs_.Message(this,
                     QStringLiteral("The folder %1 cannot be opened.")
                         .arg(QDir::toNativeSeparators(p)),
                     Dialogs::Buttons::Ok, QString());
  });
  Load();
  Dir1->setFocus();
}

QStringList frmFiles::DriveRoots() {
  QStringList roots;
#ifdef Q_OS_WIN
  for (const QFileInfo& d : QDir::drives())
    roots << Normal(d.absoluteFilePath());
#else
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    if (v.isValid() && v.isReady()) roots << Normal(v.rootPath());
  roots.removeDuplicates();
  roots.sort();
#endif
  if (roots.isEmpty()) roots << Normal(QDir::rootPath());
  return roots;
}

int frmFiles::DriveOf(const QStringList& roots, const QString& path) {
  const QString p = Normal(path);
  int best = -1;
  for (int i = 0; i < roots.size(); ++i) {
    const QString& r = roots[i];
    const bool holds =
        p.compare(r, Qt::CaseInsensitive) == 0 ||
        p.startsWith(r.endsWith(QLatin1Char('/')) ? r : r + QLatin1Char('/'),
                     Qt::CaseInsensitive);
    if (holds && (best < 0 || r.size() > roots[best].size())) best = i;
  }
  return best;
}

QString frmFiles::RelativeSceneryPath(const QString& base,
                                      const QString& path) {
  const QString b = Normal(base);
  const QString p = Normal(path);
  if (b.isEmpty() || p.compare(b, Qt::CaseInsensitive) == 0) return QString();
  const QString prefix =
      b.endsWith(QLatin1Char('/')) ? b : b + QLatin1Char('/');
  if (!p.startsWith(prefix, Qt::CaseInsensitive)) return QString();
  QString rest = p.mid(prefix.size());
  return rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

void frmFiles::Load() {
  // The drive of the scenery file, then the remembered scenery folder.
  QStringList roots;
  for (int i = 0; i < Drive1->count(); ++i)
    roots << Drive1->itemData(i).toString();
  const int drive = DriveOf(roots, FromHostPath(doc_.ConfigFile));
  {
    const QSignalBlocker block(Drive1);
    Drive1->setCurrentIndex(drive >= 0 ? drive : 0);
  }
  Drive1_Change();
  // Opens beside the folder chosen last, which is highlighted, so that the
  // next add-on folder is one step away.
  QString scenery = FromHostPath(doc_.SceneryPath);
  scenery.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QString fs = FromHostPath(doc_.FSFolder);
  const QString chosen = fs + QLatin1Char('/') + scenery;
  const int cut = scenery.lastIndexOf(QLatin1Char('/'));
  if (Dir1->SetPath(cut < 0 ? fs : fs + QLatin1Char('/') + scenery.left(cut)))
    Dir1->Highlight(chosen);
}

void frmFiles::Drive1_Change() {
  const int d = Drive1->currentIndex();
  if (d < 0) return;
  const QString root = Drive1->itemData(d).toString();
  const QString folder = driveFolders_.value(root, root);
  if (Dir1->SetPath(folder) || (folder != root && Dir1->SetPath(root))) {
    driveIndex_ = d;
    return;
  }
  // A drive that cannot be read: the previous folder stays.
  {
    const QSignalBlocker block(Drive1);
    Drive1->setCurrentIndex(driveIndex_);
  }
  if (isVisible())
    dialogs_.Message(this,
                     QStringLiteral("The drive %1 cannot be read.")
                         .arg(QDir::toNativeSeparators(root)),
                     Dialogs::Buttons::Ok, QString());
}

void frmFiles::cmdFile_Click(int Index) {
  doc_.SceneryPath.clear();
  if (Index == 0) {
    bool accepted = false;
    for (const QString& sub : Dir1->Subfolders())
      if (sub.contains(QLatin1String("Scenery"), Qt::CaseInsensitive)) {
        accepted = true;
        break;
      }
    if (!accepted) {
      dialogs_.Message(
          this,
          QStringLiteral(
              "This folder doesn,t appear to be a Valid FS Scenery folder"),
          Dialogs::Buttons::Ok, QString());
      return;
    }
    const int layer =
        LayerLeadingTo(TakeHealthSnapshot(doc_), ToHostPath(Dir1->Path()));
    if (layer > 0 &&
        dialogs_.Message(this,
                         QStringLiteral("This folder is already in the list "
                                        "as layer %1. Add it again?")
                             .arg(layer),
                         Dialogs::Buttons::YesNo,
                         QString()) != Dialogs::Answer::Yes)
      return;
    doc_.SceneryPath = ToHostPath(
        RelativeSceneryPath(FromHostPath(doc_.FSFolder), Dir1->Path()));
  }
  Finish();
}

void frmFiles::Finish() {
  if (finished_) return;
  finished_ = true;
  // A maximised picker opens at the size it had before.
  WriteWindowSize(*OpenSettingsStore(), kPickerSize,
                  isMaximized() ? normalGeometry().size() : size());
  if (mainWindow_) mainWindow_->setEnabled(true);
  pickerDone_ = true;
  emit pickerFinished();
  close();
}

// Kept above the main window, which must not be its parent: a disabled
// parent would disable the picker too.
void frmFiles::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (mainWindow_ && mainWindow_->windowHandle() && windowHandle())
    windowHandle()->setTransientParent(mainWindow_->windowHandle());
}

// Esc, and closing from the frame, count as Cancel.
void frmFiles::reject() { cmdFile_Click(1); }

void frmFiles::closeEvent(QCloseEvent* event) {
  if (!finished_) {
    doc_.SceneryPath.clear();
    Finish();
  }
  event->accept();
}

}  // namespace sceneshifter
