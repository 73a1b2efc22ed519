#include "server/EventLog.h"

#include <chrono>
#include <ctime>

#include "platform/Cp1252.h"

namespace server {

void EventLog::Write(std::string_view line)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    const std::size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(stamp + length, sizeof stamp - length, ".%03d ", static_cast<int>(millis));

    std::string text = stamp;
    text.append(line);
    text += '\n';
    const std::lock_guard lock(mutex_);
    std::fwrite(text.data(), 1, text.size(), out_);
    std::fflush(out_);
}

std::string EventLog::Quoted(std::string_view wireText)
{
    std::string text = "\"";
    for (const char c : cp1252::ToUtf8(wireText))
        text += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    return text + "\"";
}

}  // namespace server
