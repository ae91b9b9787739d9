#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace sceneshifter {

QString FromFileBytes(std::string_view bytes) {
  QStringDecoder decoder("windows-1252");
  // Bytes that windows-1252 leaves undefined (0x81, 0x8D, ...) decode as
  // the C1 control of the same value, so that they come back unchanged.
  return decoder(
      QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool ToFileBytes(const QString& text, std::string& bytes) {
  QStringEncoder encoder("windows-1252");
  const QByteArray encoded = encoder(text);
  // The encoder substitutes what the code page lacks without always saying
  // so; a text that does not come back unchanged cannot be stored.
  if (encoder.hasError() ||
      FromFileBytes(std::string_view(
          encoded.constData(), static_cast<std::size_t>(encoded.size()))) !=
          text)
    return false;
  bytes.assign(encoded.constData(), static_cast<std::size_t>(encoded.size()));
  return true;
}

}  // namespace sceneshifter
