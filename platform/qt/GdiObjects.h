// What the platform's drawing handles stand for.
#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>
#include <vector>

#include "platform/Gdi.h"
#include "platform/Resources.h"

struct GdiBitmap {
    QImage image;
};

struct GdiPalette {
    std::vector<PALETTEENTRY> entries;
};

struct GdiFont {
    QFont font;
};

struct GdiIcon {
    QIcon icon;
    QImage large;  // the 32 x 32 image
};

// An icon image of the resource table as a picture with transparency.
QImage IconImageToQImage(const IconImage& image);
