#include "platform/CDC.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include "platform/CFont.h"
#include "platform/qt/GdiObjects.h"

CDC::CDC() = default;

CDC::~CDC() = default;

CFont* CDC::SelectObject(CFont* pFont)
{
    CFont* previous = m_pFont;
    m_pFont = pFont;
    if (m_pPainter)
        m_pPainter->setFont(pFont && pFont->m_hObject ? pFont->m_hObject->font : QApplication::font());
    return previous;
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* pMetrics) const
{
    const QFont font = m_pFont && m_pFont->m_hObject ? m_pFont->m_hObject->font : QApplication::font();
    const QFontMetrics metrics(font);
    *pMetrics = {metrics.ascent() + metrics.descent(), metrics.ascent(), metrics.descent(),
                 metrics.averageCharWidth()};
    return TRUE;
}

HPALETTE CDC::SelectPalette(HPALETTE hPalette, BOOL)
{
    HPALETTE previous = m_hPalette;
    m_hPalette = hPalette;
    return previous;
}

UINT CDC::RealizePalette() { return m_hPalette ? static_cast<UINT>(m_hPalette->entries.size()) : 0; }
