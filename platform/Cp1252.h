// Windows-1252, the 8-bit character set in which all text of the system is held and travels.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cp1252 {

// The Unicode code point of one Windows-1252 byte. The five bytes the code page leaves
// undefined map to the C1 control of the same value, so every byte survives a round trip.
char32_t ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point; '?' for one the code page cannot hold.
char FromUnicode(char32_t codePoint);

// UTF-16 text, up to its first zero code unit, as Windows-1252. A surrogate pair, which
// stands for a character outside the code page, becomes a single '?'.
std::string FromUtf16(const char16_t* units, std::size_t count);

// UTF-8 text as Windows-1252; malformed sequences become '?'.
std::string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::string_view text);

}  // namespace cp1252
