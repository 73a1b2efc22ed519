#pragma once

#include <string>

// The base of the platform's errors: what a handler may let escape to the event boundary,
// where the platform shows it in its default error report.
class CException {
public:
    virtual ~CException() = default;
    virtual std::string GetErrorMessage() const = 0;
};
