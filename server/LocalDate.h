// Calendar days in the server's local time zone, as "YYYY-MM-DD".
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace server {

class LocalDate {
public:
    static std::string Today();
    // The given day and the days before it, newest first: `count` days in all.
    static std::vector<std::string> DaysEndingWith(const std::string& day, int count);
    static std::string Timestamp();  // "YYYY-MM-DD HH:MM:SS", local
};

}  // namespace server
