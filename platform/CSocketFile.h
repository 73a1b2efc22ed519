#pragma once

#include "platform/CFile.h"
#include "platform/CSocket.h"

// The byte stream of a connected socket, for archives. Each read is one receive.
class CSocketFile : public CFile {
public:
    explicit CSocketFile(CSocket* pSocket, BOOL bArchiveCompatible = TRUE);

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    void ReturnUnread(const char* bytes, std::size_t count) override { m_pSocket->Unreceive(bytes, count); }
    void DiscardUnread() override { m_pSocket->DiscardUnreceived(); }

private:
    CSocket* m_pSocket;
};
