// The basic types, identifiers and flags of the platform layer.
#pragma once

#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT_PTR = std::intptr_t;
using LPARAM = std::intptr_t;
using COLORREF = std::uint32_t;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

// Dialog results and the identifiers of the standard buttons.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// Message box styles.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_ICONSTOP = 0x0010;

// System commands (the low four bits of a command are the platform's own).
constexpr UINT SC_MINIMIZE = 0xF020;
constexpr UINT SC_CLOSE = 0xF060;
constexpr UINT SC_RESTORE = 0xF120;

// Menu entry flags.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;

// Socket types and the notification mask of a socket.
constexpr int SOCK_STREAM_TYPE = 1;
constexpr long FD_READ = 0x01;
constexpr long FD_WRITE = 0x02;
constexpr long FD_OOB = 0x04;
constexpr long FD_ACCEPT = 0x08;
constexpr long FD_CONNECT = 0x10;
constexpr long FD_CLOSE = 0x20;

constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue)
{
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) | (static_cast<COLORREF>(blue) << 16);
}
constexpr BYTE GetRValue(COLORREF color) { return static_cast<BYTE>(color); }
constexpr BYTE GetGValue(COLORREF color) { return static_cast<BYTE>(color >> 8); }
constexpr BYTE GetBValue(COLORREF color) { return static_cast<BYTE>(color >> 16); }
