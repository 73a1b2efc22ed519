// Conversions where the system's 8-bit text meets Qt's Unicode strings.
#pragma once

#include <QString>
#include <string>

#include "platform/Cp1252.h"

inline QString ToQString(const std::string& text)
{
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (const char byte : text)
        result += QChar(static_cast<char16_t>(cp1252::ToUnicode(static_cast<unsigned char>(byte))));
    return result;
}

inline std::string FromQString(const QString& text)
{
    return cp1252::FromUtf16(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}
