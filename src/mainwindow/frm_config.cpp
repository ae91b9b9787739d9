// SPDX-License-Identifier: MIT
#include "frm_config.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QUndoStack>
#include <algorithm>
#include <utility>

#include "accessible_text.h"
#include "anchor_layout.h"
#include "area_filter_model.h"
#include "area_panel.h"
#include "centre_form.h"
#include "codepage.h"
#include "editing_keys.h"
#include "scenery_file_session.h"
#include "title_list_model.h"
#include "window_units.h"

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

const char* const kSortedMessage =
    "The Sceneshifter has sorted your Scenery Areas into numerical order.     "
    "      PLEASE check them and if all is ok Save it";

}  // namespace

FrmConfig::FrmConfig(SceneryDocument& doc, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), doc_(doc), dialogs_(dialogs) {
  setObjectName(QStringLiteral("FrmConfig"));
  setWindowTitle(QStringLiteral("Sceneshifter"));
  setWindowIcon(WindowIcon());
  BuildControls();
  BuildMenus();
  BuildHealthCheck();
  // At its design size until PlaceWindow gives it the one last used.
  layout()->activate();
  resize(minimumSizeHint());

  session_ = new SceneryFileSession(doc_, dialogs_, this);
  session_->SetPanelEditing([this] { return Command1[8]->isEnabled(); });
  connect(session_, &SceneryFileSession::Loaded, this, &FrmConfig::FileLoaded);
  connect(session_, &SceneryFileSession::Reloaded, this,
          &FrmConfig::FileReloaded);
  connect(session_, &SceneryFileSession::Saved, this,
          &FrmConfig::WriteSettings);
  connect(session_, &SceneryFileSession::MissingChanged, this,
          &FrmConfig::ShowFileMissing);
}

FrmConfig::~FrmConfig() {
  // The history empties itself as it goes; the news must not reach a
  // window that is half gone.
  history_->disconnect(this);
}

void FrmConfig::BuildControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  setCentralWidget(client);
  const QFont captions = CaptionFont();

  // Area list.
  auto caption = [&](int index, const char* text, QRect geometry) {
    auto* l = new QLabel(QString::fromLatin1(text), client);
    l->setObjectName(QStringLiteral("Label1_%1").arg(index));
    l->setFont(captions);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    l->setGeometry(geometry);
    Label1[index] = l;
  };
  caption(0, "Layer", Twips(0, 120, 612, 252));
  caption(1, "Title", Twips(1680, 120, 612, 252));
  model_ = new TitleListModel(doc_, this);
  LstTitle = new QListView(client);
  LstTitle->setObjectName(QStringLiteral("LstTitle"));
  // The filter stands between the table's rows and the list.
  filter_ = new AreaFilterModel(doc_, this);
  filter_->setSourceModel(model_);
  LstTitle->setModel(filter_);
  LstTitle->setSelectionMode(QAbstractItemView::ExtendedSelection);
  LstTitle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  LstTitle->setUniformItemSizes(true);
  // One row lower and shorter than laid out: the filter row stands above.
  LstTitle->setGeometry(
      Twips(120, 360 + kFilterRowHeight, 3015, 5130 - kFilterRowHeight));
  LstTitle->installEventFilter(this);
  // An entry dragged to another place moves its area there.
  LstTitle->setDragDropMode(QAbstractItemView::DragDrop);
  LstTitle->setDefaultDropAction(Qt::MoveAction);
  LstTitle->setDropIndicatorShown(true);
  connect(model_, &TitleListModel::moveRequested, this,
          [this](int from, int to) { MoveTo(from, to, false); });
  connect(model_, &TitleListModel::blockMoveRequested, this,
          [this](std::vector<int> dragged, int target) {
            MoveBlockTo(dragged, target, false);
          });
  // The entry last clicked or moved to is the one shown; the others
  // selected with it are what the commands act on.
  connect(LstTitle->selectionModel(), &QItemSelectionModel::currentChanged,
          this, [this](const QModelIndex& current) {
            if (current.isValid()) LstTitle_Click();
          });
  connect(LstTitle->selectionModel(), &QItemSelectionModel::selectionChanged,
          this, &FrmConfig::UpdateSelectionStatus);
  BuildFilter(client);

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

  // Area panel. Its rectangle reaches behind the command column's edge:
  // the buttons stay above it, to take every click on them.
  panel_ = new AreaPanel(client);
  panel_->lower();
  Text1 = panel_->Text1;
  for (int i = 2; i < static_cast<int>(Label1.size()); ++i)
    Label1[i] = panel_->Label1[i];
  Option1 = panel_->Option1;
  Check1 = panel_->Check1;
  Check2 = panel_->Check2;
  for (QWidget* w :
       std::initializer_list<QWidget*>{Check1, Check2, Option1[0], Option1[1]})
    w->installEventFilter(this);
  for (QLineEdit* t : Text1) t->installEventFilter(this);

  StatusBar = new QLabel(client);
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setAlignment(Qt::AlignCenter);
  StatusBar->setFrameStyle(QFrame::Box | QFrame::Plain);
  StatusBar->setLineWidth(1);
  StatusBar->setGeometry(Twips(0, 5640, 8295, 375));
  // A second field for what a command has to say, at the row's right end;
  // ShowStatusMessage sizes it to its text, to leave the path in the middle
  // in sight.
  StatusMessage = new QLabel(client);
  StatusMessage->setObjectName(QStringLiteral("StatusMessage"));
  StatusMessage->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  StatusMessage->setContentsMargins(0, 0, 6, 0);
  StatusMessage->setAccessibleName(QStringLiteral("Status"));
  ShowStatusMessage(QString());

  // Room beyond the design goes to the list, down and across; whatever
  // stands right of the list (the command column, the panel) moves with the
  // right edge, and the status line stretches along the bottom, its second
  // field kept at the right end.
  using A = AnchorLayout;
  room_ = new AnchorLayout(client, Twips(0, 0, 8745, 6015).size());
  room_->removeWidget(StatusMessage);
  const int listRight = LstTitle->geometry().right();
  for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->geometry().left() > listRight) room_->SetAnchors(w, A::kFollowRight);
  room_->SetAnchors(LstTitle, A::kGrowWidth | A::kGrowHeight);
  room_->SetAnchors(StatusBar, A::kGrowWidth | A::kFollowBottom);
  // The filter row above the list widens with it; a kind list right of the
  // box keeps to the right end.
  const auto* filterBox =
      client->findChild<QWidget*>(QStringLiteral("FilterBox"));
  const auto* filterKind =
      client->findChild<QWidget*>(QStringLiteral("FilterKind"));
  room_->SetAnchors(QStringLiteral("FilterBox"), A::kGrowWidth);
  if (filterBox && filterKind && filterKind->x() > filterBox->x())
    room_->SetAnchors(QStringLiteral("FilterKind"), A::kFollowRight);
  room_->SetPlaced([this] { ShowStatusMessage(StatusMessage->text()); });
  // The panel's controls grow alike with a larger font.
  auto* panelRoom = new AnchorLayout(panel_, panel_->size());
  const double scale = AnchorLayout::CaptionScale(client);
  room_->SetScale(scale);
  panelRoom->SetScale(scale);

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
       "whether to save it first."}};
  for (const auto& [control, text] : tips)
    control->setToolTip(QStringLiteral("<p>%1</p>")
                            .arg(QString::fromLatin1(text).toHtmlEscaped()));

  // The tab order follows the screen: from the list through the panel row
  // by row, left to right, then down the command column, then the filter.
  std::vector<QWidget*> order = {LstTitle, Check2,   Option1[1], Option1[0],
                                 Text1[0], Text1[3], Check1,     Text1[1],
                                 Text1[2], Text1[4]};
  for (int k = 5; k <= 14; ++k) order.push_back(Text1[k]);
  for (const int i : {3, 2, 6, 4, 5, 8, 9, 1}) order.push_back(Command1[i]);
  for (const char* name : {"FilterBox", "FilterKind"})
    if (auto* w = client->findChild<QWidget*>(QLatin1String(name)))
      order.push_back(w);
  for (std::size_t i = 1; i < order.size(); ++i)
    setTabOrder(order[i - 1], order[i]);

  // What a screen reader says: the list's name; each button's caption as
  // spoken; each tip as plain text rather than the paragraph shown.
  LstTitle->setAccessibleName(QStringLiteral("Scenery areas"));
  for (QPushButton* b : Command1)
    if (b) b->setAccessibleName(SpokenCaption(b->text()));
  for (QWidget* w : client->findChildren<QWidget*>())
    if (!w->toolTip().isEmpty() && w->accessibleDescription().isEmpty())
      w->setAccessibleDescription(PlainText(w->toolTip()));

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
    auto* key = static_cast<QKeyEvent*>(event);
    // A text box being typed into keeps its editing keys, and Escape
    // empties the filter before it cancels anything.
    if (IsTextEditingKey(watched, *key)) return false;
    if (watched == FilterBox && key->key() == Qt::Key_Escape &&
        key->modifiers() == Qt::NoModifier && !FilterBox->text().isEmpty()) {
      key->accept();
      return true;
    }
    const QKeySequence pressed(key->keyCombination());
    for (QAction* a : {MnuSave, MnuSaveAs, MnuExit, MnuSearch, MnuSearchNext,
                       MnuCheckAreas, MnuScenerySets, MnuAddNewFolders,
                       MnuActivate, MnuDeactivate, MnuVersions})
      if (a->shortcut() == pressed) return true;  // left unaccepted
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (watched == FilterBox && key->key() == Qt::Key_Escape &&
        !FilterBox->text().isEmpty()) {
      FilterBox->clear();
      return true;
    }
    // Down goes on from the filter to the entries it shows.
    if (watched == FilterBox && key->key() == Qt::Key_Down) {
      LstTitle->setFocus(Qt::TabFocusReason);
      return true;
    }
    // Space switches the selected areas; Ctrl+Space still selects.
    if (watched == LstTitle && key->key() == Qt::Key_Space &&
        key->modifiers() == Qt::NoModifier) {
      SwitchSelected(SwitchTo::kEither);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- the file on disk ----

bool FrmConfig::LoadFile() {
  if (session_->Load()) return true;
  // Only a start-up without a document ends the program; later, the
  // document that is open stays.
  if (session_->StartingUp()) End();
  return false;
}

void FrmConfig::FileLoaded() {
  // Where the start-up found a file says nothing about the next one.
  if (!foundMessage_.isEmpty() && StatusMessage->text() == foundMessage_)
    ShowStatusMessage(QString());
  foundMessage_.clear();
  TableReplaced();
  SelectListEntry(doc_.LastArea);
  if (HasCurrentArea()) FillTextBoxs(doc_.LastArea);
  StatusBar->setText(FromHostPath(doc_.ConfigFile));
  if (doc_.AreasSorted)
    dialogs_.Message(this, QString::fromLatin1(kSortedMessage),
                     Dialogs::Buttons::Ok, QString());
  UpdateMenu(FromHostPath(doc_.ConfigFile), 0);
}

void FrmConfig::FileReloaded(int select) {
  if (Command1[8]->isEnabled()) CmdCancel();  // the panel edited is gone
  if (select >= 0) SelectListEntry(select);
  StatusBar->setText(QStringLiteral("%1 (reloaded: another program changed it)")
                         .arg(FromHostPath(doc_.ConfigFile)));
}

void FrmConfig::ShowFileMissing(bool missing) {
  const QString path = FromHostPath(doc_.DiskPath);
  const QString gone =
      path + QStringLiteral(
                 " (no longer there: moved or removed by another "
                 "program)");
  if (missing)
    StatusBar->setText(gone);
  else if (StatusBar->text() == gone)
    StatusBar->setText(path);
}

bool FrmConfig::FileSave() { return SaveFile(SaveMode::CheckDisk); }

bool FrmConfig::SaveFile(SaveMode mode) { return session_->Save(mode); }

bool FrmConfig::MaybeSave(bool offerCancel) {
  if (!doc_.FileChanged) return true;
  const auto answer = dialogs_.Message(
      this, QStringLiteral("Config File has Changed , DO you wish to Save it?"),
      offerCancel ? Dialogs::Buttons::YesNoCancel : Dialogs::Buttons::YesNo,
      QStringLiteral("WanaSave"));
  if (answer == Dialogs::Answer::Cancel) return false;
  if (answer != Dialogs::Answer::Yes) return true;
  return FileSave();
}

void FrmConfig::ShowStatusMessage(const QString& text) {
  StatusMessage->setText(text);
  // Inside the path's frame, at most its right half.
  const QRect row = StatusBar->geometry().adjusted(1, 1, -1, -1);
  const int width =
      std::min(StatusMessage->sizeHint().width(), row.width() / 2);
  StatusMessage->setGeometry(row.right() + 1 - width, row.top(), width,
                             row.height());
}

void FrmConfig::End() {
  RememberPosition();
  ended_ = true;
  session_->Stop();
  dialogs_.EndProgram();
}

void FrmConfig::PlaceWindow() {
  layout()->activate();  // the window's final size
  QList<QRect> screens;
  for (const QScreen* s : QGuiApplication::screens())
    screens << s->availableGeometry();
  auto store = OpenSettingsStore();
  if (const auto size = ReadWindowSize(*store, kMainWindowSize))
    resize(size->expandedTo(minimumSizeHint()));
  const auto remembered = ReadWindowPosition(*store);
  // A screen that is gone, or smaller now, would leave it out of reach.
  if (remembered && ReachableOnScreens(QRect(*remembered, size()), screens))
    move(*remembered);
  else
    CentreForm(*this);
}

void FrmConfig::RememberPosition() {
  if (ended_ || !isVisible()) return;
  // A window left where it was put costs no write to the store. A maximised
  // one keeps the place and size it will return to.
  auto store = OpenSettingsStore();
  if (isMaximized() || isFullScreen()) {
    WriteWindowSize(*store, kMainWindowSize, normalGeometry().size());
    return;
  }
  if (ReadWindowPosition(*store) != pos()) WriteWindowPosition(*store, pos());
  WriteWindowSize(*store, kMainWindowSize, size());
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
    session_->Stop();
    event->accept();
  } else {
    event->ignore();
  }
}

// ---- the list and the area panel ----

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
    panel_->Clear();
    return;
  }
  QModelIndex index = filter_->mapFromSource(model_->index(k));
  // The entry shown is always one the filter shows.
  if (!index.isValid()) index = filter_->index(0, 0);
  if (!index.isValid()) {
    LstTitle->selectionModel()->clear();
    doc_.CurrentArea = -1;
    panel_->Clear();
    return;
  }
  if (LstTitle->currentIndex() == index) {
    LstTitle->selectionModel()->select(index,
                                       QItemSelectionModel::ClearAndSelect);
    LstTitle_Click();
  } else {
    LstTitle->setCurrentIndex(index);
  }
  // An entry that moved stays current, but may have left the view.
  LstTitle->scrollTo(index);
}

void FrmConfig::LstTitle_Click() {
  const QModelIndex current = LstTitle->currentIndex();
  doc_.CurrentArea = static_cast<std::int16_t>(
      current.isValid() ? filter_->mapToSource(current).row() : -1);
  if (HasCurrentArea())
    FillTextBoxs(doc_.CurrentArea);
  else
    panel_->Clear();
}

void FrmConfig::FillTextBoxs(std::int16_t ListNumber) {
  if (ListNumber < 0 || ListNumber > doc_.LastArea) return;
  panel_->Fill(doc_.Areas[ListNumber]);
}

}  // namespace sceneshifter
