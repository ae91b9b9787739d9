// SPDX-License-Identifier: MIT
#include "dialogs.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace sceneshifter {
namespace {
QString TitleOr(const QString& title) {
  return title.isEmpty() ? QStringLiteral("Sceneshifter") : title;
}

// A dialog is placed over its parent's window, whose place the window system
// settles only when it maps the window: a question asked just after the
// window was shown (at start-up) waits for that, briefly, taking no input.
void WaitUntilMapped(QWidget* parent) {
  constexpr int kMostMs = 500;
  if (!parent || !parent->window()->isVisible()) return;
  const QPointer<QWindow> window = parent->window()->windowHandle();
  if (!window || window->isExposed()) return;
  QTimer wake;  // so that waiting for events never outlasts the limit
  wake.start(10);
  const QDeadlineTimer limit(kMostMs);
  while (window && window->isVisible() && !window->isExposed() &&
         !limit.hasExpired())
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::WaitForMoreEvents);
}

// A message box that, when `buttonsOnly` is set, only its buttons answer:
// Escape and the title bar's close button do nothing, so that a stray key
// cannot drop the user's work.
class AnswerBox : public QMessageBox {
 public:
  AnswerBox(QWidget* parent, bool buttonsOnly)
      : QMessageBox(parent), buttonsOnly_(buttonsOnly) {
    if (buttonsOnly_)
      setWindowFlags(
          (windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) &
          ~Qt::WindowCloseButtonHint);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (buttonsOnly_ && event->matches(QKeySequence::Cancel)) {
      event->accept();
      return;
    }
    QMessageBox::keyPressEvent(event);
  }
  // A button's answer closes the box without a close event.
  void closeEvent(QCloseEvent* event) override {
    if (buttonsOnly_)
      event->ignore();
    else
      QMessageBox::closeEvent(event);
  }

 private:
  bool buttonsOnly_;
};
}  // namespace

Dialogs::Answer DesktopDialogs::Message(QWidget* parent, const QString& prompt,
                                        Buttons buttons, const QString& title,
                                        const QString& detail) {
  WaitUntilMapped(parent);
  AnswerBox box(parent, buttons == Buttons::YesNo);
  box.setWindowTitle(TitleOr(title));
  box.setText(prompt);
  box.setIcon(QMessageBox::NoIcon);
  if (!detail.isEmpty()) box.setDetailedText(detail);
  QAbstractButton* overwrite = nullptr;
  QAbstractButton* reload = nullptr;
  switch (buttons) {
    case Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No |
                             QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
    case Buttons::OverwriteReloadCancel:
      // Access keys clear of the main window's own letters.
      overwrite =
          box.addButton(QStringLiteral("Over&write"), QMessageBox::AcceptRole);
      reload = box.addButton(QStringLiteral("Rel&oad"),
                             QMessageBox::DestructiveRole);
      box.addButton(QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Cancel);
      box.setEscapeButton(QMessageBox::Cancel);
      break;
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (clicked && clicked == overwrite) return Answer::Overwrite;
  if (clicked && clicked == reload) return Answer::Reload;
  switch (box.standardButton(clicked)) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
  }
}

QString DesktopDialogs::InputBox(QWidget* parent, const QString& prompt,
                                 const QString& title) {
  WaitUntilMapped(parent);
  bool ok = false;
  const QString text = QInputDialog::getText(parent, TitleOr(title), prompt,
                                             QLineEdit::Normal, QString(), &ok);
  return ok ? text : QString();
}

QString DesktopDialogs::OpenFileName(QWidget* parent, const QString& title,
                                     const QString& filter,
                                     const QString& folder,
                                     const QString& file) {
  WaitUntilMapped(parent);
  // A starting path that names a file opens its folder with it selected.
  const QString start = file.isEmpty() ? folder : QDir(folder).filePath(file);
  return QFileDialog::getOpenFileName(parent, title, start, filter);
}

QString DesktopDialogs::SaveFileName(QWidget* parent, const QString& title,
                                     const QString& filter,
                                     const QString& folder) {
  WaitUntilMapped(parent);
  QFileDialog dialog(parent, title, folder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("cfg"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  return dialog.selectedFiles().constFirst();
}

QString DesktopDialogs::FolderName(QWidget* parent, const QString& title,
                                   const QString& folder) {
  WaitUntilMapped(parent);
  return QFileDialog::getExistingDirectory(parent, title, folder);
}

void DesktopDialogs::EndProgram() {
  // Queued, so that it also works before the event loop has started.
  QMetaObject::invokeMethod(
      qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  const auto windows = QApplication::topLevelWidgets();
  for (QWidget* w : windows) w->hide();
}

namespace {
// The next scripted answer, or `fallback` when none is left.
template <class T>
T Next(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T next = std::move(queue.front());
  queue.pop_front();
  return next;
}
}  // namespace

Dialogs::Answer ScriptedDialogs::Message(QWidget*, const QString& prompt,
                                         Buttons buttons, const QString& title,
                                         const QString& detail) {
  shown.push_back(
      {QStringLiteral("message"), prompt, title, {}, detail, buttons, {}, {}});
  if (buttons == Buttons::Ok) return Answer::Ok;
  return Next(answers_,
              buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
}

QString ScriptedDialogs::InputBox(QWidget*, const QString& prompt,
                                  const QString& title) {
  shown.push_back({QStringLiteral("input"), prompt, title, {}, {}, {}, {}, {}});
  return Next(inputs_, QString());
}

QString ScriptedDialogs::OpenFileName(QWidget*, const QString& title,
                                      const QString& filter,
                                      const QString& folder,
                                      const QString& file) {
  shown.push_back(
      {QStringLiteral("open"), {}, title, filter, {}, {}, folder, file});
  return Next(fileNames_, QString());
}

QString ScriptedDialogs::SaveFileName(QWidget*, const QString& title,
                                      const QString& filter,
                                      const QString& folder) {
  shown.push_back(
      {QStringLiteral("save"), {}, title, filter, {}, {}, folder, {}});
  return Next(fileNames_, QString());
}

QString ScriptedDialogs::FolderName(QWidget*, const QString& title,
                                    const QString& folder) {
  shown.push_back(
      {QStringLiteral("folder"), {}, title, {}, {}, {}, folder, {}});
  return Next(fileNames_, QString());
}

QStringList ScriptedDialogs::messages() const {
  QStringList out;
  for (const auto& s : shown)
    if (s.kind == QLatin1String("message")) out << s.prompt;
  return out;
}

}  // namespace sceneshifter
