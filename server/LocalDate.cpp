#include "server/LocalDate.h"

#include <cstdio>
#include <ctime>

namespace server {
namespace {

std::string Format(const std::tm& local, const char* format)
{
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, format, &local);
    return std::string(text, length);
}

std::tm Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace

std::string LocalDate::Today() { return Format(Now(), "%Y-%m-%d"); }

std::string LocalDate::Timestamp() { return Format(Now(), "%Y-%m-%d %H:%M:%S"); }

std::vector<std::string> LocalDate::DaysEndingWith(const std::string& day, int count)
{
    std::tm date{};
    std::sscanf(day.c_str(), "%d-%d-%d", &date.tm_year, &date.tm_mon, &date.tm_mday);
    date.tm_year -= 1900;
    date.tm_mon -= 1;
    date.tm_hour = 12;  // midday, so that a change of daylight saving time cannot skip a day
    std::vector<std::string> days;
    for (int i = 0; i < count; ++i) {
        std::tm each = date;
        each.tm_mday -= i;
        each.tm_isdst = -1;
        std::mktime(&each);
        days.push_back(Format(each, "%Y-%m-%d"));
    }
    return days;
}

}  // namespace server
