#pragma once

#include <cstddef>

#include "platform/AfxTypes.h"

// A byte stream an archive reads from or writes to.
class CFile {
public:
    virtual ~CFile() = default;

    // Returns at least one byte as soon as any is there, at most count; 0 at the end of
    // the stream. Throws CFileException when the stream fails.
    virtual UINT Read(void* buffer, UINT count) = 0;

    // Hands all count bytes to the stream; throws CFileException when it fails.
    virtual void Write(const void* buffer, UINT count) = 0;

    // Takes back bytes a reader received but did not use, so that the next read returns them
    // first. A stream that cannot keep them drops them.
    virtual void ReturnUnread(const char* bytes, std::size_t count) { (void)bytes, (void)count; }

    // Drops every byte received and kept but not yet read.
    virtual void DiscardUnread() {}
};
