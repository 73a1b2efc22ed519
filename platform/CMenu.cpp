#include "platform/CMenu.h"

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const std::string& text)
{
    m_entries.push_back({nFlags, nIDNewItem, text});
    return TRUE;
}
