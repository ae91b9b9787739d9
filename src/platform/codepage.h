// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace sceneshifter {

// The scenery file's bytes are in the active code page (see code_page.h);
// widgets hold Unicode text.
QString FromFileBytes(std::string_view bytes);

// False when `text` has a character that the code page cannot hold; `bytes`
// is then left as it was.
bool ToFileBytes(const QString& text, std::string& bytes);

// Host paths are held as UTF-8 in the document. On hosts other than Windows
// a file name may hold any bytes: one that is not part of valid UTF-8 is
// carried through the QString as an unpaired surrogate (U+DC80 to U+DCFF)
// and comes back as the same byte.
QString FromHostPath(const std::string& utf8);
std::string ToHostPath(const QString& path);

}  // namespace sceneshifter
