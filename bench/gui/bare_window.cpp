// SPDX-License-Identifier: MIT
// The floor for the editor's start-up: a bare Qt Widgets program that shows
// one empty window of the editor's size and ends after the first pass of the
// event loop, started the same way as startup_probe.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setFixedSize(583, 401);
  window.show();
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return app.exec();
}
