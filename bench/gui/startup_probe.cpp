// SPDX-License-Identifier: MIT
// The editor's own start-up on a given file, ending as soon as the window
// has been shown with the file loaded: time it from outside, with
// bench/gui/startup.sh.
#include <QApplication>
#include <QTimer>

#include "dialogs.h"
#include "frm_config.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Sceneshifter"));
  QApplication::setApplicationName(QStringLiteral("Sceneshifter"));
  if (argc < 2) return 2;
  sceneshifter::SceneryDocument doc;
  sceneshifter::ScriptedDialogs dialogs;  // the "has sorted" message
  sceneshifter::FrmConfig window(doc, dialogs);
  window.Startup(QString::fromLocal8Bit(argv[1]));
  if (doc.LastArea < 0) return 1;
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return app.exec();  // one pass: the window is laid out and painted
}
