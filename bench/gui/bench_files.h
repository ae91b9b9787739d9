// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A scenery file of `areas` areas, in order or fully reversed.
inline QByteArray BenchScenery(int areas, bool reversed) {
  QByteArray text = "[General]\r\nTitle=FS2000 World Scenery\r\n\r\n";
  for (int i = 0; i < areas; ++i) {
    const int n = reversed ? areas - i : i + 1;
    const QByteArray num = QByteArray::number(n).rightJustified(3, '0');
    text += "[Area." + num + "]\r\nTitle=Bench area " + num +
            "\r\nLocal=Addon Scenery\\Bench" + num +
            "\r\nActive=TRUE\r\nLayer=" + QByteArray::number(n) +
            "\r\nRequired=FALSE\r\n\r\n";
  }
  return text;
}

inline bool WriteBenchFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
