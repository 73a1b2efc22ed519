#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/AfxTypes.h"
#include "platform/CFile.h"

// Serialises strings, 32-bit integers and 64-bit reals to a file (store) or from it (load)
// through a buffer of its own. Its bytes are the wire encoding of the game protocol.
class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    static constexpr UINT kDefaultBufferSize = 4096;
    static constexpr std::uint32_t kMaxStringLength = 1u << 20;  // a longer announced string is not accepted

    CArchive(CFile* pFile, UINT nMode, UINT nBufSize = kDefaultBufferSize);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    ~CArchive();  // an archive never closed drops what it holds

    BOOL IsLoading() const { return m_nMode == load; }

    CArchive& operator<<(const std::string& text);
    CArchive& operator<<(std::int32_t value);
    CArchive& operator<<(double value);
    CArchive& operator>>(std::string& text);
    CArchive& operator>>(std::int32_t& value);
    CArchive& operator>>(double& value);

    // Store: sends what the buffer holds (nothing when it is empty). Load: gives the bytes
    // received beyond what was read back to the file, for the next reader.
    void Close();
    // Drops whatever the archive holds.
    void Abort();

    // Before a nested event loop runs, every open reader gives back the bytes it holds
    // beyond what it has read, so that readers opened inside the loop see them in order.
    static void ReturnReadAheadOfOpenReaders();

private:
    struct ElementSource;
    struct ElementSink;

    template <class T>
    T ReadElement();
    template <class T>
    void WriteElement(T value);
    void ReadBytes(char* destination, std::size_t count);
    void WriteBytes(const char* source, std::size_t count);
    // Receives until the buffer holds at least `needed` unread bytes; false when the stream ends first.
    bool FillBuffer(std::size_t needed);
    void FlushBuffer();
    CFile& File() const;
    void Detach();
    std::size_t Unread() const { return m_nEnd - m_nPosition; }

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<char> m_buffer;
    std::size_t m_nPosition = 0;  // load: next byte to read; store: unused
    std::size_t m_nEnd = 0;       // load: end of received bytes; store: end of written bytes
};
