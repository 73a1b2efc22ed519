#include "net/MessageCatalogue.h"

#include <stdexcept>

#include "platform/ArchiveFormat.h"

namespace wire {
namespace {

constexpr FieldSpec S(const char* name) { return {FieldType::String, name}; }
constexpr FieldSpec I(const char* name) { return {FieldType::Int32, name}; }
constexpr FieldSpec D(const char* name) { return {FieldType::Real64, name}; }

// Built on first use, so that encoders running during static initialisation find them.
std::vector<Layout> ClientMessages()
{
    return {
    {"LOGIN", {S("login name"), S("password"), S("client version")}},
    {"SCORE", {I("score"), I("answer"), I("previous answer"), D("total time"), D("last answer time")}},
    {"PEEK", {}},
    {"TOPTEN", {}},
    {"HALL", {}},
    {"MESSAGE", {}},
    {"SENDMESS", {S("recipient"), S("text")}},
    {"SENDPROFILE", {S("player name")}},
    {"NEWPLAYER",
     {S("login name"), S("password"), S("clean login name"), S("city and state"), S("country"), S("email address"),
      S("team name"), S("personal information"), S("sex"), I("age")}},
    {"NEWQUESTION",
     {S("question"), S("answer 1"), S("answer 2"), S("answer 3"), S("answer 4"), S("answer 5"), I("correct answer")}},
    };
}

std::vector<Layout> ServerMessages()
{
    return {
    {"QUESTION",
     {S("question"), S("answer 1"), S("answer 2"), S("answer 3"), S("answer 4"), S("answer 5"), I("correct answer"),
      I("question number"), S("category")}},
    {"TOPTEN",
     {ListSpec{"top ten", {S("player"), I("score"), I("last answer"), D("total time"), D("last answer time")}}}},
    {"ENDGAME", {S("winner"), I("winner's score")}},
    {"HALL",
     {ListSpec{"top scores today", {S("player"), I("score"), S("score date")}},
      ListSpec{"top scores last 30 days", {S("player"), I("score"), S("score date")}}}},
    {"RECMESS", {S("text")}},
    {"RECPEEK", {I("same answer"), I("players")}},
    {"RECPROFILE",
     {S("country"), S("city and state"), S("email"), S("team"), S("personal information"), S("sex"), I("age"),
      I("average score"), I("games played")}},
    {"BADVERSION", {}},
    {"PLAYMESS", {ListSpec{"players", {S("player")}}}},
    {"GETPLAYER", {}},
    };
}

struct StringSink {
    std::string bytes;
    void WriteU8(std::uint8_t v) { bytes += static_cast<char>(v); }
    void WriteU16(std::uint16_t v) { WriteBytes(&v, sizeof v); }
    void WriteU32(std::uint32_t v) { WriteBytes(&v, sizeof v); }
    void WriteU64(std::uint64_t v) { WriteBytes(&v, sizeof v); }
    void WriteBytes(const void* data, std::size_t size) { bytes.append(static_cast<const char*>(data), size); }
};

struct NeedMoreBytes {
    std::size_t needed;
};
struct Rejected {
    const char* reason;
};

struct SpanSource {
    std::string_view bytes;
    std::size_t position = 0;

    void ReadBytes(void* data, std::size_t size)
    {
        if (bytes.size() - position < size)
            throw NeedMoreBytes{position + size};
        std::memcpy(data, bytes.data() + position, size);
        position += size;
    }
    template <class T>
    T Read()
    {
        T value;
        ReadBytes(&value, sizeof value);
        return value;
    }
    std::uint8_t ReadU8() { return Read<std::uint8_t>(); }
    std::uint16_t ReadU16() { return Read<std::uint16_t>(); }
    std::uint32_t ReadU32() { return Read<std::uint32_t>(); }
    std::uint64_t ReadU64() { return Read<std::uint64_t>(); }
    [[noreturn]] void Reject(const char* reason) { throw Rejected{reason}; }
};

void WriteField(StringSink& sink, const FieldSpec& spec, const Field& field)
{
    const bool matches = (spec.type == FieldType::String && std::holds_alternative<std::string>(field)) ||
                         (spec.type == FieldType::Int32 && std::holds_alternative<std::int32_t>(field)) ||
                         (spec.type == FieldType::Real64 && std::holds_alternative<double>(field));
    if (!matches)
        throw std::invalid_argument(std::string("field '") + spec.name + "' has the wrong type");
    if (spec.type == FieldType::String)
        archive_format::WriteString(sink, std::get<std::string>(field));
    else if (spec.type == FieldType::Int32)
        sink.WriteU32(archive_format::FromInt32(std::get<std::int32_t>(field)));
    else
        sink.WriteU64(archive_format::FromReal64(std::get<double>(field)));
}

Field ReadField(SpanSource& source, const FieldSpec& spec, std::uint32_t maxStringLength)
{
    switch (spec.type) {
    case FieldType::String:
        return archive_format::ReadString(source, maxStringLength);
    case FieldType::Int32:
        return archive_format::ToInt32(source.ReadU32());
    case FieldType::Real64:
        break;
    }
    return archive_format::ToReal64(source.ReadU64());
}

// Walks a layout over the message's fields (encoding) or over the bytes (decoding).
template <class OnField>
void WalkLayout(const Layout& layout, OnField&& onField)
{
    for (const LayoutItem& item : layout.items) {
        if (const auto* field = std::get_if<FieldSpec>(&item)) {
            onField(*field, false);
            continue;
        }
        const ListSpec& list = std::get<ListSpec>(item);
        // The first field of each row decides whether the row exists at all.
        while (onField(list.row.front(), true)) {
            for (std::size_t i = 1; i < list.row.size(); ++i)
                onField(list.row[i], false);
        }
    }
}

}  // namespace

const std::vector<Layout>& Layouts(Direction direction)
{
    static const std::vector<Layout> client = ClientMessages();
    static const std::vector<Layout> server = ServerMessages();
    return direction == Direction::ClientToServer ? client : server;
}

const Layout* FindLayout(Direction direction, std::string_view word)
{
    for (const Layout& layout : Layouts(direction))
        if (word == layout.word)
            return &layout;
    return nullptr;
}

std::string Encode(Direction direction, const Message& message)
{
    const Layout* layout = FindLayout(direction, message.word);
    if (!layout)
        throw std::invalid_argument("unknown command word '" + message.word + "'");
    StringSink sink;
    archive_format::WriteString(sink, message.word);
    std::size_t next = 0;
    WalkLayout(*layout, [&](const FieldSpec& spec, bool rowStart) {
        if (next == message.fields.size())
            throw std::invalid_argument(message.word + ": missing field '" + spec.name + "'");
        const Field& field = message.fields[next++];
        WriteField(sink, spec, field);
        return rowStart && std::get<std::string>(field) != kListEnd;
    });
    if (next != message.fields.size())
        throw std::invalid_argument(message.word + ": more fields than its layout has");
    return std::move(sink.bytes);
}

DecodeResult Decode(Direction direction, std::string_view bytes, Message& message, std::uint32_t maxStringLength)
{
    SpanSource source{bytes};
    const char* current = "command word";
    message = {};
    try {
        message.word = archive_format::ReadString(source, maxStringLength);
        const Layout* layout = FindLayout(direction, message.word);
        if (!layout)
            return {DecodeStatus::Invalid, 0, "unknown command word"};
        WalkLayout(*layout, [&](const FieldSpec& spec, bool rowStart) {
            current = spec.name;
            message.fields.push_back(ReadField(source, spec, maxStringLength));
            return rowStart && std::get<std::string>(message.fields.back()) != kListEnd;
        });
    } catch (const NeedMoreBytes& more) {
        return {DecodeStatus::Incomplete, 0, {}, more.needed};
    } catch (const Rejected& rejected) {
        return {DecodeStatus::Invalid, 0, message.word + " " + current + ": " + rejected.reason};
    }
    return {DecodeStatus::Complete, source.position, {}};
}

}  // namespace wire
