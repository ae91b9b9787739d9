#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "dialogs.h"
#include "frm_config.h"
#include "scenery_document.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Sceneshifter"));
  QApplication::setApplicationName(QStringLiteral("Sceneshifter"));
  QApplication::setApplicationVersion(QStringLiteral(SCENESHIFTER_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Editor for the scenery areas of Scenery.cfg"));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(
      QStringLiteral("file"),
      QStringLiteral("Scenery file to open instead of the remembered one."),
      QStringLiteral("[file]"));
  parser.process(app);
  const QStringList args = parser.positionalArguments();
  if (args.size() > 1) {
    fputs("sceneshifter: give at most one scenery file\n", stderr);
    return 2;
  }

  sceneshifter::SceneryDocument doc;
  sceneshifter::DesktopDialogs dialogs;
  sceneshifter::FrmConfig window(doc, dialogs);
  window.Startup(args.isEmpty() ? QString() : args.first());
  if (window.Ended()) return 0;
  return app.exec();
}
