#pragma once

#include "platform/CException.h"

// A read that could not complete its field because the data ended.
class CArchiveException : public CException {
public:
    enum Cause { endOfFile, badFormat };

    CArchiveException(Cause cause, std::string detail = {}) : m_cause(cause), m_detail(std::move(detail)) {}

    std::string GetErrorMessage() const override;

    Cause m_cause;

private:
    std::string m_detail;
};
