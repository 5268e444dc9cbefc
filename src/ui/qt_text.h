// Text crossing between the core (Windows-1252 bytes) and Qt (QString).
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "common/win1252.h"

namespace quarzel {

inline QString toQString(const std::string& win1252) {
    const std::string utf8 = toUtf8(win1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A character Windows-1252 cannot hold becomes "?".
inline std::string fromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return fromUtf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// The texts shared with the page (captions, grading's lines) are UTF-8.
inline QString utf8Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// File paths stay UTF-8 inside the core.
inline std::string pathFromQString(const QString& path) {
    return path.toUtf8().toStdString();
}

}  // namespace quarzel
