// Message tables: each window class binds window events and control ids to its handler
// methods in one table, which chains to its base class's table.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/AfxTypes.h"

class CWnd;

enum class MessageKind { Command, SysCommand, Paint, Timer, Char };

struct WindowMessage {
    MessageKind kind;
    UINT id = 0;         // Command: control id; SysCommand: command; Timer: timer id; Char: character
    LPARAM lParam = 0;   // SysCommand: the parameter word; Char: the repeat count
};

struct MessageEntry {
    MessageKind kind;
    UINT id;  // the control id of a Command entry; unused otherwise
    std::function<void(CWnd&, const WindowMessage&)> handle;
};

struct MessageMap {
    const MessageMap* base;
    std::vector<MessageEntry> entries;

    // The entry for the message in this table or the nearest base table; null if none.
    const MessageEntry* Find(const WindowMessage& message) const;
};

namespace message_entries {

template <class T>
MessageEntry Command(UINT id, void (T::*handler)())
{
    return {MessageKind::Command, id, [handler](CWnd& w, const WindowMessage&) { (static_cast<T&>(w).*handler)(); }};
}

template <class T>
MessageEntry SysCommand(void (T::*handler)(UINT, LPARAM))
{
    return {MessageKind::SysCommand, 0,
            [handler](CWnd& w, const WindowMessage& m) { (static_cast<T&>(w).*handler)(m.id, m.lParam); }};
}

template <class T>
MessageEntry Paint(void (T::*handler)())
{
    return {MessageKind::Paint, 0, [handler](CWnd& w, const WindowMessage&) { (static_cast<T&>(w).*handler)(); }};
}

template <class T>
MessageEntry Timer(void (T::*handler)(UINT))
{
    return {MessageKind::Timer, 0, [handler](CWnd& w, const WindowMessage& m) { (static_cast<T&>(w).*handler)(m.id); }};
}

template <class T>
MessageEntry Char(void (T::*handler)(UINT, UINT, UINT))
{
    return {MessageKind::Char, 0,
            [handler](CWnd& w, const WindowMessage& m) { (static_cast<T&>(w).*handler)(m.id, static_cast<UINT>(m.lParam), 0); }};
}

}  // namespace message_entries

#define DECLARE_MESSAGE_MAP() \
protected:                    \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)           \
    const MessageMap* theClass::GetMessageMap() const    \
    {                                                    \
        using ThisClass = theClass;                      \
        static const MessageMap map{baseClass::GetMessageMap(), {
#define END_MESSAGE_MAP() \
    }                     \
    }                     \
    ;                     \
    return &map;          \
    }

#define ON_COMMAND(id, memberFxn) message_entries::Command(id, &ThisClass::memberFxn),
#define ON_BN_CLICKED(id, memberFxn) message_entries::Command(id, &ThisClass::memberFxn),
#define ON_WM_SYSCOMMAND() message_entries::SysCommand(&ThisClass::OnSysCommand),
#define ON_WM_PAINT() message_entries::Paint(&ThisClass::OnPaint),
#define ON_WM_TIMER() message_entries::Timer(&ThisClass::OnTimer),
#define ON_WM_CHAR() message_entries::Char(&ThisClass::OnChar),
