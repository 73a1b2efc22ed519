#include "platform/CFileException.h"

#include <cstring>

std::string CFileException::GetErrorMessage() const
{
    return std::string("Network error: ") + std::strerror(m_lOsError) + " (" + std::to_string(m_lOsError) + ").";
}
