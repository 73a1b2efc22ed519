// Drawing objects: bitmaps made from device-independent bitmap data, palettes, and the
// structures of the BMP format they are made from.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/AfxTypes.h"

class CDC;
struct GdiBitmap;
struct GdiPalette;
using HBITMAP = GdiBitmap*;
using HPALETTE = GdiPalette*;

struct BITMAPINFOHEADER {
    DWORD biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;  // negative: rows run top-down
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "the information header is 40 bytes in the file");

struct RGBQUAD {
    BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};

struct PALETTEENTRY {
    BYTE peRed, peGreen, peBlue, peFlags;
};

struct LOGPALETTE {
    WORD palVersion;
    std::vector<PALETTEENTRY> palPalEntry;
};

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD CBM_INIT = 4;
constexpr UINT DIB_RGB_COLORS = 0;

HPALETTE CreatePalette(const LOGPALETTE& logicalPalette);

// Copies up to nEntries entries from nStartIndex into pEntries and returns how many it
// copied; with pEntries null, returns the palette's number of entries.
UINT GetPaletteEntries(HPALETTE hPalette, UINT nStartIndex, UINT nEntries, PALETTEENTRY* pEntries);

// A device-dependent bitmap for the context, from the header, the pixel data (bitsSize bytes;
// missing bytes count as zero) and the colour table. Decodes 1, 4 and 8 bits per pixel
// (uncompressed, RLE8, RLE4) and 24 and 32 bits uncompressed, rows bottom-up or top-down;
// returns null for any other form.
HBITMAP CreateDIBitmap(CDC& dc, const BITMAPINFOHEADER& header, DWORD flInit, const void* bits, std::size_t bitsSize,
                       const RGBQUAD* colours, std::size_t colourCount, UINT usage);

struct BITMAP {
    int bmWidth;
    int bmHeight;
};
BOOL GetBitmap(HBITMAP hBitmap, BITMAP* pInfo);

BOOL DeleteObject(HBITMAP hBitmap);
BOOL DeleteObject(HPALETTE hPalette);
