#include "platform/CClientDC.h"

#include <QPainter>

#include "platform/CWnd.h"
#include "platform/qt/WindowWidget.h"

CClientDC::CClientDC(CWnd* pWnd) : m_pWnd(pWnd)
{
    if (auto* window = qobject_cast<WindowWidget*>(pWnd ? pWnd->Widget() : nullptr))
        m_pPainter = new QPainter(&window->BackingImage());
}

CClientDC::~CClientDC()
{
    delete m_pPainter;
    if (m_pWnd && m_pWnd->Widget())
        m_pWnd->Widget()->update();
}
