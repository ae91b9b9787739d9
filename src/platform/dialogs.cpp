#include "dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace sceneshifter {
namespace {
QString TitleOr(const QString& title) {
  return title.isEmpty() ? QStringLiteral("Sceneshifter") : title;
}
}  // namespace

Dialogs::Answer DesktopDialogs::Message(QWidget* parent, const QString& prompt,
                                        Buttons buttons, const QString& title) {
  QMessageBox box(parent);
  box.setWindowTitle(TitleOr(title));
  box.setText(prompt);
  box.setIcon(QMessageBox::NoIcon);
  if (buttons == Buttons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int r = box.exec();
  if (buttons == Buttons::Ok) return Answer::Ok;
  return r == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString DesktopDialogs::InputBox(QWidget* parent, const QString& prompt,
                                 const QString& title) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent, TitleOr(title), prompt,
                                             QLineEdit::Normal, QString(), &ok);
  return ok ? text : QString();
}

QString DesktopDialogs::OpenFileName(QWidget* parent, const QString& title,
                                     const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString DesktopDialogs::SaveFileName(QWidget* parent, const QString& title,
                                     const QString& filter) {
  QFileDialog dialog(parent, title, QString(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("cfg"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  return dialog.selectedFiles().constFirst();
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
                                         Buttons buttons,
                                         const QString& title) {
  shown.push_back({QStringLiteral("message"), prompt, title, QString()});
  if (buttons == Buttons::Ok) return Answer::Ok;
  return Next(answers_, Answer::No);
}

QString ScriptedDialogs::InputBox(QWidget*, const QString& prompt,
                                  const QString& title) {
  shown.push_back({QStringLiteral("input"), prompt, title, QString()});
  return Next(inputs_, QString());
}

QString ScriptedDialogs::OpenFileName(QWidget*, const QString& title,
                                      const QString& filter) {
  shown.push_back({QStringLiteral("open"), QString(), title, filter});
  return Next(fileNames_, QString());
}

QString ScriptedDialogs::SaveFileName(QWidget*, const QString& title,
                                      const QString& filter) {
  shown.push_back({QStringLiteral("save"), QString(), title, filter});
  return Next(fileNames_, QString());
}

QStringList ScriptedDialogs::messages() const {
  QStringList out;
  for (const auto& s : shown)
    if (s.kind == QLatin1String("message")) out << s.prompt;
  return out;
}

}  // namespace sceneshifter
