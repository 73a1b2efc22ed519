#include "platform/DibDecoder.h"

#include <cstdlib>

namespace {

// Larger pictures are refused rather than allocated: nothing the program shows is near this.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 16 * 1024 * 1024;

// Pixel data with bounds: bytes beyond the data read as zero.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t operator[](std::size_t i) const { return i < size ? data[i] : 0; }
};

class Canvas {
public:
    Canvas(DecodedImage& image, const RGBQUAD* colours, std::size_t colourCount, bool bottomUp)
        : m_image(image), m_colours(colours), m_colourCount(colourCount), m_bottomUp(bottomUp)
    {
    }

    // Row 0 is the first row in the file.
    void SetIndex(std::int64_t x, std::int64_t row, unsigned index)
    {
        const RGBQUAD c = index < m_colourCount ? m_colours[index] : RGBQUAD{0, 0, 0, 0};
        SetColour(x, row, c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
    void SetColour(std::int64_t x, std::int64_t row, unsigned red, unsigned green, unsigned blue)
    {
        if (x < 0 || x >= m_image.width || row < 0 || row >= m_image.height)
            return;
        const std::int64_t y = m_bottomUp ? m_image.height - 1 - row : row;
        m_image.pixels[y * m_image.width + x] = 0xFF000000u | (red << 16) | (green << 8) | blue;
    }

private:
    DecodedImage& m_image;
    const RGBQUAD* m_colours;
    std::size_t m_colourCount;
    bool m_bottomUp;
};

void DecodeUncompressed(const BITMAPINFOHEADER& header, const Bytes& bits, Canvas& canvas, int width, int height)
{
    const std::size_t stride = ((static_cast<std::size_t>(width) * header.biBitCount + 31) / 32) * 4;
    for (int row = 0; row < height; ++row) {
        const std::size_t start = row * stride;
        for (int x = 0; x < width; ++x) {
            switch (header.biBitCount) {
            case 1:
                canvas.SetIndex(x, row, (bits[start + x / 8] >> (7 - x % 8)) & 1);
                break;
            case 4:
                canvas.SetIndex(x, row, (bits[start + x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
                break;
            case 8:
                canvas.SetIndex(x, row, bits[start + x]);
                break;
            case 24:
                canvas.SetColour(x, row, bits[start + 3 * x + 2], bits[start + 3 * x + 1], bits[start + 3 * x]);
                break;
            case 32:
                canvas.SetColour(x, row, bits[start + 4 * x + 2], bits[start + 4 * x + 1], bits[start + 4 * x]);
                break;
            }
        }
    }
}

// Run-length encoded data: pairs (count, index) or escapes (0, code).
void DecodeRunLength(const Bytes& bits, Canvas& canvas, bool fourBits)
{
    std::int64_t x = 0;
    std::int64_t row = 0;
    std::size_t at = 0;
    while (at + 1 < bits.size) {
        const unsigned count = bits[at];
        const unsigned value = bits[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i, ++x)
                canvas.SetIndex(x, row, fourBits ? (i % 2 ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            return;
        } else if (value == 2) {  // move right and up
            x += bits[at];
            row += bits[at + 1];
            at += 2;
        } else {  // `value` literal pixels, padded to a 16-bit boundary
            const std::size_t literalBytes = fourBits ? (value + 1) / 2 : value;
            for (unsigned i = 0; i < value; ++i, ++x) {
                const std::uint8_t byte = bits[at + (fourBits ? i / 2 : i)];
                canvas.SetIndex(x, row, fourBits ? (i % 2 ? byte & 0xF : byte >> 4) : byte);
            }
            at += (literalBytes + 1) & ~std::size_t{1};
        }
    }
}

}  // namespace

bool DecodeDib(const BITMAPINFOHEADER& header, const RGBQUAD* colours, std::size_t colourCount,
               const std::uint8_t* bits, std::size_t bitsSize, DecodedImage& image)
{
    const std::int64_t width = header.biWidth;
    const std::int64_t height = std::llabs(static_cast<std::int64_t>(header.biHeight));
    const bool bottomUp = header.biHeight > 0;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return false;

    const unsigned depth = header.biBitCount;
    const bool uncompressed =
        header.biCompression == BI_RGB && (depth == 1 || depth == 4 || depth == 8 || depth == 24 || depth == 32);
    const bool rle8 = header.biCompression == BI_RLE8 && depth == 8 && bottomUp;
    const bool rle4 = header.biCompression == BI_RLE4 && depth == 4 && bottomUp;
    if (!uncompressed && !rle8 && !rle4)
        return false;

    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.assign(static_cast<std::size_t>(width * height), 0xFF000000u);
    Canvas canvas(image, colours, colourCount, bottomUp);
    const Bytes data{bits, bits ? bitsSize : 0};
    if (uncompressed)
        DecodeUncompressed(header, data, canvas, image.width, image.height);
    else
        DecodeRunLength(data, canvas, rle4);
    return true;
}
