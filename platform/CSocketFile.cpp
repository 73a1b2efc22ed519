#include "platform/CSocketFile.h"

#include "platform/CFileException.h"

CSocketFile::CSocketFile(CSocket* pSocket, BOOL) : m_pSocket(pSocket) {}

UINT CSocketFile::Read(void* buffer, UINT count)
{
    const int received = m_pSocket->Receive(buffer, static_cast<int>(count));
    if (received < 0)
        throw CFileException(m_pSocket->GetLastError());
    return static_cast<UINT>(received);
}

void CSocketFile::Write(const void* buffer, UINT count)
{
    if (m_pSocket->Send(buffer, static_cast<int>(count)) < 0)
        throw CFileException(m_pSocket->GetLastError());
}
