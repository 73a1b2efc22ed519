#pragma once

#include "platform/CDC.h"

class CWnd;

// A drawing context on a window's client area. It draws into the window's backing image;
// when it is released the window shows what was drawn.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

private:
    CWnd* m_pWnd;
};
