#pragma once

#include "platform/Gdi.h"

class CWnd;

// A picture loaded from a BMP file: a bitmap ready for copying to the screen and the palette
// made from the file's colour table. Either may be missing; an empty picture has neither.
struct Picture {
    HBITMAP hBitmap = nullptr;
    HPALETTE hPalette = nullptr;
};

// Reads one BMP file of the working directory; an empty picture when it cannot be read.
Picture LoadPicture(CWnd* window, const char* fileName);
