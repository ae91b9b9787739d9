// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

// Ends the program once `window` has been painted for the first time, and
// writes the wall-clock moment of that end ("shown", microseconds since the
// epoch) to standard output, so that a script can time exec to the window
// shown apart from the program's teardown.
class QuitAfterFirstPaint : public QObject {
 public:
  explicit QuitAfterFirstPaint(QWidget& window) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      watched->removeEventFilter(this);
      // Once this paint, and the flush to the screen after it, are done.
      QTimer::singleShot(0, this, [] {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf(
            "shown %lld\n",
            static_cast<long long>(
                std::chrono::duration_cast<std::chrono::microseconds>(now)
                    .count()));
        std::fflush(stdout);
        QCoreApplication::quit();
      });
    }
    return false;
  }

 private:
  bool painted_ = false;
};
