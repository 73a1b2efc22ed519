#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "net/MessageCatalogue.h"
#include "platform/CArchive.h"
#include "platform/CArchiveException.h"

namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

// Records each write as one send.
class SendRecorder : public CFile {
public:
    UINT Read(void*, UINT) override { return 0; }
    void Write(const void* buffer, UINT count) override { sends.emplace_back(static_cast<const char*>(buffer), count); }
    std::string All() const
    {
        std::string all;
        for (const std::string& send : sends)
            all += send;
        return all;
    }
    std::vector<std::string> sends;
};

// Delivers its bytes in the given pieces, one piece (or what fits) per receive, then ends.
class PiecewiseStream : public CFile {
public:
    explicit PiecewiseStream(std::deque<std::string> pieces) : m_pieces(std::move(pieces)) {}
    UINT Read(void* buffer, UINT count) override
    {
        ++receives;
        if (m_pieces.empty())
            return 0;
        std::string& piece = m_pieces.front();
        const auto taken = std::min<std::size_t>(count, piece.size());
        std::memcpy(buffer, piece.data(), taken);
        piece.erase(0, taken);
        if (piece.empty())
            m_pieces.pop_front();
        return static_cast<UINT>(taken);
    }
    void Write(const void*, UINT) override {}
    void ReturnUnread(const char* bytes, std::size_t count) override { returned.assign(bytes, count); }

    // What a next reader would get: the bytes given back, then those never received.
    std::string Rest() const
    {
        std::string rest = returned;
        for (const std::string& piece : m_pieces)
            rest += piece;
        return rest;
    }

    int receives = 0;
    std::string returned;

private:
    std::deque<std::string> m_pieces;
};

void Store(CArchive& archive, const wire::Field& field)
{
    std::visit([&](const auto& value) { archive << value; }, field);
}

wire::Field LoadLike(CArchive& archive, const wire::Field& expected)
{
    return std::visit(
        [&](const auto& shape) -> wire::Field {
            std::decay_t<decltype(shape)> value{};
            archive >> value;
            return value;
        },
        expected);
}

struct EncodingRow {
    std::string name;
    std::vector<wire::Field> fields;
    std::string bytes;
};

void PrintTo(const EncodingRow& row, std::ostream* out) { *out << row.name; }

std::vector<EncodingRow> EncodingRows()
{
    std::vector<EncodingRow> rows = {
        {"Peek", {std::string("PEEK")}, Bytes({0x04, 'P', 'E', 'E', 'K'})},
        {"Score",
         {std::string("SCORE"), 1234, 3, 0, 19.75, 7.25},
         Bytes({0x05, 'S', 'C', 'O', 'R', 'E', 0xD2, 0x04, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0x33,
                0x40, 0, 0, 0, 0, 0, 0, 0x1D, 0x40})},
        {"EmptyString", {std::string()}, Bytes({0x00})},
        {"MinusHundred", {-100}, Bytes({0x9C, 0xFF, 0xFF, 0xFF})},
        {"EmptyHall",
         {std::string("HALL"), std::string("NOMORE"), std::string("NOMORE")},
         Bytes({0x04, 'H', 'A', 'L', 'L', 0x06, 'N', 'O', 'M', 'O', 'R', 'E', 0x06, 'N', 'O', 'M', 'O', 'R', 'E'})},
    };
    const std::pair<std::size_t, std::string> boundaries[] = {{254, Bytes({0xFE})},
                                                              {255, Bytes({0xFF, 0xFF, 0x00})},
                                                              {65533, Bytes({0xFF, 0xFD, 0xFF})},
                                                              {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
                                                              {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})}};
    for (const auto& [length, prefix] : boundaries)
        rows.push_back({"String" + std::to_string(length), {std::string(length, 'x')}, prefix + std::string(length, 'x')});
    return rows;
}

// Forms the reader accepts but the writer never chooses.
std::vector<EncodingRow> ReaderOnlyRows()
{
    return {
        {"SixteenBitPrefix", {std::string("hello")}, Bytes({0xFF, 0x05, 0x00, 'h', 'e', 'l', 'l', 'o'})},
        {"ThirtyTwoBitPrefix", {std::string("hello")},
         Bytes({0xFF, 0xFF, 0xFF, 0x05, 0x00, 0x00, 0x00, 'h', 'e', 'l', 'l', 'o'})},
        {"WideString", {std::string("Hi")}, Bytes({0xFF, 0xFE, 0xFF, 0x02, 0x48, 0x00, 0x69, 0x00})},
        {"WideStringEndsAtZero", {std::string("H\xE9")}, Bytes({0xFF, 0xFE, 0xFF, 0x03, 0x48, 0x00, 0xE9, 0x00, 0, 0})},
        {"WideStringWithLongPrefix", {std::string("Hi")},
         Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x02, 0x00, 0x48, 0x00, 0x69, 0x00})},
    };
}

class ArchiveEncoding : public testing::TestWithParam<EncodingRow> {};
class ArchiveDecoding : public testing::TestWithParam<EncodingRow> {};

TEST_P(ArchiveEncoding, WriterSendsExactlyTheseBytes)
{
    const EncodingRow& row = GetParam();
    SendRecorder connection;
    CArchive writer(&connection, CArchive::store);
    for (const wire::Field& field : row.fields)
        Store(writer, field);
    const bool fitsTheBuffer = row.bytes.size() <= CArchive::kDefaultBufferSize;
    if (fitsTheBuffer) {
        EXPECT_TRUE(connection.sends.empty()) << "nothing leaves before the writer is closed";
    }
    writer.Close();
    EXPECT_EQ(connection.All(), row.bytes);
    if (fitsTheBuffer) {
        EXPECT_EQ(connection.sends.size(), 1u);
    }
}

void ExpectReadExactly(const EncodingRow& row)
{
    PiecewiseStream connection({row.bytes + "next"});
    CArchive reader(&connection, CArchive::load);
    for (const wire::Field& field : row.fields)
        EXPECT_EQ(LoadLike(reader, field), field);
    reader.Close();
    EXPECT_EQ(connection.Rest(), "next") << "bytes behind the message stay for the next reader";
}

TEST_P(ArchiveEncoding, ReaderTakesExactlyTheseBytes) { ExpectReadExactly(GetParam()); }
TEST_P(ArchiveDecoding, ReaderTakesExactlyTheseBytes) { ExpectReadExactly(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Table, ArchiveEncoding, testing::ValuesIn(EncodingRows()),
                         [](const auto& info) { return info.param.name; });
INSTANTIATE_TEST_SUITE_P(Table, ArchiveDecoding, testing::ValuesIn(ReaderOnlyRows()),
                         [](const auto& info) { return info.param.name; });

TEST(ArchiveReader, WaitsForTheRestOfAFieldAcrossReceives)
{
    PiecewiseStream integer({Bytes({0x9C}), Bytes({0xFF, 0xFF, 0xFF})});
    CArchive reader(&integer, CArchive::load);
    std::int32_t value = 0;
    reader >> value;
    EXPECT_EQ(value, -100);
    EXPECT_EQ(integer.receives, 2);

    const std::string text(10000, 'q');
    std::deque<std::string> pieces;
    const std::string bytes = Bytes({0xFF, 0x10, 0x27}) + text;
    for (std::size_t at = 0; at < bytes.size(); at += 700)
        pieces.push_back(bytes.substr(at, 700));
    PiecewiseStream slow(pieces);
    CArchive slowReader(&slow, CArchive::load);
    std::string received;
    slowReader >> received;
    EXPECT_EQ(received, text);
}

TEST(ArchiveReader, EndOfDataFailsTheUnfinishedFieldAfterEarlierOnes)
{
    PiecewiseStream cut({Bytes({0x03, 'a', 'b', 'c', 0x05, 'a', 'b'})});
    CArchive reader(&cut, CArchive::load);
    std::string first, second;
    reader >> first;
    EXPECT_EQ(first, "abc");
    try {
        reader >> second;
        FAIL() << "read past the end";
    } catch (const CArchiveException& error) {
        EXPECT_EQ(error.m_cause, CArchiveException::endOfFile);
    }
}

TEST(ArchiveReader, RefusesStringsThatCannotBeValid)
{
    const struct {
        const char* name;
        std::string bytes;
    } rows[] = {
        {"announced over 1 MiB", Bytes({0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x10, 0x00})},
        {"wide marker after wide marker", Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x01, 'x', 0})},
    };
    for (const auto& row : rows) {
        PiecewiseStream stream({row.bytes + std::string(64, 'x')});
        CArchive reader(&stream, CArchive::load);
        std::string text;
        EXPECT_THROW(reader >> text, CArchiveException) << row.name;
    }
}

TEST(ArchiveWriter, LongMessageLeavesInTwoSendsThatMakeItsEncoding)
{
    const std::string question(5000, 'Q');
    SendRecorder connection;
    CArchive writer(&connection, CArchive::store);
    writer << std::string("NEWQUESTION") << question;
    for (const char* answer : {"a", "b", "c", "None given", "None given"})
        writer << std::string(answer);
    writer << std::int32_t{2};
    writer.Close();
    ASSERT_EQ(connection.sends.size(), 2u);
    EXPECT_EQ(connection.sends[0].size(), CArchive::kDefaultBufferSize);
    EXPECT_EQ(connection.All(),
              wire::Encode(wire::Direction::ClientToServer,
                           {"NEWQUESTION", {question, "a", "b", "c", "None given", "None given", 2}}));
}

TEST(ArchiveWriter, ClosingAnEmptyWriterSendsNothing)
{
    SendRecorder connection;
    CArchive writer(&connection, CArchive::store);
    writer.Close();
    EXPECT_TRUE(connection.sends.empty());
}

}  // namespace
