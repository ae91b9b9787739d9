// SPDX-License-Identifier: MIT
#include "frm_scenery_sets.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "codepage.h"
#include "file_ops.h"

namespace sceneshifter {
namespace {

const QString kTitle = QStringLiteral("Scenery Sets");

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// A reason from the core as the start of a sentence.
QString Sentence(const std::string& reason) {
  QString text = Text(reason);
  if (!text.isEmpty()) text[0] = text[0].toUpper();
  return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

QString Summary(const ScenerySet& set) {
  int active = 0;
  for (const SetArea& a : set.areas) active += a.active;
  return QStringLiteral("%1 areas, %2 active")
      .arg(set.areas.size())
      .arg(active);
}

}  // namespace

FrmScenerySets::FrmScenerySets(const SceneryDocument& doc, Dialogs& dialogs,
                               ApplyChanges apply, ShowStatus status,
                               QWidget* parent)
    : QWidget(parent, Qt::Window),
      doc_(doc),
      dialogs_(dialogs),
      apply_(std::move(apply)),
      status_(std::move(status)) {
  setObjectName(QStringLiteral("FrmScenerySets"));
  setWindowTitle(kTitle);
  LblSets = new QLabel(this);
  LblSets->setObjectName(QStringLiteral("LblSets"));
  LblSets->setWordWrap(true);
  LstSets = new QListWidget(this);
  LstSets->setObjectName(QStringLiteral("LstSets"));
  LstSets->setAccessibleName(QStringLiteral("Scenery sets"));
  LstSets->setSelectionMode(QAbstractItemView::SingleSelection);
  LblSets->setBuddy(LstSets);
  connect(LstSets, &QListWidget::currentRowChanged, this,
          &FrmScenerySets::UpdateButtons);
  // Double-click, and Enter on the current set.
  connect(LstSets, &QAbstractItemView::activated, this, &FrmScenerySets::Apply);

  auto button = [this](const char* name, const char* caption,
                       const char* accessible, void (FrmScenerySets::*slot)()) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(QLatin1String(accessible));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    return b;
  };
  CmdSaveAs = button("CmdSaveAs", "&Save Current As\u2026", "Save current as",
                     &FrmScenerySets::SaveCurrentAs);
  CmdApply = button("CmdApply", "&Apply", "Apply", &FrmScenerySets::Apply);
  CmdRename =
      button("CmdRename", "&Rename\u2026", "Rename", &FrmScenerySets::Rename);
  CmdDelete = button("CmdDelete", "De&lete", "Delete", &FrmScenerySets::Delete);
  CmdClose = new QPushButton(QStringLiteral("Close"), this);
  CmdClose->setObjectName(QStringLiteral("CmdClose"));
  CmdClose->setAccessibleName(QStringLiteral("Close"));
  CmdClose->setAutoDefault(false);
  connect(CmdClose, &QPushButton::clicked, this, &QWidget::close);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {CmdSaveAs, CmdApply, CmdRename, CmdDelete})
    buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(CmdClose);
  auto* body = new QHBoxLayout;
  body->addWidget(LstSets, 1);
  body->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LblSets);
  layout->addLayout(body, 1);
  setTabOrder(LstSets, CmdSaveAs);
  resize(460, 300);
  UpdateButtons();
}

std::string FrmScenerySets::SetsPath() const {
  return doc_.ConfigFile.empty() ? std::string()
                                 : SetsFilePath(doc_.ConfigFile);
}

void FrmScenerySets::Reload() {
  listedFile_ = doc_.ConfigFile;
  readable_ = false;
  if (listedFile_.empty()) {
    LstSets->clear();
    LblSets->setText(QStringLiteral("No scenery file is open."));
    UpdateButtons();
    return;
  }
  SetsFile file;
  std::string error;
  if (!ReadSetsFile(SetsPath(), file, error)) {
    LstSets->clear();
    LblSets->setText(
        QStringLiteral("The scenery sets of this file cannot be read."));
    UpdateButtons();
    Tell(QStringLiteral("The scenery sets of this file cannot be read. They "
                        "are left as they are: mend or move the file to keep "
                        "sets again."),
         FromHostPath(SetsPath()) + QStringLiteral(": ") + Text(error));
    return;
  }
  readable_ = true;
  ShowSets(file, CurrentName());
}

void FrmScenerySets::ShowSets(const SetsFile& file, const std::string& select) {
  LstSets->clear();
  int current = file.sets.empty() ? -1 : 0;
  for (const ScenerySet& set : file.sets) {
    auto* item = new QListWidgetItem(Text(set.name), LstSets);
    item->setToolTip(Summary(set));
    item->setData(Qt::AccessibleDescriptionRole, Summary(set));
    if (set.name == select) current = LstSets->count() - 1;
  }
  LstSets->setCurrentRow(current);
  const QString name =
      FromHostPath(Utf8Path(HostPath(doc_.ConfigFile).filename()));
  LblSets->setText(
      file.sets.empty()
          ? QStringLiteral("No sets are saved for %1 yet.").arg(name)
          : QStringLiteral("Sets saved for %1:").arg(name));
  UpdateButtons();
}

void FrmScenerySets::UpdateButtons() {
  const bool file = readable_ && !doc_.ConfigFile.empty();
  const bool set = file && LstSets->currentItem() != nullptr;
  CmdSaveAs->setEnabled(file);
  for (QPushButton* b : {CmdApply, CmdRename, CmdDelete}) b->setEnabled(set);
}

std::string FrmScenerySets::CurrentName() const {
  const QListWidgetItem* item = LstSets->currentItem();
  return item ? item->text().toStdString() : std::string();
}

void FrmScenerySets::Tell(const QString& prompt, const QString& detail) {
  dialogs_.Message(this, prompt, Dialogs::Buttons::Ok, kTitle, detail);
}

void FrmScenerySets::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Reload();
}

void FrmScenerySets::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Back from the main window, which may have opened another file.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
      listedFile_ != doc_.ConfigFile)
    Reload();
}

bool FrmScenerySets::ReadForCommand(SetsFile& file) {
  if (doc_.ConfigFile.empty() || listedFile_ != doc_.ConfigFile) {
    Reload();
    return false;
  }
  std::string error;
  if (ReadSetsFile(SetsPath(), file, error)) return true;
  Reload();  // lists nothing and says why
  return false;
}

bool FrmScenerySets::WriteForCommand(SetsFile& file,
                                     const std::string& select) {
  const SaveResult saved = WriteSetsFile(SetsPath(), file);
  if (!saved.ok) {
    Tell(saved.changedOnDisk
             ? QStringLiteral("Another program has changed the scenery sets "
                              "meanwhile; nothing was written. The list now "
                              "shows them as they are.")
             : QStringLiteral("The scenery sets could not be saved."),
         FromHostPath(SetsPath()) + QStringLiteral(": ") + Text(saved.error));
    Reload();
    return false;
  }
  ShowSets(file, select);
  for (const std::string* warning : {&saved.backupWarning, &saved.syncWarning})
    if (!warning->empty())
      Tell(QStringLiteral("The scenery sets were saved, but: %1")
               .arg(Text(*warning)));
  return true;
}

std::string FrmScenerySets::AskName(const QString& prompt, const QString& title,
                                    const SetsFile& file, int except) {
  const QString typed = dialogs_.InputBox(this, prompt, title);
  if (typed.isEmpty()) return std::string();  // cancelled
  const std::string name = TrimmedSetName(typed.toStdString());
  if (const std::string problem = SetNameProblem(name); !problem.empty()) {
    Tell(Sentence(problem));
    return std::string();
  }
  const int other = FindSet(file.sets, name);
  if (other >= 0 && other != except) {
    Tell(QStringLiteral("There is a set named %1 already. Please choose "
                        "another name.")
             .arg(Text(name)));
    return std::string();
  }
  return name;
}

void FrmScenerySets::SaveCurrentAs() {
  SetsFile file;
  if (!ReadForCommand(file)) return;
  const std::string name = AskName(QStringLiteral("Name of the new set:"),
                                   QStringLiteral("Save Current As"), file, -1);
  if (name.empty()) return;
  file.sets.push_back(SetOfDocument(doc_, name));
  WriteForCommand(file, name);
}

void FrmScenerySets::Apply() {
  const std::string name = CurrentName();
  SetsFile file;
  if (name.empty() || !ReadForCommand(file)) return;
  const int index = FindSet(file.sets, name);
  if (index < 0) {
    ShowSets(file, std::string());
    Tell(QStringLiteral("There is no set named %1 any more.").arg(Text(name)));
    return;
  }
  const SetPlan plan = PlanSet(doc_, file.sets[index]);
  const int changed =
      plan.changes.empty()
          ? 0
          : apply_(plan.changes, QStringLiteral("Apply Set ") + Text(name));
  status_(Text(SetAppliedText(name, changed, plan.notInSet)));
}

void FrmScenerySets::Rename() {
  const std::string old = CurrentName();
  SetsFile file;
  if (old.empty() || !ReadForCommand(file)) return;
  const int index = FindSet(file.sets, old);
  if (index < 0) {
    ShowSets(file, std::string());
    return;
  }
  const std::string name =
      AskName(QStringLiteral("New name for the set %1:").arg(Text(old)),
              QStringLiteral("Rename Set"), file, index);
  if (name.empty() || name == old) return;
  file.sets[index].name = name;
  WriteForCommand(file, name);
}

void FrmScenerySets::Delete() {
  const std::string name = CurrentName();
  SetsFile file;
  if (name.empty() || !ReadForCommand(file)) return;
  const int index = FindSet(file.sets, name);
  if (index < 0) {
    ShowSets(file, std::string());
    return;
  }
  if (dialogs_.Message(this,
                       QStringLiteral("Delete the set %1?").arg(Text(name)),
                       Dialogs::Buttons::YesNo, kTitle) != Dialogs::Answer::Yes)
    return;
  file.sets.erase(file.sets.begin() + index);
  // The set that took its place, or the one before when it was the last.
  const int next = std::min(index, static_cast<int>(file.sets.size()) - 1);
  WriteForCommand(file, next >= 0 ? file.sets[next].name : std::string());
}

}  // namespace sceneshifter
