#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace sceneshifter {

// The scenery file's bytes are windows-1252; widgets hold Unicode text.
QString FromFileBytes(std::string_view bytes);

// False when `text` has a character that windows-1252 cannot hold; `bytes`
// is then left as it was.
bool ToFileBytes(const QString& text, std::string& bytes);

// Host paths are held as UTF-8 in the document.
inline QString FromHostPath(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string ToHostPath(const QString& path) {
  return path.toUtf8().toStdString();
}

}  // namespace sceneshifter
