// Pictures as the game window loads them: palettes from the colour table, bitmaps decoded
// from every form the platform knows, and files that are short, cut or odd.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/qt/GdiObjects.h"
#include "screen/Picture.h"
#include "tests/support/FtpServer.h"

namespace {

namespace fs = std::filesystem;

struct Bmp {
    int width = 2;
    int height = 2;  // negative: top-down
    int bits = 8;
    DWORD compression = BI_RGB;
    DWORD colorsUsed = 0;
    std::vector<RGBQUAD> table;
    std::string pixels;
    std::size_t tableEntriesWritten = SIZE_MAX;  // fewer: the file ends inside the table
    DWORD fileSize = 0;                          // 0: the real size
    const char* signature = "BM";
};

void Put32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(v >> (8 * i));
}
void Put16(std::string& out, std::uint16_t v)
{
    out += static_cast<char>(v);
    out += static_cast<char>(v >> 8);
}

std::string Encode(const Bmp& bmp)
{
    const std::size_t entries = std::min(bmp.tableEntriesWritten, bmp.table.size());
    const std::uint32_t offset = 54 + 4 * static_cast<std::uint32_t>(bmp.table.size());
    std::string info;
    Put32(info, 40);
    Put32(info, static_cast<std::uint32_t>(bmp.width));
    Put32(info, static_cast<std::uint32_t>(bmp.height));
    Put16(info, 1);
    Put16(info, static_cast<std::uint16_t>(bmp.bits));
    Put32(info, bmp.compression);
    Put32(info, static_cast<std::uint32_t>(bmp.pixels.size()));
    Put32(info, 3780);
    Put32(info, 3780);
    Put32(info, bmp.colorsUsed);
    Put32(info, 0);
    std::string table;
    for (std::size_t i = 0; i < entries; ++i)
        table += std::string{static_cast<char>(bmp.table[i].rgbBlue), static_cast<char>(bmp.table[i].rgbGreen),
                             static_cast<char>(bmp.table[i].rgbRed), 0};
    const bool cut = entries < bmp.table.size();
    std::string file = bmp.signature;
    Put32(file, bmp.fileSize ? bmp.fileSize : offset + static_cast<std::uint32_t>(bmp.pixels.size()));
    Put32(file, 0);
    Put32(file, offset);
    return file + info + table + (cut ? std::string() : bmp.pixels);
}

Picture Load(const std::string& bytes)
{
    const std::string path = test_support::MakeTempFolder() + "/PICTURE.BMP";
    test_support::WriteTextFile(path, bytes);
    return LoadPicture(nullptr, path.c_str());
}

std::vector<PALETTEENTRY> Entries(HPALETTE palette)
{
    std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
    GetPaletteEntries(palette, 0, static_cast<UINT>(entries.size()), entries.data());
    return entries;
}

std::vector<RGBQUAD> Gradient(int count)
{
    std::vector<RGBQUAD> table;
    for (int i = 0; i < count; ++i)
        table.push_back({static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 3), 0});
    return table;
}

// Pixels of a bitmap, row by row from the top, as 0xRRGGBB.
std::vector<unsigned> Pixels(const Picture& picture)
{
    std::vector<unsigned> pixels;
    const QImage& image = picture.hBitmap->image;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels.push_back(image.pixel(x, y) & 0xFFFFFF);
    return pixels;
}

// A 4-colour table: red, green, blue, white.
const std::vector<RGBQUAD> kFour = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {255, 255, 255, 0}};
constexpr unsigned R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0x000000;

std::string Raw(std::initializer_list<int> bytes)
{
    std::string out;
    for (int b : bytes)
        out += static_cast<char>(b);
    return out;
}

TEST(Picture, PaletteHasTheColourCountOfTheFile)
{
    const struct {
        const char* name;
        int bits;
        DWORD colorsUsed;
        std::size_t expected;
    } rows[] = {{"8 bits, count 0", 8, 0, 256}, {"8 bits, count 17", 8, 17, 17}, {"4 bits", 4, 0, 16}, {"1 bit", 1, 0, 2}};
    for (const auto& row : rows) {
        Bmp bmp;
        bmp.bits = row.bits;
        bmp.colorsUsed = row.colorsUsed;
        bmp.table = Gradient(static_cast<int>(row.expected));
        bmp.pixels = std::string(8, '\0');
        const Picture picture = Load(Encode(bmp));
        const auto entries = Entries(picture.hPalette);
        ASSERT_EQ(entries.size(), row.expected) << row.name;
        // Each entry is the file's blue-green-red entry in red-green-blue order.
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].peRed, bmp.table[i].rgbRed) << row.name << " " << i;
            EXPECT_EQ(entries[i].peGreen, bmp.table[i].rgbGreen);
            EXPECT_EQ(entries[i].peBlue, bmp.table[i].rgbBlue);
            EXPECT_EQ(entries[i].peFlags, 0);
        }
        EXPECT_NE(picture.hBitmap, nullptr) << row.name;
    }
}

TEST(Picture, ATableCutShortLeavesTheRestBlack)
{
    Bmp bmp;
    bmp.bits = 4;
    bmp.table = Gradient(16);
    bmp.tableEntriesWritten = 10;
    const auto entries = Entries(Load(Encode(bmp)).hPalette);
    ASSERT_EQ(entries.size(), 16u);
    EXPECT_EQ(entries[9].peGreen, 246);
    for (std::size_t i = 10; i < 16; ++i)
        EXPECT_TRUE(entries[i].peRed == 0 && entries[i].peGreen == 0 && entries[i].peBlue == 0) << i;
}

TEST(Picture, ShortOrMissingFilesGiveAnEmptyPicture)
{
    Bmp bmp;
    bmp.table = kFour;
    bmp.pixels = std::string(8, '\0');
    for (const std::string& bytes : {Encode(bmp).substr(0, 53), Encode(bmp).substr(0, 13), std::string()}) {
        const Picture picture = Load(bytes);
        EXPECT_EQ(picture.hBitmap, nullptr) << bytes.size();
        EXPECT_EQ(picture.hPalette, nullptr) << bytes.size();
    }
    const Picture missing = LoadPicture(nullptr, "/nonexistent/NONE.BMP");
    EXPECT_EQ(missing.hBitmap, nullptr);
    EXPECT_EQ(missing.hPalette, nullptr);
}

TEST(Picture, DecodesEveryKnownForm)
{
    // Each image is 2 x 2: top row red, green; bottom row blue, white.
    const struct {
        const char* name;
        int bits;
        int height;
        DWORD compression;
        std::string pixels;
    } rows[] = {
        {"8 bits bottom-up", 8, 2, BI_RGB, Raw({2, 3, 0, 0, 0, 1, 0, 0})},
        {"8 bits top-down", 8, -2, BI_RGB, Raw({0, 1, 0, 0, 2, 3, 0, 0})},
        {"4 bits", 4, 2, BI_RGB, Raw({0x23, 0, 0, 0, 0x01, 0, 0, 0})},
        {"1 bit", 1, 2, BI_RGB, Raw({0x40, 0, 0, 0, 0x80, 0, 0, 0})},
        {"24 bits", 24, 2, BI_RGB, Raw({255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0})},
        {"32 bits", 32, 2, BI_RGB, Raw({255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0})},
        // Runs of one, a line end, the end mark.
        {"RLE8", 8, 2, BI_RLE8, Raw({1, 2, 1, 3, 0, 0, 1, 0, 1, 1, 0, 1})},
        {"RLE4", 4, 2, BI_RLE4, Raw({2, 0x23, 0, 0, 2, 0x01, 0, 1})},
    };
    for (const auto& row : rows) {
        Bmp bmp;
        bmp.bits = row.bits;
        bmp.height = row.height;
        bmp.compression = row.compression;
        bmp.table = row.bits == 1 ? std::vector<RGBQUAD>{kFour[2], kFour[3]} : kFour;
        bmp.colorsUsed = static_cast<DWORD>(bmp.table.size());
        bmp.pixels = row.pixels;
        if (row.bits > 8)
            bmp.table.clear(), bmp.colorsUsed = 0;
        const Picture picture = Load(Encode(bmp));
        ASSERT_NE(picture.hBitmap, nullptr) << row.name;
        const std::vector<unsigned> expected =
            row.bits == 1 ? std::vector<unsigned>{W, B, B, W} : std::vector<unsigned>{R, G, B, W};
        EXPECT_EQ(Pixels(picture), expected) << row.name;
    }
}

TEST(Picture, RunLengthEscapesMoveAndCopyLiterally)
{
    Bmp bmp;
    bmp.width = 3;
    bmp.height = 2;
    bmp.compression = BI_RLE8;
    bmp.table = kFour;
    bmp.colorsUsed = 4;
    // Bottom row: three literal pixels (padded to a word); a line end; a move right by two;
    // one white pixel. What no code reaches stays black.
    bmp.pixels = Raw({0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 0, 1, 3, 0, 1});
    EXPECT_EQ(Pixels(Load(Encode(bmp))), (std::vector<unsigned>{K, K, W, G, B, W}));
}

TEST(Picture, AnUnknownFormKeepsItsPaletteAndHasNoBitmap)
{
    Bmp bmp;
    bmp.bits = 16;
    bmp.colorsUsed = 2;
    bmp.table = Gradient(2);
    bmp.pixels = std::string(8, '\x7F');
    const Picture picture = Load(Encode(bmp));
    EXPECT_EQ(picture.hBitmap, nullptr);
    EXPECT_EQ(Entries(picture.hPalette).size(), 2u);
}

TEST(Picture, PixelDataBeyondTheStatedSizeOrTheFileReadsAsZero)
{
    Bmp bmp;
    bmp.width = 2;
    bmp.height = 4;
    bmp.table = kFour;
    bmp.colorsUsed = 4;
    bmp.pixels = Raw({3, 3, 0, 0, 3, 3, 0, 0, 3, 3, 0, 0, 3, 3, 0, 0});
    bmp.fileSize = 8;  // the pixel buffer is the stated file size: here only the two bottom rows
    bmp.signature = "XY";        // the signature is not examined
    const Picture picture = Load(Encode(bmp));
    ASSERT_NE(picture.hBitmap, nullptr);
    EXPECT_EQ(Pixels(picture), (std::vector<unsigned>{R, R, R, R, W, W, W, W}));

    bmp.fileSize = 0;
    bmp.pixels = Raw({3, 3, 0, 0});  // the file ends after one row
    EXPECT_EQ(Pixels(Load(Encode(bmp))), (std::vector<unsigned>{R, R, R, R, R, R, W, W}));
}

TEST(Picture, AbsurdSizesAreRefusedNotAllocated)
{
    Bmp bmp;
    bmp.width = 1 << 30;
    bmp.height = 1 << 30;
    bmp.table = kFour;
    EXPECT_EQ(Load(Encode(bmp)).hBitmap, nullptr);
    bmp.width = 2;
    bmp.height = 2;
    bmp.colorsUsed = 0x7FFFFFFF;
    EXPECT_EQ(Load(Encode(bmp)).hPalette, nullptr);
}

TEST(Picture, TheGamePicturesAllLoad)
{
    for (const char* name : {"BACK.BMP", "MOVIES.BMP", "GEOGRAPH.BMP", "HISTORY.BMP", "SPORTS.BMP", "BUSINESS.BMP", "WINNER.BMP"}) {
        const Picture picture = LoadPicture(nullptr, (fs::path(VANTIX_SOURCE_DIR) / "data" / name).c_str());
        ASSERT_NE(picture.hBitmap, nullptr) << name;
        EXPECT_NE(picture.hPalette, nullptr) << name;
        EXPECT_GE(picture.hBitmap->image.width(), 64) << name;
    }
}

}  // namespace
