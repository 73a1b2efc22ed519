// Resource and control identifiers.
#pragma once

constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDS_ABOUTBOX = 101;
constexpr unsigned IDD_GAME_DIALOG = 102;
constexpr unsigned IDP_SOCKETS_INIT_FAILED = 103;
constexpr unsigned IDS_CONNECT_FAILED = 104;
constexpr unsigned IDR_MAINFRAME = 128;
constexpr unsigned IDD_LOGIN = 129;

// The system command of the About entry.
constexpr unsigned IDM_ABOUTBOX = 0x0010;

// Login prompt.
constexpr int IDC_NAME = 1000;
constexpr int IDC_PASSWORD = 1001;
constexpr int IDC_SERVER = 1009;

// Game window buttons.
constexpr int IDC_TOPTEN = 1020;
constexpr int IDC_HALLOFFAME = 1021;
constexpr int IDC_MESSAGE = 1022;
constexpr int IDC_PEEK = 1026;
constexpr int IDC_NEWQUESTION = 1042;
