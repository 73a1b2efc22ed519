// Every message of the game protocol, in both directions, as one table of layouts, with
// the encoder and the decoder of whole messages that the server, the tests and the
// fuzzers use. (The client itself reads and writes field by field through its archive.)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace wire {

enum class FieldType { String, Int32, Real64 };

struct FieldSpec {
    FieldType type;
    const char* name;
};

// Rows of fields, the first a string; the list ends with "NOMORE" in place of a row.
struct ListSpec {
    const char* name;
    std::vector<FieldSpec> row;
};

using LayoutItem = std::variant<FieldSpec, ListSpec>;

struct Layout {
    const char* word;  // the command word
    std::vector<LayoutItem> items;
};

enum class Direction { ClientToServer, ServerToClient };

inline constexpr std::string_view kListEnd = "NOMORE";

// The layouts of one direction; server messages in the order the client tests their words.
const std::vector<Layout>& Layouts(Direction direction);
const Layout* FindLayout(Direction direction, std::string_view word);

using Field = std::variant<std::string, std::int32_t, double>;

// A message as it travels: the command word, then every field in wire order. A list
// appears as its rows' fields followed by the string "NOMORE".
struct Message {
    std::string word;
    std::vector<Field> fields;

    bool operator==(const Message&) const = default;
};

// The bytes of a message; throws std::invalid_argument when it does not follow its layout.
std::string Encode(Direction direction, const Message& message);

enum class DecodeStatus { Complete, Incomplete, Invalid };

struct DecodeResult {
    DecodeStatus status;
    std::size_t used = 0;  // bytes of a complete message
    std::string error;     // for an invalid one: which field failed, and why
    std::size_t needed = 0;  // for an incomplete one: the fewest bytes the message can take, as the bytes so far tell
};

// Decodes the message at the start of bytes. Incomplete means the bytes so far are a valid
// beginning; Invalid means no continuation can make them a message (an unknown command
// word, a string over maxStringLength, a malformed prefix). A caller that collects bytes need not
// decode again before it holds `needed` of them.
DecodeResult Decode(Direction direction, std::string_view bytes, Message& message, std::uint32_t maxStringLength);

}  // namespace wire
