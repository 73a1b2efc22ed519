// The built vantix-server as the benchmark runs it: a prepared store with many accounts, the
// server process itself, and what the kernel says about its CPU time and memory.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace bench {

struct ProcessStats {
    double cpuSeconds = 0;   // user and system time so far
    long peakKiB = 0;        // VmHWM
    long residentKiB = 0;    // VmRSS
};

class ServerUnderTest {
public:
    // A store in `directory` with the built-in bank and `players` accounts named
    // PlayerName(i), all with the password "bench" (one Argon2id hash, made once: the
    // server still verifies every login in full).
    static void PrepareStore(const std::string& directory, int players);
    static std::string PlayerName(int index);

    ServerUnderTest(const std::string& directory, const std::vector<std::string>& options);
    ~ServerUnderTest();
    ProcessStats Stats() const;
    void Stop();  // SIGTERM, then waits

private:
    pid_t pid_ = -1;
};

}  // namespace bench
