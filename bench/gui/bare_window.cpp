// SPDX-License-Identifier: MIT
// The floor for the editor's start-up: a bare Qt Widgets program that shows
// one empty window of the editor's size and ends once it has been painted,
// started the same way as startup_probe. With --label the window
// shows one line of text: the fair floor for a window with any text, which
// pays for reading the system's font configuration and loading a font.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

#include "first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setFixedSize(583, 401);
  if (argc > 1 && std::strcmp(argv[1], "--label") == 0)
    window.setCentralWidget(new QLabel(QStringLiteral("Sceneshifter")));
  QuitAfterFirstPaint end(window);
  window.show();
  return app.exec();
}
