// SPDX-License-Identifier: MIT
#include "codepage.h"

#include "code_page.h"

namespace sceneshifter {
namespace {

std::u16string_view Utf16Of(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()),
          static_cast<std::size_t>(text.size())};
}

}  // namespace

QString FromFileBytes(std::string_view bytes) {
  const std::u16string text = Utf16FromBytes(bytes);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

bool ToFileBytes(const QString& text, std::string& bytes) {
  return BytesFromUtf16(Utf16Of(text), bytes);
}

#ifdef Q_OS_WIN
// Windows paths are UTF-16, which UTF-8 holds whole.
QString FromHostPath(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToHostPath(const QString& path) {
  return path.toUtf8().toStdString();
}
#else
QString FromHostPath(const std::string& utf8) {
  QString path;
  path.reserve(static_cast<qsizetype>(utf8.size()));
  std::string_view rest = utf8;
  while (!rest.empty()) {
    std::size_t n = 0;
    while (n < rest.size()) {
      const std::size_t length = Utf8SequenceLength(rest.substr(n));
      if (length == 0) break;
      n += length;
    }
    path += QString::fromUtf8(rest.data(), static_cast<qsizetype>(n));
    if (n < rest.size())
      path += QChar(static_cast<char16_t>(
          0xDC00 + static_cast<unsigned char>(rest[n++])));
    rest.remove_prefix(n);
  }
  return path;
}

std::string ToHostPath(const QString& path) {
  std::string bytes;
  const std::u16string_view text = Utf16Of(path);
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const bool escaped =
        i < text.size() && text[i] >= 0xDC80 && text[i] <= 0xDCFF &&
        (i == 0 || text[i - 1] < 0xD800 || text[i - 1] > 0xDBFF);
    if (i < text.size() && !escaped) continue;
    bytes += Utf8FromUtf16(text.substr(start, i - start));
    if (escaped) bytes += static_cast<char>(text[i] - 0xDC00);
    start = i + 1;
  }
  return bytes;
}
#endif

}  // namespace sceneshifter
