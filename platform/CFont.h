#pragma once

#include "platform/AfxTypes.h"

class CDC;
struct GdiFont;

// A font of a given face and size.
class CFont {
public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    ~CFont();

    // A font of the face at nPointSize tenths of a point, for a 96 dpi screen.
    BOOL CreatePointFont(int nPointSize, const char* lpszFaceName, CDC* pDC = nullptr);
    BOOL DeleteObject();

    GdiFont* m_hObject = nullptr;
};
