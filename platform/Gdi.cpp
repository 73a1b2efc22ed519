#include "platform/Gdi.h"

#include <algorithm>

#include "platform/DibDecoder.h"
#include "platform/qt/GdiObjects.h"

HPALETTE CreatePalette(const LOGPALETTE& logicalPalette) { return new GdiPalette{logicalPalette.palPalEntry}; }

UINT GetPaletteEntries(HPALETTE hPalette, UINT nStartIndex, UINT nEntries, PALETTEENTRY* pEntries)
{
    if (!hPalette)
        return 0;
    const auto size = static_cast<UINT>(hPalette->entries.size());
    if (!pEntries)
        return size;
    if (nStartIndex >= size)
        return 0;
    const UINT count = std::min(nEntries, size - nStartIndex);
    std::copy_n(hPalette->entries.begin() + nStartIndex, count, pEntries);
    return count;
}

HBITMAP CreateDIBitmap(CDC&, const BITMAPINFOHEADER& header, DWORD flInit, const void* bits, std::size_t bitsSize,
                       const RGBQUAD* colours, std::size_t colourCount, UINT)
{
    DecodedImage decoded;
    if (!DecodeDib(header, colours, colourCount, (flInit & CBM_INIT) ? static_cast<const std::uint8_t*>(bits) : nullptr,
                   bitsSize, decoded))
        return nullptr;
    QImage image(decoded.width, decoded.height, QImage::Format_RGB32);
    for (int y = 0; y < decoded.height; ++y)
        std::copy_n(decoded.pixels.data() + static_cast<std::size_t>(y) * decoded.width, decoded.width,
                    reinterpret_cast<std::uint32_t*>(image.scanLine(y)));
    return new GdiBitmap{std::move(image)};
}

BOOL GetBitmap(HBITMAP hBitmap, BITMAP* pInfo)
{
    if (!hBitmap)
        return FALSE;
    *pInfo = {hBitmap->image.width(), hBitmap->image.height()};
    return TRUE;
}

BOOL DeleteObject(HBITMAP hBitmap)
{
    delete hBitmap;
    return hBitmap != nullptr;
}

BOOL DeleteObject(HPALETTE hPalette)
{
    delete hPalette;
    return hPalette != nullptr;
}

QImage IconImageToQImage(const IconImage& icon)
{
    // The 16 colours of a 16-colour display, in their usual order.
    static constexpr QRgb kColours[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                          0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                          0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
    QImage image(icon.size, icon.size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < icon.size && y < static_cast<int>(icon.rows.size()); ++y) {
        const char* row = icon.rows[y];
        for (int x = 0; x < icon.size && row[x] != '\0'; ++x) {
            const char c = row[x];
            const int index = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (index >= 0)
                image.setPixel(x, y, kColours[index]);
        }
    }
    return image;
}
