// The byte forms of the archive's three field types, written once for every reader and
// writer: the blocking archive on a connection, and the server's decoder of whole messages.
//
// A Source offers ReadU8, ReadU16, ReadU32, ReadU64 (little-endian), ReadBytes(char*, size) and a
// [[noreturn]] Reject(reason) for a string that cannot be valid; a Sink offers WriteU8,
// WriteU16, WriteU32, WriteU64 and WriteBytes(const char*, size). Each call is one element of the
// encoding, which is what the archive's buffering rules are stated in.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Cp1252.h"

namespace archive_format {

constexpr std::uint8_t kLongPrefix = 0xFF;     // a 16-bit length follows
constexpr std::uint16_t kWideMarker = 0xFFFE;  // UTF-16 text follows, with a length prefix of its own
constexpr std::uint16_t kHugePrefix = 0xFFFF;  // a 32-bit length follows

static_assert(std::endian::native == std::endian::little, "the encoding is little-endian, as is this host");

template <class Source>
std::string ReadString(Source& in, std::uint32_t maxLength)
{
    bool wide = false;
    std::uint32_t length;
    for (;;) {
        length = in.ReadU8();
        if (length != kLongPrefix)
            break;
        const std::uint16_t word = in.ReadU16();
        if (word != kWideMarker) {
            length = word == kHugePrefix ? in.ReadU32() : word;
            break;
        }
        if (wide)
            in.Reject("a wide-string marker follows a wide-string marker");
        wide = true;  // the real length follows, in any of the three forms
    }
    if (length > maxLength)
        in.Reject("a string is longer than this reader accepts");
    if (length == 0)
        return {};
    if (!wide) {
        std::string text(length, '\0');
        in.ReadBytes(text.data(), length);
        return text;
    }
    std::vector<char16_t> units(length);
    in.ReadBytes(reinterpret_cast<char*>(units.data()), std::size_t{length} * 2);
    return cp1252::FromUtf16(units.data(), units.size());
}

template <class Sink>
void WriteString(Sink& out, std::string_view text)
{
    const auto length = static_cast<std::uint32_t>(text.size());
    if (length < kLongPrefix) {
        out.WriteU8(static_cast<std::uint8_t>(length));
    } else if (length < kWideMarker) {
        out.WriteU8(kLongPrefix);
        out.WriteU16(static_cast<std::uint16_t>(length));
    } else {
        out.WriteU8(kLongPrefix);
        out.WriteU16(kHugePrefix);
        out.WriteU32(length);
    }
    out.WriteBytes(text.data(), text.size());
}

inline std::int32_t ToInt32(std::uint32_t bits) { return std::bit_cast<std::int32_t>(bits); }
inline std::uint32_t FromInt32(std::int32_t value) { return std::bit_cast<std::uint32_t>(value); }
inline double ToReal64(std::uint64_t bits) { return std::bit_cast<double>(bits); }
inline std::uint64_t FromReal64(double value) { return std::bit_cast<std::uint64_t>(value); }

}  // namespace archive_format
