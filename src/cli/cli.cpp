#include "cli.h"

#include "cli_check.h"
#include "scenery_reader.h"
#include "scenery_writer.h"

#ifndef SCENESHIFTER_VERSION
#define SCENESHIFTER_VERSION "0"
#endif

namespace sceneshifter {
namespace {

constexpr const char* kUsage =
    "Usage: sceneshifter-cli list FILE [--json]\n"
    "       sceneshifter-cli check FILE [--json]\n"
    "       sceneshifter-cli normalize FILE [--output OUT]\n"
    "\n"
    "list       print the scenery areas as the editor's title list shows "
    "them;\n"
    "           with --json, every field of every area as a JSON array\n"
    "check      report the areas that the simulator would skip or misread, "
    "one\n"
    "           line per problem: LAYER<TAB>CODE<TAB>TITLE<TAB>DETAIL; with\n"
    "           --json, one JSON document. Codes: no-folder, "
    "missing-folder,\n"
    "           no-scenery-subfolder, no-bgl-files, duplicate-folder, "
    "odd-flag\n"
    "normalize  sort and renumber the areas and save the file (keeping the "
    "old\n"
    "           one as FILE.bak), or write the result to OUT instead\n"
    "\n"
    "Exit status: 0 success, 1 the file cannot be read or saved, 2 usage;\n"
    "check exits with 3 when it finds problems.\n";

// Unicode of the bytes 0x80 to 0x9F; the rest of windows-1252 is Latin-1.
// The five bytes that the code page leaves undefined stand for the C1
// controls of the same value, as they do in the editor's widgets.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int Usage(std::ostream& err, const std::string& problem) {
  err << "sceneshifter-cli: " << problem << "\n" << kUsage;
  return 2;
}

// FILE with an optional --json, in either order; false on anything else.
bool FileAndJson(const std::vector<std::string>& args, std::string& file,
                 bool& json) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--json" && !json)
      json = true;
    else if (file.empty() && !args[i].empty() && args[i][0] != '-')
      file = args[i];
    else
      return false;
  }
  return !file.empty();
}

int List(const std::string& file, std::ostream& out, std::ostream& err) {
  SceneryDocument doc;
  doc.ConfigFile = file;
  std::string detail;
  const std::string failure = LoadDocument(doc, &detail);
  if (!failure.empty()) {
    err << file << ": " << failure << "\n" << detail << "\n";
    return 1;
  }
  std::string text;
  for (int i = 0; i <= doc.LastArea; ++i) {
    text += TitleListEntry(doc.Areas[i]);
    text += '\n';
  }
  out << Utf8FromFileBytes(text);
  return 0;
}

int Normalize(const std::string& file, const std::string& output,
              std::ostream& out, std::ostream& err) {
  SceneryDocument doc;
  doc.ConfigFile = file;
  std::string detail;
  const std::string failure = LoadDocument(doc, &detail);
  if (!failure.empty()) {
    err << file << ": " << failure << "\n" << detail << "\n";
    return 1;
  }
  if (!output.empty()) doc.ConfigFile = output;
  const SaveResult saved = SaveDocument(doc);
  if (!saved.ok) {
    err << doc.ConfigFile << ": could not be saved: " << saved.error << "\n";
    return 1;
  }
  if (!saved.backupWarning.empty())
    err << doc.ConfigFile << ": " << saved.backupWarning << "\n";
  out << (doc.AreasSorted ? "The areas were put into numerical order and "
                            "renumbered.\n"
                          : "The areas were already in order; renumbered.\n");
  return 0;
}

}  // namespace

std::string Utf8FromFileBytes(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size() + bytes.size() / 8);
  for (const char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    const char16_t c = b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : b;
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  if (args.empty()) return Usage(err, "no command given");
  const std::string& command = args[0];
  if (command == "--help" || command == "-h") {
    out << kUsage;
    return 0;
  }
  if (command == "--version") {
    out << "sceneshifter-cli " << SCENESHIFTER_VERSION << "\n";
    return 0;
  }
  if (command == "list" || command == "check") {
    std::string file;
    bool json = false;
    if (!FileAndJson(args, file, json))
      return Usage(err, command + " takes one FILE and may take --json");
    if (command == "check") return CheckCommand(file, json, out, err);
    return json ? ListJsonCommand(file, out, err) : List(file, out, err);
  }
  if (command == "normalize") {
    std::string file, output;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--output") {
        if (i + 1 >= args.size() || !output.empty())
          return Usage(err, "--output takes one OUT");
        output = args[++i];
        if (output.empty()) return Usage(err, "--output takes one OUT");
      } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
        file = args[i];
      } else {
        return Usage(err, "unexpected argument '" + args[i] + "'");
      }
    }
    if (file.empty()) return Usage(err, "normalize takes a FILE");
    return Normalize(file, output, out, err);
  }
  return Usage(err, "unknown command '" + command + "'");
}

}  // namespace sceneshifter
