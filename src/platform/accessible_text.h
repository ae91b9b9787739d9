// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QTextDocumentFragment>

namespace sceneshifter {

// What a screen reader says for a button caption: without the access-key
// mark, the blank some captions end in, or the blanks between single letters
// ("O K" reads "OK").
inline QString SpokenCaption(const QString& caption) {
  QString text;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  const QStringList words = text.simplified().split(QLatin1Char(' '));
  for (const QString& w : words)
    if (w.size() != 1) return words.join(QLatin1Char(' '));
  return words.join(QString());
}

// A rich-text tooltip as the plain text a screen reader should read.
inline QString PlainText(const QString& richText) {
  return QTextDocumentFragment::fromHtml(richText).toPlainText().simplified();
}

}  // namespace sceneshifter
