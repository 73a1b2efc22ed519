#include "platform/CArchive.h"

#include <algorithm>
#include <cstring>

#include "platform/ArchiveFormat.h"
#include "platform/CArchiveException.h"

namespace {

std::vector<CArchive*>& OpenReaders()
{
    static std::vector<CArchive*> readers;
    return readers;
}

}  // namespace

struct CArchive::ElementSource {
    CArchive& archive;
    std::uint8_t ReadU8() { return archive.ReadElement<std::uint8_t>(); }
    std::uint16_t ReadU16() { return archive.ReadElement<std::uint16_t>(); }
    std::uint32_t ReadU32() { return archive.ReadElement<std::uint32_t>(); }
    void ReadBytes(char* destination, std::size_t count) { archive.ReadBytes(destination, count); }
    [[noreturn]] void Reject(const char* reason) { throw CArchiveException(CArchiveException::endOfFile, reason); }
};

struct CArchive::ElementSink {
    CArchive& archive;
    void WriteU8(std::uint8_t value) { archive.WriteElement(value); }
    void WriteU16(std::uint16_t value) { archive.WriteElement(value); }
    void WriteU32(std::uint32_t value) { archive.WriteElement(value); }
    void WriteBytes(const char* source, std::size_t count) { archive.WriteBytes(source, count); }
};

CArchive::CArchive(CFile* pFile, UINT nMode, UINT nBufSize) : m_pFile(pFile), m_nMode(nMode), m_buffer(nBufSize)
{
    if (IsLoading())
        OpenReaders().push_back(this);
}

CArchive::~CArchive() { Detach(); }

void CArchive::Detach()
{
    if (IsLoading())
        std::erase(OpenReaders(), this);
    m_pFile = nullptr;
    m_nPosition = m_nEnd = 0;
}

void CArchive::Close()
{
    if (!m_pFile)
        return;
    if (IsLoading()) {
        if (Unread() > 0)
            m_pFile->ReturnUnread(m_buffer.data() + m_nPosition, Unread());
    } else {
        FlushBuffer();
    }
    Detach();
}

void CArchive::Abort() { Detach(); }

void CArchive::ReturnReadAheadOfOpenReaders()
{
    // Newest first: each gives back in front of what the later ones gave, keeping stream order.
    auto& readers = OpenReaders();
    for (auto it = readers.rbegin(); it != readers.rend(); ++it) {
        CArchive& reader = **it;
        if (reader.m_pFile && reader.Unread() > 0)
            reader.m_pFile->ReturnUnread(reader.m_buffer.data() + reader.m_nPosition, reader.Unread());
        reader.m_nPosition = reader.m_nEnd = 0;
    }
}

CFile& CArchive::File() const
{
    if (!m_pFile)
        throw CArchiveException(CArchiveException::endOfFile, "the archive is closed");
    return *m_pFile;
}

bool CArchive::FillBuffer(std::size_t needed)
{
    CFile& file = File();
    std::memmove(m_buffer.data(), m_buffer.data() + m_nPosition, Unread());
    m_nEnd = Unread();
    m_nPosition = 0;
    while (m_nEnd < needed) {
        const UINT received = file.Read(m_buffer.data() + m_nEnd, static_cast<UINT>(m_buffer.size() - m_nEnd));
        if (received == 0)
            return false;
        m_nEnd += received;
    }
    return true;
}

template <class T>
T CArchive::ReadElement()
{
    if (Unread() < sizeof(T) && !FillBuffer(sizeof(T)))
        throw CArchiveException(CArchiveException::endOfFile);
    T value;
    std::memcpy(&value, m_buffer.data() + m_nPosition, sizeof(T));
    m_nPosition += sizeof(T);
    return value;
}

void CArchive::ReadBytes(char* destination, std::size_t count)
{
    const std::size_t fromBuffer = std::min(count, Unread());
    std::memcpy(destination, m_buffer.data() + m_nPosition, fromBuffer);
    m_nPosition += fromBuffer;
    destination += fromBuffer;
    count -= fromBuffer;

    // Whole buffer-sized blocks go straight into the destination.
    const std::size_t direct = count - count % m_buffer.size();
    for (std::size_t done = 0; done < direct;) {
        const UINT received = File().Read(destination + done, static_cast<UINT>(direct - done));
        if (received == 0)
            throw CArchiveException(CArchiveException::endOfFile);
        done += received;
    }
    destination += direct;
    count -= direct;

    if (count > 0) {
        if (!FillBuffer(count))
            throw CArchiveException(CArchiveException::endOfFile);
        std::memcpy(destination, m_buffer.data(), count);
        m_nPosition = count;
    }
}

void CArchive::FlushBuffer()
{
    if (m_nEnd > 0)
        File().Write(m_buffer.data(), static_cast<UINT>(m_nEnd));
    m_nEnd = 0;
}

template <class T>
void CArchive::WriteElement(T value)
{
    if (m_buffer.size() - m_nEnd < sizeof(T))
        FlushBuffer();
    std::memcpy(m_buffer.data() + m_nEnd, &value, sizeof(T));
    m_nEnd += sizeof(T);
}

void CArchive::WriteBytes(const char* source, std::size_t count)
{
    const std::size_t fitting = std::min(count, m_buffer.size() - m_nEnd);
    std::memcpy(m_buffer.data() + m_nEnd, source, fitting);
    m_nEnd += fitting;
    source += fitting;
    count -= fitting;
    if (count == 0)
        return;
    FlushBuffer();
    const std::size_t direct = count - count % m_buffer.size();
    if (direct > 0)
        File().Write(source, static_cast<UINT>(direct));
    std::memcpy(m_buffer.data(), source + direct, count - direct);
    m_nEnd = count - direct;
}

CArchive& CArchive::operator<<(const std::string& text)
{
    ElementSink sink{*this};
    archive_format::WriteString(sink, text);
    return *this;
}

CArchive& CArchive::operator<<(std::int32_t value)
{
    WriteElement(archive_format::FromInt32(value));
    return *this;
}

CArchive& CArchive::operator<<(double value)
{
    WriteElement(archive_format::FromReal64(value));
    return *this;
}

CArchive& CArchive::operator>>(std::string& text)
{
    ElementSource source{*this};
    text = archive_format::ReadString(source, kMaxStringLength);
    return *this;
}

CArchive& CArchive::operator>>(std::int32_t& value)
{
    value = archive_format::ToInt32(ReadElement<std::uint32_t>());
    return *this;
}

CArchive& CArchive::operator>>(double& value)
{
    value = archive_format::ToReal64(ReadElement<std::uint64_t>());
    return *this;
}
