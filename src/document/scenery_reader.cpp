// SPDX-License-Identifier: MIT
#include "scenery_reader.h"

#include <algorithm>

#include "file_ops.h"
#include "text_bytes.h"

namespace sceneshifter {
namespace {

// Splits text into lines the way the file was written: a line ends at CR or
// at CR LF; a lone LF stays inside the line. A final terminator does not
// start another (empty) line.
class LineSource {
 public:
  explicit LineSource(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  std::string_view Next() {
    const std::size_t cr = text_.find('\r', pos_);
    std::string_view line;
    if (cr == std::string_view::npos) {
      line = text_.substr(pos_);
      pos_ = text_.size();
    } else {
      line = text_.substr(pos_, cr - pos_);
      pos_ = cr + 1;
      if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    }
    return line;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

bool IsSectionLine(std::string_view line) {
  return ContainsNoCase(line, "[Area.");
}
bool IsCacheLine(std::string_view line) {
  return ContainsNoCase(line, "[Cache");
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of a section line: three characters after the dot, or all the
// digits when there are more than three, so that the sections 1000 and up
// that the writer itself produces keep their place in the order.
std::string_view SectionNumber(std::string_view rest) {
  std::size_t n = rest.size() < 3 ? rest.size() : 3;
  if (n == 3 && IsDigit(rest[0]) && IsDigit(rest[1]) && IsDigit(rest[2]))
    while (n < rest.size() && IsDigit(rest[n])) ++n;
  return rest.substr(0, n);
}

std::string_view ValueOf(std::string_view line) {
  const auto eq = line.find('=');
  return eq == std::string_view::npos ? line : line.substr(eq + 1);
}

// Blank lines carry nothing: they end sections for people, and the writer
// puts its own after each area.
bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\n") == std::string_view::npos;
}

void ApplyKeyLine(AreaEntry& area, int& flattenCount, std::string_view line) {
  // The key is the line's first five characters, in any letter case.
  char folded[5];
  const std::size_t keyLength = std::min<std::size_t>(line.size(), 5);
  const CaseFolding& f = ActiveCaseFolding();
  for (std::size_t i = 0; i < keyLength; ++i) folded[i] = f.Fold(line[i]);
  const std::string_view key(folded, keyLength);
  const std::string_view value = ValueOf(line);
  if (key == "title") {
    area.Title = value;
  } else if (key == "local") {
    if (!value.empty()) {
      area.PathKey = "Local=";
      area.PathValue = value;
    }
  } else if (key == "remot") {
    if (!value.empty()) {
      area.PathKey = "Remote=";
      area.PathValue = value;
    }
  } else if (key == "activ") {
    area.Active = value;
  } else if (key == "layer") {
    ParseLayerValue(value, area.Layer);
  } else if (key == "textu") {
    area.TextureLine = line;
  } else if (key == "requi") {
    area.Required = value;
  } else if (key == "exclu") {
    area.Exclude = value;
  } else if (key == "flatt") {
    if (flattenCount < 10) area.Flatten[flattenCount] = value;
    ++flattenCount;
  } else if (!IsBlank(line) && !IsSectionLine(line)) {
    // Comments and other tools' keys stay with their area. A section line
    // (only the first line of a body can be one) is not kept: written back
    // it would open an area of its own.
    area.ExtraLines.emplace_back(line);
  }
}

// The header cursor: slots above the last are dropped, but still counted.
// Slots are added only as lines reach them.
class HeaderStore {
 public:
  explicit HeaderStore(std::vector<std::string>& slots) : slots_(slots) {}
  void Store(std::string_view line) {
    if (h_ >= static_cast<std::size_t>(kHeaderSlots)) return;
    if (h_ >= slots_.size()) slots_.resize(h_ + 1);
    slots_[h_] = line;
  }
  void Advance() { ++h_; }

 private:
  std::vector<std::string>& slots_;
  std::size_t h_ = 0;
};

}  // namespace

ReadResult ReadSceneryBytes(std::string_view bytes) {
  ReadResult result;
  auto fail = [&](const char* message, const char* detail) {
    ReadResult failed;
    failed.error = message;
    failed.detail = detail;
    return failed;
  };

  // Every section line holds a "[": room for as many areas as there are,
  // taken at once, but no more than a table holds.
  std::size_t brackets = 0;
  for (std::size_t at = bytes.find('[');
       at != std::string_view::npos && brackets < kAreaSlots;
       at = bytes.find('[', at + 1))
    ++brackets;
  result.Areas.reserve(brackets);

  LineSource lines(bytes);
  HeaderStore header(result.HeaderLines);

  // Header: up to and including the first section line, which must not be
  // the file's last line.
  std::string_view sectionLine;
  for (;;) {
    if (lines.AtEnd())
      return fail(kReadFailureMessage, bytes.empty()
                                           ? "the file is empty"
                                           : "there is no [Area. line");
    const std::string_view line = lines.Next();
    if (lines.AtEnd())
      return fail(kReadFailureMessage,
                  IsSectionLine(line)
                      ? "its first [Area. line is the file's last line"
                      : "there is no [Area. line");
    header.Store(line);
    if (IsSectionLine(line)) {
      sectionLine = line;
      break;
    }
    header.Advance();
  }

  int a = -1;
  // Each turn of this loop is one section start with `sectionLine`.
  while (!lines.AtEnd()) {
    if (++a >= kAreaSlots)
      return fail(kTooManyAreasMessage, "more than 3001 areas");
    AreaEntry& area = result.Areas.emplace_back();
    const auto dot = sectionLine.find('.');
    area.Number = SectionNumber(sectionLine.substr(dot + 1));
    int flattenCount = 0;

    // The first line after a section line always belongs to the section.
    std::string_view line = lines.Next();
    bool nextSection = false;
    for (;;) {
      if (IsCacheLine(line)) {
        // A cache run goes to the header, up to the next section line.
        for (;;) {
          header.Store(line);
          if (IsSectionLine(line)) break;
          header.Advance();
          if (lines.AtEnd()) break;
          line = lines.Next();
        }
        if (IsSectionLine(line)) {
          sectionLine = line;
          nextSection = true;
        } else {
          // The run ran to the end of the file. Its lines are kept, and the
          // header still ends at a section line, as it does after any other
          // run, so that the unused slots after it are not written out.
          header.Store(sectionLine);
        }
        break;
      }
      ApplyKeyLine(area, flattenCount, line);
      if (lines.AtEnd()) break;
      line = lines.Next();
      if (IsSectionLine(line)) {
        sectionLine = line;
        nextSection = true;
        break;
      }
    }
    if (!nextSection) break;
  }

  result.LastArea = static_cast<std::int16_t>(a);
  result.ok = true;
  return result;
}

ReadResult ReadSceneryFile(const std::string& path) {
  std::string bytes;
  std::string error;
  if (!ReadWholeFile(path, bytes, error)) {
    ReadResult failed;
    failed.error = kReadFailureMessage;
    failed.detail = path + ": " + error;
    return failed;
  }
  ReadResult read = ReadSceneryBytes(bytes);
  if (!read.ok)
    read.detail = path + ": " + read.detail;
  else
    read.Fingerprint = FingerprintOf(path, bytes);
  return read;
}

void AdoptRead(SceneryDocument& doc, ReadResult&& read) {
  doc.HeaderLines = std::move(read.HeaderLines);
  // The table holds the areas read and nothing of the earlier file.
  doc.Areas = std::move(read.Areas);
  doc.LastArea = read.LastArea;
  // The edits of the previous document are gone with it; only this file's
  // own sort can leave it changed.
  doc.FileChanged = false;
  SortAreas(doc);
}

std::string LoadDocument(SceneryDocument& doc, std::string* detail) {
  ReadResult read = ReadSceneryFile(doc.ConfigFile);
  if (!read.ok) {
    if (detail) *detail = read.detail;
    return read.error;
  }
  doc.DiskPath = doc.ConfigFile;
  doc.DiskFingerprint = read.Fingerprint;
  AdoptRead(doc, std::move(read));
  return {};
}

}  // namespace sceneshifter
