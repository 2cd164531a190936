#pragma once

#include <QString>
#include <string>

#include "base/text_encoding.h"

namespace netglobe {

// Records are windows-1252 bytes; widgets show Unicode.
inline QString fromrecord(const std::string& text) { return QString::fromUtf8(cp1252toutf8(text)); }

}  // namespace netglobe
