// SPDX-License-Identifier: MIT
#include "frm_config.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <utility>

#include "centre_form.h"
#include "code_page.h"
#include "codepage.h"
#include "path_helpers.h"
#include "scenery_reader.h"
#include "scenery_writer.h"
#include "text_bytes.h"
#include "title_list_model.h"
#include "window_units.h"
#include "wrapping_button.h"

namespace sceneshifter {
namespace {

// Sky, ground, and an aircraft over a runway, drawn from the one picture
// the installed icons come from. Every size given is read at once (and sent
// whole to an X11 desktop), so only those a title bar, a task bar or a
// window switcher shows; larger ones come from the installed theme icons.
QIcon WindowIcon() {
  QIcon icon;
  for (const int size : {16, 22, 24, 32, 48, 64})
    icon.addFile(QStringLiteral(":/icons/sceneshifter-%1.png").arg(size),
                 QSize(size, size));
  return icon;
}

// Texts in the document are the file's bytes; widgets hold Unicode.
QString Shown(const std::string& bytes) { return FromFileBytes(bytes); }

const char* const kSortedMessage =
    "The Sceneshifter has sorted your Scenery Areas into numerical order.     "
    "      PLEASE check them and if all is ok Save it";
const char* const kChangedQuestion =
    "Config File has Changed , DO you wish to Save it?";

// How long the watched file must stay quiet before a change is handled: an
// installer's or the simulator's save is over by then.
constexpr int kDiskQuietMs = 300;

// The folder of `file`, or the nearest folder above it that still exists:
// where a file dialog opens. Empty (the platform's choice) for none.
QString DialogFolder(const std::string& file) {
  std::string folder = FolderOf(file);
  while (!folder.empty() && !QFileInfo(FromHostPath(folder)).isDir())
    folder = FolderOf(folder);
  return FromHostPath(folder);
}

// A path shown as a menu entry: its "&" is not an access key.
QString MenuCaption(const QString& path) {
  QString caption = path;
  return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

FrmConfig::FrmConfig(SceneryDocument& doc, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), doc_(doc), dialogs_(dialogs) {
  setObjectName(QStringLiteral("FrmConfig"));
  setWindowTitle(QStringLiteral("Sceneshifter"));
  setWindowIcon(WindowIcon());
  BuildControls();
  BuildMenus();
  BuildHealthCheck();
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  watcher_ = new QFileSystemWatcher(this);
  diskCheck_ = new QTimer(this);
  diskCheck_->setSingleShot(true);
  diskCheck_->setInterval(kDiskQuietMs);
  connect(watcher_, &QFileSystemWatcher::fileChanged, diskCheck_,
          qOverload<>(&QTimer::start));
  connect(watcher_, &QFileSystemWatcher::directoryChanged, diskCheck_,
          qOverload<>(&QTimer::start));
  connect(diskCheck_, &QTimer::timeout, this, &FrmConfig::CheckDisk);
}

FrmConfig::~FrmConfig() {
  // The history empties itself as it goes; the news must not reach a
  // window that is half gone.
  history_->disconnect(this);
}

void FrmConfig::BuildControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(Twips(0, 0, 8745, 6015).size());
  setCentralWidget(client);
  const QFont captions = CaptionFont();

  auto label = [&](int index, const char* caption, QRect geometry,
                   Qt::Alignment align) {
    auto* l = new QLabel(QString::fromLatin1(caption), client);
    l->setObjectName(QStringLiteral("Label1_%1").arg(index));
    l->setFont(captions);
    l->setAlignment(align | Qt::AlignVCenter);
    // Right-aligned captions keep clear of the box they name.
    if (align & Qt::AlignRight) l->setContentsMargins(0, 0, 3, 0);
    l->setGeometry(geometry);
    Label1[index] = l;
  };
  auto text = [&](int index, QRect geometry) {
    auto* t = new QLineEdit(client);
    t->setObjectName(QStringLiteral("Text1_%1").arg(index));
    t->setReadOnly(true);
    t->setGeometry(geometry);
    t->installEventFilter(this);
    Text1[index] = t;
  };

  // Area list.
  label(0, "Layer", Twips(0, 120, 612, 252), Qt::AlignHCenter);
  label(1, "Title", Twips(1680, 120, 612, 252), Qt::AlignHCenter);
  model_ = new TitleListModel(doc_, this);
  LstTitle = new QListView(client);
  LstTitle->setObjectName(QStringLiteral("LstTitle"));
  LstTitle->setModel(model_);
  LstTitle->setSelectionMode(QAbstractItemView::SingleSelection);
  LstTitle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  LstTitle->setUniformItemSizes(true);
  LstTitle->setGeometry(Twips(120, 360, 3015, 5130));
  LstTitle->installEventFilter(this);
  // An entry dragged to another place moves its area there.
  LstTitle->setDragDropMode(QAbstractItemView::DragDrop);
  LstTitle->setDefaultDropAction(Qt::MoveAction);
  LstTitle->setDropIndicatorShown(true);
  connect(model_, &TitleListModel::moveRequested, this,
          [this](int from, int to) { MoveTo(from, to, false); });
  connect(LstTitle->selectionModel(), &QItemSelectionModel::currentChanged,
          this, [this](const QModelIndex& current) {
            if (!current.isValid()) return;
            LstTitle->selectionModel()->select(
                current, QItemSelectionModel::ClearAndSelect);
            LstTitle_Click();
          });

  // Command column.
  struct ButtonSpec {
    int index;
    const char* caption;
    int top;
  };
  const ButtonSpec buttons[] = {{3, "&Lower ", 600}, {2, "&Raise ", 1200},
                                {6, "&Add ", 1800},  {4, "&Delete ", 2400},
                                {5, "&Edit ", 3000}, {8, "O K", 3600},
                                {9, "Cancel", 4200}, {1, "Exit", 4800}};
  for (const auto& b : buttons) {
    auto* button = new QPushButton(QString::fromLatin1(b.caption), client);
    button->setObjectName(QStringLiteral("Command1_%1").arg(b.index));
    button->setFont(captions);
    button->setGeometry(Twips(3240, b.top, 972, 372));
    button->setAutoDefault(false);
    button->installEventFilter(this);
    const int index = b.index;
    connect(button, &QPushButton::clicked, this,
            [this, index] { Command1_Click(index); });
    Command1[b.index] = button;
  }
  Command1[8]->setEnabled(false);

  // Area panel.
  Check2 = new WrappingCheckBox(QStringLiteral("Required"), client);
  Check2->setObjectName(QStringLiteral("Check2"));
  Check2->setGeometry(Twips(4080, 0, 1095, 375));
  Option1[1] = new WrappingRadioButton(QStringLiteral("Use Direct"), client);
  Option1[1]->setObjectName(QStringLiteral("Option1_1"));
  Option1[1]->setGeometry(Twips(5640, 0, 855, 375));
  Option1[0] =
      new WrappingRadioButton(QStringLiteral("Cache This Scenery"), client);
  Option1[0]->setObjectName(QStringLiteral("Option1_0"));
  Option1[0]->setGeometry(Twips(6840, 0, 1335, 375));
  label(2, "Area", Twips(4440, 480, 612, 252), Qt::AlignRight);
  text(0, Twips(5160, 480, 732, 288));
  label(6, "Layer", Twips(5880, 480, 612, 252), Qt::AlignRight);
  text(3, Twips(6600, 480, 612, 288));
  Check1 = new WrappingCheckBox(QStringLiteral("Active"), client);
  Check1->setObjectName(QStringLiteral("Check1"));
  Check1->setGeometry(Twips(7320, 480, 975, 375));
  label(3, "Title", Twips(4200, 840, 612, 252), Qt::AlignRight);
  text(1, Twips(5160, 840, 3372, 288));
  label(4, "Path", Twips(4200, 1200, 612, 252), Qt::AlignRight);
  text(2, Twips(5160, 1200, 3372, 288));
  label(5, "Exclude", Twips(4200, 1560, 735, 255), Qt::AlignRight);
  text(4, Twips(5160, 1560, 3372, 288));
  for (int k = 0; k <= 9; ++k) {
    const int top = 1920 + 360 * k;
    label(7 + k, QStringLiteral("Flatten %1").arg(k).toLatin1().constData(),
          Twips(4320, top, 855, 255), Qt::AlignRight);
    text(5 + k, Twips(5160, top, 3372, 288));
  }
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
           Check1, Check2, Option1[0], Option1[1]}) {
    b->setFont(captions);
    b->setEnabled(false);
    b->installEventFilter(this);
  }

  StatusBar = new QLabel(client);
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setAlignment(Qt::AlignCenter);
  StatusBar->setFrameStyle(QFrame::Box | QFrame::Plain);
  StatusBar->setLineWidth(1);
  StatusBar->setGeometry(Twips(0, 5640, 8295, 375));

  // What each control is for, in the words of the simulator's scenery.
  const std::pair<QWidget*, const char*> tips[] = {
      {Command1[3],
       "Lower the selected area one layer. A lower layer is drawn under the "
       "areas of higher layers in the simulator. The area moves one place up "
       "the list; the first three areas stay where they are."},
      {Command1[2],
       "Raise the selected area one layer. A higher layer is drawn over the "
       "areas of lower layers in the simulator. The area moves one place down "
       "the list."},
      {Command1[6],
       "Add a new area after the last one: choose its scenery folder, type "
       "its title, then press O K."},
      {Command1[4],
       "Delete the selected area, without asking (Tools > Undo brings it "
       "back). The areas after it move up one place and are renumbered."},
      {Command1[5],
       "Change the selected area's title, path and kind of folder and its "
       "Active and Required boxes, then press O K."},
      {Command1[8], "Store the area as shown here (Enter)."},
      {Command1[9],
       "Leave the changes shown here unstored and show the last area (Esc)."},
      {Command1[1],
       "End Sceneshifter. If the scenery file has changed, you are asked "
       "whether to save it first."},
      {Check2,
       "Ticked: the area is stored as required (Required=True); clear: "
       "Required=False."},
      {Option1[1],
       "The simulator reads the area's folder where it is (stored as "
       "Local=)."},
      {Option1[0],
       "The simulator copies the area's folder into its cache, for scenery on "
       "a CD or a network drive (stored as Remote=)."},
      {Check1,
       "Ticked: the simulator shows the area (Active=True); clear: the area "
       "stays in the file, switched off (Active=False)."},
      {Text1[0],
       "The area's number: its place in the file. Raise, Lower and Delete "
       "change it."},
      {Text1[3],
       "The area's layer, the same as its number. The simulator draws the "
       "areas of higher layers over those of lower layers."},
      {Text1[1],
       "The area's title, as the simulator's scenery library lists it. Edit "
       "or Add lets you change it."},
      {Text1[2],
       "The area's scenery folder, relative to the simulator's folder. Edit "
       "or Add lets you change it."},
      {Text1[4], "The area's exclude value, kept as the file has it."}};
  // As paragraphs, so that a long tip wraps beside its control.
  auto tip = [](QWidget* control, const QString& text) {
    control->setToolTip(QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped()));
  };
  for (const auto& [control, text] : tips)
    tip(control, QString::fromLatin1(text));
  for (int k = 0; k <= 9; ++k)
    tip(Text1[5 + k],
        QStringLiteral("The area's flatten value %1, kept as the file has it.")
            .arg(k));

  // The tab order of the window.
  const std::vector<QWidget*> order = {
      LstTitle,    Text1[0],    Text1[1],    Text1[2],    Text1[3],
      Check1,      Command1[1], Command1[2], Command1[3], Command1[4],
      Command1[5], Command1[6], Command1[8], Command1[9], Option1[0],
      Option1[1],  Check2,      Text1[4],    Text1[5],    Text1[6],
      Text1[7],    Text1[8],    Text1[9],    Text1[10],   Text1[11],
      Text1[12],   Text1[13],   Text1[14]};
  for (std::size_t i = 1; i < order.size(); ++i)
    setTabOrder(order[i - 1], order[i]);

  // O K is the default button and Cancel the cancel button. A focused
  // button takes Enter for itself.
  auto* enter = new QShortcut(QKeySequence(Qt::Key_Return), this);
  auto* enterPad = new QShortcut(QKeySequence(Qt::Key_Enter), this);
  for (QShortcut* s : {enter, enterPad}) {
    connect(s, &QShortcut::activated, this, [this] {
      auto* focused = qobject_cast<QPushButton*>(focusWidget());
      if (focused && focused->isEnabled())
        focused->click();
      else if (Command1[8]->isEnabled())
        Command1[8]->click();
    });
  }
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] {
    if (Command1[9]->isEnabled()) Command1[9]->click();
  });
}

void FrmConfig::BuildMenus() {
  MnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  MnuFile->setObjectName(QStringLiteral("MnuFile"));
  auto item = [this](QMenu* menu, const char* name, const char* caption,
                     QKeySequence shortcut, void (FrmConfig::*handler)()) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };
  MnuLoad = item(MnuFile, "MnuLoad", "&Load", QKeySequence(),
                 &FrmConfig::MnuLoad_Click);
  MnuSave = item(MnuFile, "MnuSave", "&Save",
                 QKeySequence(Qt::CTRL | Qt::Key_S), &FrmConfig::MnuSave_Click);
  MnuSaveAs =
      item(MnuFile, "MnuSaveAs", "Save &As", QKeySequence(Qt::CTRL | Qt::Key_A),
           &FrmConfig::MnuSaveAs_Click);
  MnuExit = item(MnuFile, "MnuExit", "Exit", QKeySequence(Qt::CTRL | Qt::Key_X),
                 &FrmConfig::MnuExit_Click);
  QAction* separator = MnuFile->addSeparator();
  // A plain line: a separator with a caption is drawn as a heading.
  separator->setObjectName(QStringLiteral("MnuFileArray_0"));
  separator->setVisible(false);
  MnuFileArray.push_back(separator);

  MnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
  MnuTools->setObjectName(QStringLiteral("MnuTools"));
  MnuSearch =
      item(MnuTools, "MnuSearch", "&Search", QKeySequence(Qt::CTRL | Qt::Key_F),
           &FrmConfig::MnuSearch_Click);
  MnuSearchNext =
      item(MnuTools, "MnuSearchNext", "Search &Next", QKeySequence(Qt::Key_F3),
           &FrmConfig::MnuSearchNext_Click);
  MnuUndo = item(MnuTools, "MnuUndo", "&Undo",
                 QKeySequence(Qt::CTRL | Qt::Key_Z), &FrmConfig::MnuUndo_Click);
  MnuRedo = item(MnuTools, "MnuRedo", "&Redo",
                 QKeySequence(Qt::CTRL | Qt::Key_Y), &FrmConfig::MnuRedo_Click);
  MnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  MnuMoveTo =
      item(MnuTools, "MnuMoveTo", "&Move To",
           QKeySequence(Qt::CTRL | Qt::Key_M), &FrmConfig::MnuMoveTo_Click);
  MnuMoveTo->setText(QStringLiteral("&Move To\u2026"));
  MnuCheckAreas =
      item(MnuTools, "MnuCheckAreas", "&Check Areas",
           QKeySequence(Qt::CTRL | Qt::Key_K), &FrmConfig::MnuCheckAreas_Click);
  history_ = new QUndoStack(this);
  connect(history_, &QUndoStack::canUndoChanged, this,
          &FrmConfig::UpdateHistoryItems);
  connect(history_, &QUndoStack::canRedoChanged, this,
          &FrmConfig::UpdateHistoryItems);
  UpdateHistoryItems();

  MnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  MnuHelp->setObjectName(QStringLiteral("MnuHelp"));
  MnuAbout = item(MnuHelp, "MnuAbout", "&About Sceneshifter", QKeySequence(),
                  &FrmConfig::MnuAbout_Click);
}

// The menu shortcuts work whatever control has the focus: a text box or the
// list would otherwise keep Ctrl+A and Ctrl+X for themselves.
bool FrmConfig::eventFilter(QObject* watched, QEvent* event) {
  // A button's access key presses it at once, not after the 100 ms flash
  // that drops the presses made meanwhile: every press counts, in order.
  if (event->type() == QEvent::Shortcut) {
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
      button->click();  // nothing when disabled
      return true;
    }
  }
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (QAction* a :
         {MnuSave, MnuSaveAs, MnuExit, MnuSearch, MnuSearchNext, MnuCheckAreas})
      if (a->shortcut() == pressed) return true;  // left unaccepted
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- start-up and the file commands ----

void FrmConfig::Startup(const QString& fileArgument) {
  PlaceWindow();
  show();
  if (const std::string problem = ActiveCodePageProblem(); !problem.empty())
    dialogs_.Message(this,
                     QString::fromUtf8(problem.c_str()) +
                         QStringLiteral(". The code page of your language "
                                        "settings is used instead."),
                     Dialogs::Buttons::Ok, QString());
  ReadSettings();
  if (!fileArgument.isEmpty()) doc_.ConfigFile = ToHostPath(fileArgument);
  // The dialog opens where the remembered file was, or the last choice is.
  QString folder = DialogFolder(doc_.ConfigFile);
  while (!FileExists(doc_.ConfigFile)) {
    const auto answer = dialogs_.Message(
        this, QStringLiteral("Please find Flight Sim Scenery config File"),
        Dialogs::Buttons::YesNo, QString());
    if (answer != Dialogs::Answer::Yes) {
      End();
      return;
    }
    const QString chosen = dialogs_.OpenFileName(
        this, QStringLiteral("Please find Flight Sim Scenery config File"),
        QStringLiteral("Scenery.cfg (Scenery.cfg scenery.cfg SCENERY.CFG)"),
        folder);
    doc_.ConfigFile = ToHostPath(chosen);
    if (!chosen.isEmpty()) folder = DialogFolder(doc_.ConfigFile);
    WriteSettings();
  }
  doc_.FSFolder = FolderOf(doc_.ConfigFile);
  startingUp_ = true;
  LoadFile();
  startingUp_ = false;
}

bool FrmConfig::LoadFile() {
  std::string detail;
  const std::string error = LoadDocument(doc_, &detail);
  if (!error.empty()) {
    dialogs_.Message(this, QString::fromLatin1(error.c_str()),
                     Dialogs::Buttons::Ok, QString(),
                     QString::fromUtf8(detail.c_str()));
    // Only a start-up without a document ends the program; later, the
    // document that is open stays.
    if (startingUp_) End();
    return false;
  }
  WatchFile();
  TableReplaced();
  SelectListEntry(doc_.LastArea);
  if (HasCurrentArea()) FillTextBoxs(doc_.LastArea);
  StatusBar->setText(FromHostPath(doc_.ConfigFile));
  if (doc_.AreasSorted)
    dialogs_.Message(this, QString::fromLatin1(kSortedMessage),
                     Dialogs::Buttons::Ok, QString());
  UpdateMenu(FromHostPath(doc_.ConfigFile), 0);
  return true;
}

bool FrmConfig::OpenFile(const QString& path) {
  const std::string previous = doc_.ConfigFile;
  doc_.ConfigFile = ToHostPath(path);
  if (LoadFile()) return true;
  doc_.ConfigFile = previous;
  return false;
}

bool FrmConfig::FileSave() { return SaveFile(SaveMode::CheckDisk); }

bool FrmConfig::SaveFile(SaveMode mode) {
  SaveResult r = SaveDocument(doc_, DefaultFileOps(), mode);
  if (r.changedOnDisk) {
    switch (AskAboutDiskChange()) {
      case Dialogs::Answer::Overwrite:
        r = SaveDocument(doc_, DefaultFileOps(), SaveMode::Overwrite);
        break;
      case Dialogs::Answer::Reload:
        ReloadFile();
        return false;
      default:
        return false;
    }
  }
  const QString path = FromHostPath(doc_.ConfigFile);
  if (!r.ok) {
    dialogs_.Message(
        this,
        QStringLiteral("The scenery file %1 could not be saved: %2.")
            .arg(path, QString::fromUtf8(r.error.c_str())),
        Dialogs::Buttons::Ok, QString());
    return false;
  }
  WriteSettings();
  WatchFile();
  for (const std::string* warning : {&r.backupWarning, &r.syncWarning})
    if (!warning->empty())
      dialogs_.Message(this,
                       QStringLiteral("The scenery file %1 was saved, but %2.")
                           .arg(path, QString::fromUtf8(warning->c_str())),
                       Dialogs::Buttons::Ok, QString());
  return true;
}

bool FrmConfig::MaybeSave(bool offerCancel) {
  if (!doc_.FileChanged) return true;
  const auto answer = dialogs_.Message(
      this, QString::fromLatin1(kChangedQuestion),
      offerCancel ? Dialogs::Buttons::YesNoCancel : Dialogs::Buttons::YesNo,
      QStringLiteral("WanaSave"));
  if (answer == Dialogs::Answer::Cancel) return false;
  if (answer != Dialogs::Answer::Yes) return true;
  return FileSave();
}

// ---- changes made by other programs ----

Dialogs::Answer FrmConfig::AskAboutDiskChange() {
  const QString path = FromHostPath(doc_.ConfigFile);
  const QString what =
      FileExists(doc_.ConfigFile)
          ? QStringLiteral(
                "Another program has changed the scenery file %1 "
                "since Sceneshifter read it.")
          : QStringLiteral(
                "The scenery file %1 is no longer there: another "
                "program has moved or removed it.");
  return dialogs_.Message(
      this,
      what.arg(path) +
          QStringLiteral("\n\nOverwrite it with the areas shown here, reload "
                         "it and lose the changes made here, or cancel?"),
      Dialogs::Buttons::OverwriteReloadCancel, QString());
}

bool FrmConfig::ReloadFile() {
  // The area shown is found again by its title and folder, else by its
  // place.
  const int shown = doc_.CurrentArea;
  AreaEntry area;
  if (HasCurrentArea()) area = doc_.Areas[shown];
  if (!LoadFile()) return false;
  if (Command1[8]->isEnabled()) CmdCancel();  // the panel edited is gone
  int select = -1;
  for (int i = 0; i <= doc_.LastArea && shown >= 0; ++i)
    if (doc_.Areas[i].Title == area.Title &&
        doc_.Areas[i].PathValue == area.PathValue) {
      select = i;
      break;
    }
  if (select < 0 && shown >= 0 && shown <= doc_.LastArea) select = shown;
  if (select >= 0) SelectListEntry(select);
  StatusBar->setText(QStringLiteral("%1 (reloaded: another program changed it)")
                         .arg(FromHostPath(doc_.ConfigFile)));
  return true;
}

bool FrmConfig::HasUnsavedWork() const {
  return doc_.FileChanged || Command1[8]->isEnabled();
}

void FrmConfig::WatchFile() {
  const QStringList watched = watcher_->files() + watcher_->directories();
  if (!watched.isEmpty()) watcher_->removePaths(watched);
  handledChange_ = FileFingerprint();
  if (doc_.DiskPath.empty()) return;
  const QFileInfo file(FromHostPath(doc_.DiskPath));
  QStringList paths{file.absoluteFilePath(), file.absolutePath()};
  // A linked file is replaced in its target's folder.
  const QString target = file.canonicalFilePath();
  if (!target.isEmpty()) paths << QFileInfo(target).absolutePath();
  paths.removeDuplicates();
  watcher_->addPaths(paths);
}

void FrmConfig::CheckDisk() {
  if (ended_ || doc_.DiskPath.empty() || doc_.DiskPath != doc_.ConfigFile)
    return;
  const QString path = FromHostPath(doc_.DiskPath);
  const QString absolute = QFileInfo(path).absoluteFilePath();
  // A file replaced by a rename is a new file: watch it again.
  if (!watcher_->files().contains(absolute) && QFileInfo::exists(absolute))
    watcher_->addPath(absolute);
  // Not in the middle of the start-up load (whose first question may wait
  // for the window to be mapped), the folder picker, a question, a dialog or
  // a menu: look again once they are closed.
  if (startingUp_ || !isEnabled() || QApplication::activeModalWidget() ||
      QApplication::activePopupWidget()) {
    diskCheck_->start();
    return;
  }
  const QString missing =
      path + QStringLiteral(
                 " (no longer there: moved or removed by another "
                 "program)");
  const FileFingerprint now = CurrentFingerprint(doc_.DiskPath);
  if (now.SameContent(doc_.DiskFingerprint)) {
    // Our own save, or the file is back as it was.
    if (StatusBar->text() == missing) StatusBar->setText(path);
    return;
  }
  if (!now.exists) {
    // Nothing to reload; the next save asks before writing it again.
    StatusBar->setText(missing);
    return;
  }
  if (now.SameContent(handledChange_)) return;
  handledChange_ = now;
  if (!HasUnsavedWork()) {
    ReloadFile();
    return;
  }
  switch (AskAboutDiskChange()) {
    case Dialogs::Answer::Overwrite:
      SaveFile(SaveMode::Overwrite);
      break;
    case Dialogs::Answer::Reload:
      ReloadFile();
      break;
    default:
      break;  // the next save asks again
  }
}

void FrmConfig::End() {
  RememberPosition();
  ended_ = true;
  dialogs_.EndProgram();
}

void FrmConfig::PlaceWindow() {
  layout()->activate();  // the window's final size
  QList<QRect> screens;
  for (const QScreen* s : QGuiApplication::screens())
    screens << s->availableGeometry();
  const auto remembered = ReadWindowPosition(*OpenSettingsStore());
  // A screen that is gone, or smaller now, would leave it out of reach.
  if (remembered && ReachableOnScreens(QRect(*remembered, size()), screens))
    move(*remembered);
  else
    CentreForm(*this);
}

void FrmConfig::RememberPosition() {
  if (ended_ || !isVisible()) return;
  // A window left where it was put costs no write to the store.
  auto store = OpenSettingsStore();
  if (ReadWindowPosition(*store) != pos()) WriteWindowPosition(*store, pos());
}

void FrmConfig::closeEvent(QCloseEvent* event) {
  // While the folder picker is open the window takes no input; Add is
  // waiting for the picker and must be allowed to finish.
  if (!ended_ && !isEnabled()) {
    event->ignore();
    return;
  }
  // Closing from the frame, unlike Exit, can be taken back.
  if (ended_ || MaybeSave(true)) {
    RememberPosition();
    ended_ = true;
    event->accept();
  } else {
    event->ignore();
  }
}

void FrmConfig::MnuLoad_Click() {
  if (!MaybeSave()) return;
  const QString path = dialogs_.OpenFileName(
      this, QStringLiteral("Load a Fs Scenery Config file"),
      QStringLiteral("*.cfg (*.cfg *.CFG *.Cfg)"),
      DialogFolder(doc_.ConfigFile));
  if (path.isEmpty()) return;
  OpenFile(path);
}

void FrmConfig::MnuSave_Click() { FileSave(); }

void FrmConfig::MnuSaveAs_Click() {
  const QString path = dialogs_.SaveFileName(
      this, QStringLiteral("Save a Fs Config File as *.cfg (USE CAREFULY)"),
      QStringLiteral("scenery.cfg (*.cfg *.CFG *.Cfg)"),
      DialogFolder(doc_.ConfigFile));
  if (path.isEmpty()) return;
  const std::string previous = doc_.ConfigFile;
  doc_.ConfigFile = ToHostPath(path);
  // A failed Save As keeps the name the document was saved under.
  if (!FileSave()) {
    doc_.ConfigFile = previous;
    return;
  }
  StatusBar->setText(FromHostPath(doc_.ConfigFile));  // what Save now writes
}

void FrmConfig::MnuExit_Click() {
  if (!MaybeSave()) return;
  End();
}

void FrmConfig::MnuAbout_Click() {
  const QString settings = OpenSettingsStore()->fileName();
  dialogs_.Message(
      this,
      QStringLiteral(
          "Sceneshifter %1\n"
          "Editor for the scenery areas of the flight simulator's "
          "Scenery.cfg.\n\n"
          "Licence: MIT (Copyright (c) 2026 The Sceneshifter developers).\n"
          "Scenery files are read and written in code page %2.\n"
          "Settings are kept in %3")
          .arg(QStringLiteral(SCENESHIFTER_VERSION),
               QString::number(ActiveCodePage()),
               QDir::toNativeSeparators(settings)),
      Dialogs::Buttons::Ok, QStringLiteral("About Sceneshifter"));
}

// ---- the area panel ----

bool FrmConfig::HasCurrentArea() const {
  return doc_.CurrentArea >= 0 && doc_.CurrentArea <= doc_.LastArea;
}

void FrmConfig::SortAreas() {
  sceneshifter::SortAreas(doc_);
  // The table operations keep the table in order, so the sort only
  // renumbers what is numbered already; should it ever move areas, the
  // list reads the table again and the history no longer fits it.
  if (doc_.AreasSorted) TableReplaced();
}

void FrmConfig::SelectListEntry(int k) {
  if (k < 0 || k > doc_.LastArea) {
    LstTitle->selectionModel()->clear();
    doc_.CurrentArea = -1;
    ClearPanel();
    return;
  }
  const QModelIndex index = model_->index(k);
  if (LstTitle->currentIndex() == index) {
    LstTitle_Click();
    return;
  }
  LstTitle->setCurrentIndex(index);
  LstTitle->scrollTo(index);
}

void FrmConfig::LstTitle_Click() {
  const QModelIndex current = LstTitle->currentIndex();
  doc_.CurrentArea =
      static_cast<std::int16_t>(current.isValid() ? current.row() : -1);
  if (HasCurrentArea())
    FillTextBoxs(doc_.CurrentArea);
  else
    ClearPanel();
}

void FrmConfig::ClearPanel() {
  for (QLineEdit* t : Text1) t->clear();
  Check1->setChecked(false);
  Check2->setChecked(false);
}

void FrmConfig::FillTextBoxs(std::int16_t ListNumber) {
  if (ListNumber < 0 || ListNumber > doc_.LastArea) return;
  const AreaEntry& a = doc_.Areas[ListNumber];
  Text1[0]->setText(Shown(a.Number));
  Text1[1]->setText(Shown(a.Title));
  Text1[2]->setText(Shown(a.PathValue));
  Text1[3]->setText(QString::number(a.Layer));
  Text1[4]->setText(Shown(a.Exclude));
  for (int k = 0; k <= 9; ++k) Text1[k + 5]->setText(Shown(a.Flatten[k]));
  if (EqualsNoCase(a.PathKey, "Local="))
    Option1[1]->setChecked(true);
  else
    Option1[0]->setChecked(true);
  Check1->setChecked(EqualsNoCase(a.Active, "true"));
  Check2->setChecked(EqualsNoCase(a.Required, "true"));
  for (QLineEdit* t : Text1) t->setCursorPosition(0);
}

// ---- settings and the recent-file entries ----

void FrmConfig::ReadSettings() {
  auto store = OpenSettingsStore();
  const StoredSettings s = ReadStoredSettings(*store);
  for (const QString& path : s.recentFiles) UpdateMenu(path, 0);
  doc_.ConfigFile = ToHostPath(s.fsPath);
  doc_.SceneryPath = ToHostPath(s.scnryPath);
}

void FrmConfig::WriteSettings() {
  auto store = OpenSettingsStore();
  StoredSettings s;
  s.recentFiles = recent_.Files();
  s.fsPath = FromHostPath(doc_.ConfigFile);
  s.scnryPath = FromHostPath(doc_.SceneryPath);
  WriteStoredSettings(*store, s);
}

void FrmConfig::UpdateMenu(const QString& MnuPath, std::int16_t del) {
  if (del == 0) {
    const bool added = recent_.Add(MnuPath);
    MnuFileArray[0]->setVisible(recent_.SeparatorVisible());
    if (!added) return;
    const int index = recent_.RecentCount();
    auto* a = new QAction(MenuCaption(MnuPath), this);
    a->setData(MnuPath);
    a->setObjectName(QStringLiteral("MnuFileArray_%1").arg(index));
    MnuFile->addAction(a);
    MnuFileArray.push_back(a);
    connect(a, &QAction::triggered, this, [this, a] {
      const auto it = std::find(MnuFileArray.begin(), MnuFileArray.end(), a);
      if (it != MnuFileArray.end())
        MnuFileArray_Click(static_cast<int>(it - MnuFileArray.begin()));
    });
  } else if (del == -1) {
    if (!recent_.Remove(MnuPath)) return;
    // The captions move up one element; the last element goes.
    for (int i = 1; i <= recent_.RecentCount(); ++i) {
      MnuFileArray[i]->setText(MenuCaption(recent_.Files()[i - 1]));
      MnuFileArray[i]->setData(recent_.Files()[i - 1]);
    }
    QAction* last = MnuFileArray.back();
    MnuFileArray.pop_back();
    MnuFile->removeAction(last);
    last->deleteLater();
  }
}

void FrmConfig::MnuFileArray_Click(int Index) {
  if (!MnuLoad->isEnabled()) return;
  if (Index < 1 || Index >= static_cast<int>(MnuFileArray.size())) return;
  const QString path = MnuFileArray[Index]->data().toString();
  if (FileExists(ToHostPath(path))) {
    if (!MaybeSave()) return;
    OpenFile(path);
  } else {
    UpdateMenu(path, -1);
  }
}

}  // namespace sceneshifter
