#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <exception>

#include "codepage.h"
#include "dialogs.h"
#include "frm_config.h"
#include "scenery_document.h"

namespace {

int Run(int argc, char** argv) {
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
#ifdef Q_OS_WIN
  parser.process(app);  // Qt reads the UTF-16 command line itself
#else
  // A file name that is not valid UTF-8 must reach the core as its bytes;
  // QApplication has taken its own options out of argv.
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << sceneshifter::FromHostPath(argv[i]);
  parser.process(arguments);
#endif
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

}  // namespace

int main(int argc, char** argv) {
  // Nothing the run throws may end the program without a word.
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    fprintf(stderr, "sceneshifter: %s\n", e.what());
  } catch (...) {
    fputs("sceneshifter: an unexpected error\n", stderr);
  }
  return 1;
}
