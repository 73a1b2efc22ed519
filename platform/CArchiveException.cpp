#include "platform/CArchiveException.h"

std::string CArchiveException::GetErrorMessage() const
{
    if (!m_detail.empty())
        return "A message from the server could not be read: " + m_detail + ".";
    return m_cause == endOfFile ? "The connection ended in the middle of a message."
                                : "A message from the server could not be read.";
}
