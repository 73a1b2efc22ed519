// Decoding of device-independent bitmap pixel data into 32-bit colour pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Gdi.h"

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, rows top-down
};

// False for a form the decoder does not know, or for absurd sizes.
bool DecodeDib(const BITMAPINFOHEADER& header, const RGBQUAD* colours, std::size_t colourCount,
               const std::uint8_t* bits, std::size_t bitsSize, DecodedImage& image);
