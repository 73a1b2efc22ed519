#include "screen/Picture.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/CClientDC.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kLargestInfoHeaderSize = 124;
constexpr WORD kPaletteVersion = 0x300;
// A colour table beyond this is not a picture's; such a file is treated as unreadable.
constexpr DWORD kMaxColours = 4096;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

DWORD ReadDword(const unsigned char* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<DWORD>(bytes[3]) << 24);
}

DWORD ColourCount(const BITMAPINFOHEADER& info)
{
    if (info.biClrUsed != 0)
        return info.biClrUsed;
    switch (info.biBitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;  // direct colour: no table, no palette
    }
}

long FileSize(std::FILE* file)
{
    std::fseek(file, 0, SEEK_END);
    return std::ftell(file);
}

}  // namespace

Picture LoadPicture(CWnd* window, const char* fileName)
{
    File file(std::fopen(fileName, "rb"));
    if (!file)
        return {};
    unsigned char fileHeader[kFileHeaderSize];
    BITMAPINFOHEADER info;
    if (std::fread(fileHeader, 1, sizeof fileHeader, file.get()) != sizeof fileHeader ||
        std::fread(&info, 1, kInfoHeaderSize, file.get()) != kInfoHeaderSize)
        return {};
    const DWORD fileSize = ReadDword(fileHeader + 2);
    const DWORD pixelOffset = ReadDword(fileHeader + 10);
    const DWORD colourCount = ColourCount(info);
    if (colourCount > kMaxColours)
        return {};

    // The colour table follows the information header; entries the file lacks stay black.
    if (info.biSize > kInfoHeaderSize && info.biSize <= kLargestInfoHeaderSize)
        std::fseek(file.get(), static_cast<long>(kFileHeaderSize + info.biSize), SEEK_SET);
    std::vector<RGBQUAD> colours(colourCount, RGBQUAD{0, 0, 0, 0});
    for (RGBQUAD& colour : colours)
        if (std::fread(&colour, 1, sizeof colour, file.get()) != sizeof colour)
            break;

    HPALETTE palette = nullptr;
    if (colourCount > 0) {
        LOGPALETTE logical{kPaletteVersion, std::vector<PALETTEENTRY>(colourCount)};
        for (std::size_t i = 0; i < colours.size(); ++i)
            logical.palPalEntry[i] = {colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
        palette = CreatePalette(logical);
    }

    // The pixel data: bfSize bytes from bfOffBits, zero where the file ends first. Only what
    // the file can hold is allocated; the decoder reads the rest as zero.
    const long available = FileSize(file.get()) - static_cast<long>(pixelOffset);
    std::vector<unsigned char> pixels(std::min<std::size_t>(fileSize, available > 0 ? available : 0));
    std::fseek(file.get(), static_cast<long>(pixelOffset), SEEK_SET);
    pixels.resize(std::fread(pixels.data(), 1, pixels.size(), file.get()));
    file.reset();

    CClientDC dc(window);
    HPALETTE previous = dc.SelectPalette(palette, FALSE);
    dc.RealizePalette();
    HBITMAP bitmap = CreateDIBitmap(dc, info, CBM_INIT, pixels.data(), pixels.size(), colours.data(), colours.size(),
                                    DIB_RGB_COLORS);
    dc.SelectPalette(previous, FALSE);
    return {bitmap, palette};
}
