#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

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

}  // namespace

int main(int argc, char** argv) {
  AnswerHelpAndVersion(argc, argv);
  QApplication app(argc, argv);
  NameApplication();

  QCommandLineParser parser;
  DescribeOptions(parser);
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
