#pragma once

#include <string>
#include <vector>

#include "platform/AfxTypes.h"

// A menu: a list of entries, each a command id with its text, or a separator.
class CMenu {
public:
    struct Entry {
        UINT flags;
        UINT id;
        std::string text;
    };

    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, const std::string& text = {});
    const std::vector<Entry>& Entries() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
};
