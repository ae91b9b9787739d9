// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <exception>

#include "codepage.h"
#include "dialogs.h"
#include "frm_config.h"
#include "scenery_document.h"

namespace {

void NameApplication() {
  QCoreApplication::setOrganizationName(QStringLiteral("Sceneshifter"));
  QCoreApplication::setApplicationName(QStringLiteral("Sceneshifter"));
  QCoreApplication::setApplicationVersion(QStringLiteral(SCENESHIFTER_VERSION));
}

void DescribeOptions(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("Editor for the scenery areas of Scenery.cfg"));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(
      QStringLiteral("file"),
      QStringLiteral("Scenery file to open instead of the remembered one."),
      QStringLiteral("[file]"));
}

// --help and --version are answered before the window system is reached, so
// that they work without a display.
void AnswerHelpAndVersion(int argc, char** argv) {
  QCoreApplication core(argc, argv);
  NameApplication();
  QCommandLineParser parser;
  DescribeOptions(parser);
  // The window system's own options are not known here; they are checked
  // once it is up.
  parser.parse(QCoreApplication::arguments());
  if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
}

int Run(int argc, char** argv) {
  AnswerHelpAndVersion(argc, argv);
  QApplication app(argc, argv);
  NameApplication();

  QCommandLineParser parser;
  DescribeOptions(parser);
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
