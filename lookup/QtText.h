#pragma once
// The windows show Qt strings; the lookup keeps code page 1252. Every text
// crosses between the two here; control characters of the data are shown as
// visible placeholders (Cp1252ToDisplayUtf8).

#include <QString>
#include <string>

#include "base/Text.h"

namespace tq {

inline QString ToQString(const std::string& cp1252) {
  return QString::fromStdString(Cp1252ToDisplayUtf8(cp1252));
}

inline std::string FromQString(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}

}  // namespace tq
