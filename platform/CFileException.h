#pragma once

#include "platform/CException.h"

// A transport error: the socket under a file failed; carries the system's error code.
class CFileException : public CException {
public:
    explicit CFileException(int osError) : m_lOsError(osError) {}

    std::string GetErrorMessage() const override;

    int m_lOsError;
};
