// The server's log: one line per event, stamped with the local time, on standard error.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace server {

class EventLog {
public:
    explicit EventLog(std::FILE* out) : out_(out) {}
    void Write(std::string_view line);

    // Text as it travels (Windows-1252), quoted for a log line in UTF-8.
    static std::string Quoted(std::string_view wireText);

private:
    std::FILE* out_;
    std::mutex mutex_;
};

}  // namespace server
