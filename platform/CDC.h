#pragma once

#include "platform/AfxTypes.h"
#include "platform/Gdi.h"

class CFont;
class QPainter;

struct TEXTMETRIC {
    int tmHeight;   // ascent plus descent
    int tmAscent;
    int tmDescent;
    int tmAveCharWidth;
};

// A drawing context: the fonts and palette selected into it, and what it draws on.
class CDC {
public:
    CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    // Selects the font and returns the one selected before (null: the context's own font).
    CFont* SelectObject(CFont* pFont);
    BOOL GetTextMetrics(TEXTMETRIC* pMetrics) const;

    // Palettes have no visible effect on a true-colour display; the context only keeps the
    // selection so that it can be restored.
    HPALETTE SelectPalette(HPALETTE hPalette, BOOL bForceBackground);
    UINT RealizePalette();

protected:
    QPainter* m_pPainter = nullptr;

private:
    CFont* m_pFont = nullptr;
    HPALETTE m_hPalette = nullptr;
};
