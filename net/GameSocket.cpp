#include "net/GameSocket.h"

#include <string>

#include "app/GameDlg.h"
#include "platform/Afx.h"
#include "platform/CArchive.h"
#include "platform/CSocketFile.h"

namespace {

struct Route {
    const char* word;
    void (CGameSocket::*handle)(CArchive& reader, CArchive& reply);
};

}  // namespace

CGameSocket::~CGameSocket() { delete m_pFile; }

void CGameSocket::OnReceive(int)
{
    // The words in the order they are compared.
    static const Route kRoutes[] = {
        {"RECPROFILE", &CGameSocket::OnProfile},
        {"BADVERSION", &CGameSocket::OnBadVersion},
    };

    CArchive reader(m_pFile, CArchive::load);
    CArchive reply(m_pFile, CArchive::store);
    bool framed = false;
    try {
        std::string word;
        reader >> word;
        for (const Route& route : kRoutes) {
            if (word == route.word) {
                (this->*route.handle)(reader, reply);
                framed = true;
                break;
            }
        }
    } catch (...) {
        reply.Close();
        throw;
    }
    reply.Close();
    if (framed) {
        reader.Close();  // the bytes behind this message stay for the next dispatch
    } else {
        // Without its layout the message cannot be framed: drop everything received so far.
        reader.Abort();
        m_pFile->DiscardUnread();
    }
}

void CGameSocket::OnProfile(CArchive& reader, CArchive&)
{
    // No messaging window is open to show it; read it whole so that the stream stays framed.
    std::string text;
    std::int32_t number;
    for (int i = 0; i < 6; ++i)
        reader >> text;
    for (int i = 0; i < 3; ++i)
        reader >> number;
}

void CGameSocket::OnBadVersion(CArchive&, CArchive&)
{
    AfxMessageBox("Please download the newest client software.");
    m_pGameDlg->EndDialog(IDOK);
}
