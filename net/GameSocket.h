#pragma once

#include "platform/CSocket.h"

class CArchive;
class CGameDlg;
class CSocketFile;

// The connection to the game server. Each notification of arrived data is one dispatch:
// a reader and a reply writer are opened, one message's command word is read, and the
// message goes to its handler.
class CGameSocket : public CSocket {
public:
    ~CGameSocket() override;

    void OnReceive(int nErrorCode) override;

    CSocketFile* m_pFile = nullptr;
    CGameDlg* m_pGameDlg = nullptr;

private:
    // Handlers, each given the reader positioned after the command word, and the reply writer.
    void OnProfile(CArchive& reader, CArchive& reply);
    void OnBadVersion(CArchive& reader, CArchive& reply);
};
