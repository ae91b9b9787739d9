// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <deque>

class QWidget;

namespace sceneshifter {

// What the program asks of its platform's modal dialogs and of ending the
// run. The windows call only this, so tests can script every answer.
class Dialogs {
 public:
  // YesNo is a question that only Yes or No answers: Escape and the
  // window's close button do nothing. YesNoCancel and
  // OverwriteReloadCancel answer Cancel to both.
  enum class Buttons { Ok, YesNo, YesNoCancel, OverwriteReloadCancel };
  enum class Answer { Ok, Yes, No, Cancel, Overwrite, Reload };

  virtual ~Dialogs() = default;

  // `title` empty shows the program's own title, "Sceneshifter". `detail`,
  // when not empty, is shown on request below the prompt (the file and the
  // reason of a failure).
  virtual Answer Message(QWidget* parent, const QString& prompt,
                         Buttons buttons, const QString& title,
                         const QString& detail = QString()) = 0;
  // The text typed, or an empty text when cancelled.
  virtual QString InputBox(QWidget* parent, const QString& prompt,
                           const QString& title) = 0;
  // `filter` in Qt's form ("Scenery.cfg (Scenery.cfg scenery.cfg)");
  // `folder` is where the dialog opens (empty: the platform's choice), and
  // `file`, when not empty, the name of a file there that is selected, so
  // that Enter opens it. The chosen full path, or an empty text when
  // cancelled.
  virtual QString OpenFileName(QWidget* parent, const QString& title,
                               const QString& filter, const QString& folder,
                               const QString& file = QString()) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& title,
                               const QString& filter,
                               const QString& folder) = 0;
  // A folder chosen from `folder` on; an empty text when cancelled.
  virtual QString FolderName(QWidget* parent, const QString& title,
                             const QString& folder) = 0;
  // Ends the program as soon as the caller returns to the event loop; the
  // caller must return at once and change nothing more.
  virtual void EndProgram() = 0;
};

// The real dialogs of the desktop.
class DesktopDialogs : public Dialogs {
 public:
  Answer Message(QWidget* parent, const QString& prompt, Buttons buttons,
                 const QString& title,
                 const QString& detail = QString()) override;
  QString InputBox(QWidget* parent, const QString& prompt,
                   const QString& title) override;
  QString OpenFileName(QWidget* parent, const QString& title,
                       const QString& filter, const QString& folder,
                       const QString& file = QString()) override;
  QString SaveFileName(QWidget* parent, const QString& title,
                       const QString& filter, const QString& folder) override;
  QString FolderName(QWidget* parent, const QString& title,
                     const QString& folder) override;
  void EndProgram() override;
};

// A test double: answers come from queues filled beforehand; every dialog
// shown is recorded. An empty queue answers No (Yes and No), Cancel (the
// questions with a Cancel button), Ok, an empty text, or an empty file name.
class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    QString kind;  // "message", "input", "open", "save", "folder"
    QString prompt;
    QString title;
    QString filter;
    QString detail;
    Buttons buttons = Buttons::Ok;
    QString folder;  // where a file dialog opened
    QString file;    // the file an open dialog selected at first
  };

  void setNextAnswer(Answer a) { answers_.push_back(a); }
  void setNextFileName(const QString& f) { fileNames_.push_back(f); }
  void setNextInput(const QString& t) { inputs_.push_back(t); }

  Answer Message(QWidget* parent, const QString& prompt, Buttons buttons,
                 const QString& title,
                 const QString& detail = QString()) override;
  QString InputBox(QWidget* parent, const QString& prompt,
                   const QString& title) override;
  QString OpenFileName(QWidget* parent, const QString& title,
                       const QString& filter, const QString& folder,
                       const QString& file = QString()) override;
  QString SaveFileName(QWidget* parent, const QString& title,
                       const QString& filter, const QString& folder) override;
  // Answered from the file-name queue.
  QString FolderName(QWidget* parent, const QString& title,
                     const QString& folder) override;
  void EndProgram() override { ++endRequests; }

  std::deque<Shown> shown;
  int endRequests = 0;

  // The prompts of the message boxes shown, oldest first.
  QStringList messages() const;

 private:
  std::deque<Answer> answers_;
  std::deque<QString> fileNames_;
  std::deque<QString> inputs_;
};

}  // namespace sceneshifter
