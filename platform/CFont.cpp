#include "platform/CFont.h"

#include "platform/qt/GdiObjects.h"
#include "platform/qt/QtText.h"

CFont::~CFont() { DeleteObject(); }

BOOL CFont::CreatePointFont(int nPointSize, const char* lpszFaceName, CDC*)
{
    DeleteObject();
    QFont font(ToQString(lpszFaceName));
    // The character height in pixels, rounded as the platform rounds it: 14 points are 19 pixels.
    font.setPixelSize((nPointSize * 96 + 360) / 720);
    m_hObject = new GdiFont{font};
    return TRUE;
}

BOOL CFont::DeleteObject()
{
    const bool had = m_hObject != nullptr;
    delete m_hObject;
    m_hObject = nullptr;
    return had;
}
