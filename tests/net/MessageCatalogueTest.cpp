#include <gtest/gtest.h>

#include "net/MessageCatalogue.h"

namespace {

using wire::Decode;
using wire::DecodeStatus;
using wire::Direction;
using wire::Encode;
using wire::Message;

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += static_cast<char>(v);
    return bytes;
}

struct EncodingRow {
    const char* name;
    Direction direction;
    Message message;
    std::string bytes;
};

void PrintTo(const EncodingRow& row, std::ostream* out) { *out << row.name; }

class CatalogueEncoding : public testing::TestWithParam<EncodingRow> {};

TEST_P(CatalogueEncoding, EncodesAndDecodesExactly)
{
    const EncodingRow& row = GetParam();
    EXPECT_EQ(Encode(row.direction, row.message), row.bytes);

    Message decoded;
    const auto result = Decode(row.direction, row.bytes + "trailing", decoded, 1 << 20);
    ASSERT_EQ(result.status, DecodeStatus::Complete) << result.error;
    EXPECT_EQ(result.used, row.bytes.size());
    EXPECT_EQ(decoded, row.message);

    // Every proper prefix is a valid beginning, never a message.
    for (std::size_t cut = 0; cut < row.bytes.size(); ++cut)
        EXPECT_EQ(Decode(row.direction, row.bytes.substr(0, cut), decoded, 1 << 20).status, DecodeStatus::Incomplete) << cut;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CatalogueEncoding,
    testing::Values(
        EncodingRow{"Peek", Direction::ClientToServer, {"PEEK", {}}, Bytes({0x04, 'P', 'E', 'E', 'K'})},
        EncodingRow{"Score", Direction::ClientToServer, {"SCORE", {1234, 3, 0, 19.75, 7.25}},
                    Bytes({0x05, 'S', 'C', 'O', 'R', 'E', 0xD2, 0x04, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                           0xC0, 0x33, 0x40, 0, 0, 0, 0, 0, 0, 0x1D, 0x40})},
        EncodingRow{"EmptyHall", Direction::ServerToClient, {"HALL", {"NOMORE", "NOMORE"}},
                    Bytes({0x04, 'H', 'A', 'L', 'L', 0x06, 'N', 'O', 'M', 'O', 'R', 'E', 0x06, 'N', 'O', 'M', 'O', 'R',
                           'E'})},
        EncodingRow{"TopTenRowNamedInLowerCase", Direction::ServerToClient,
                    {"TOPTEN", {"nomore", -100, 2, 3.5, 1.0, "NOMORE"}},
                    Bytes({0x06, 'T', 'O', 'P', 'T', 'E', 'N', 0x06, 'n', 'o', 'm', 'o', 'r', 'e', 0x9C, 0xFF, 0xFF,
                           0xFF, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0C, 0x40, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0x06, 'N',
                           'O', 'M', 'O', 'R', 'E'})},
        EncodingRow{"PlayersList", Direction::ServerToClient, {"PLAYMESS", {"ann", "NOMORE"}},
                    Bytes({0x08, 'P', 'L', 'A', 'Y', 'M', 'E', 'S', 'S', 0x03, 'a', 'n', 'n', 0x06, 'N', 'O', 'M', 'O',
                           'R', 'E'})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CatalogueEncoding, LongStringsTakeTheLongerPrefixes)
{
    const struct {
        std::size_t length;
        std::string prefix;
    } rows[] = {{254, Bytes({0xFE})},
                {255, Bytes({0xFF, 0xFF, 0x00})},
                {65533, Bytes({0xFF, 0xFD, 0xFF})},
                {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
                {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})}};
    for (const auto& row : rows) {
        const std::string text(row.length, 'x');
        const std::string bytes = Encode(Direction::ServerToClient, {"RECMESS", {text}});
        EXPECT_EQ(bytes.substr(8, row.prefix.size()), row.prefix) << row.length;
        EXPECT_EQ(bytes.size(), 8 + row.prefix.size() + row.length);
    }
}

TEST(CatalogueDecoding, RejectsWhatNoContinuationCanMend)
{
    const struct {
        const char* name;
        std::string bytes;
        std::string error;
    } rows[] = {
        {"unknown word", Bytes({0x04, 'P', 'O', 'K', 'E'}), "unknown command word"},
        {"lower-case word", Bytes({0x04, 'p', 'e', 'e', 'k'}), "unknown command word"},
        {"string over the bound",
         Bytes({0x08, 'S', 'E', 'N', 'D', 'M', 'E', 'S', 'S', 0x03, 'a', 'n', 'n', 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x01, 0x00}),
         "SENDMESS text: a string is longer than this reader accepts"},
        {"wide after wide", Bytes({0x0B, 'S', 'E', 'N', 'D', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF}),
         "SENDPROFILE player name: a wide-string marker follows a wide-string marker"},
    };
    for (const auto& row : rows) {
        Message message;
        const auto result = Decode(Direction::ClientToServer, row.bytes, message, 65536);
        EXPECT_EQ(result.status, DecodeStatus::Invalid) << row.name;
        EXPECT_EQ(result.error, row.error) << row.name;
    }
}

TEST(CatalogueDecoding, AcceptsLongerPrefixFormsAndWideText)
{
    const std::string forms[] = {
        Bytes({0x05, 'h', 'e', 'l', 'l', 'o'}),
        Bytes({0xFF, 0x05, 0x00, 'h', 'e', 'l', 'l', 'o'}),
        Bytes({0xFF, 0xFF, 0xFF, 0x05, 0x00, 0x00, 0x00, 'h', 'e', 'l', 'l', 'o'}),
        Bytes({0xFF, 0xFE, 0xFF, 0x05, 'h', 0, 'e', 0, 'l', 0, 'l', 0, 'o', 0}),
        Bytes({0xFF, 0xFE, 0xFF, 0x06, 'h', 0, 'e', 0, 'l', 0, 'l', 0, 'o', 0, 0, 0}),  // ends at its zero unit
    };
    for (const std::string& form : forms) {
        Message message;
        ASSERT_EQ(Decode(Direction::ServerToClient, Bytes({0x07, 'R', 'E', 'C', 'M', 'E', 'S', 'S'}) + form, message, 64).status,
                  DecodeStatus::Complete);
        EXPECT_EQ(message.fields.at(0), wire::Field(std::string("hello")));
    }
}

TEST(CatalogueDecoding, TellsHowManyBytesAnIncompleteMessageNeedsAtLeast)
{
    const std::string bytes = Encode(Direction::ClientToServer, {"SENDMESS", {"ann", std::string(300, 'x')}});
    const struct {
        std::size_t have;
        std::size_t needed;
    } rows[] = {{0, 1}, {1, 9}, {9, 10}, {12, 13}, {14, 16}, {16, bytes.size()}, {bytes.size() - 1, bytes.size()}};
    for (const auto& row : rows) {
        Message message;
        const auto result = Decode(Direction::ClientToServer, bytes.substr(0, row.have), message, 65536);
        EXPECT_EQ(result.status, DecodeStatus::Incomplete) << row.have;
        EXPECT_EQ(result.needed, row.needed) << row.have;
    }
}

TEST(CatalogueEncoding, RefusesMessagesThatBreakTheirLayout)
{
    EXPECT_THROW(Encode(Direction::ClientToServer, {"SCORE", {1, 2, 3, 4.0}}), std::invalid_argument);
    EXPECT_THROW(Encode(Direction::ClientToServer, {"SCORE", {1, 2, 3, 4, 5.0}}), std::invalid_argument);
    EXPECT_THROW(Encode(Direction::ServerToClient, {"TOPTEN", {"ann", 1, 2, 3.0, 4.0}}), std::invalid_argument);
    EXPECT_THROW(Encode(Direction::ServerToClient, {"LOGIN", {}}), std::invalid_argument);
}

}  // namespace
