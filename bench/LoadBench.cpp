// Load benchmark of vantix-server: for each number of players, a fresh store with that many
// accounts, the real server on loopback in a private network namespace, and one process
// playing all the players. Prints how fast the server gets each question to every player,
// what it costs in CPU and memory, and how fast it logs players in.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/ServerUnderTest.h"
#include "bench/SimulatedPlayers.h"
#include "tests/support/PrivateNetwork.h"

namespace {

struct Options {
    std::vector<int> players = {1000, 10000};
    int questions = 6;
    double questionSeconds = 5;
};

Options Parse(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--players") {
            options.players.clear();
            std::istringstream list(value);
            for (std::string item; std::getline(list, item, ',');)
                options.players.push_back(std::stoi(item));
        } else if (option == "--questions") {
            options.questions = std::stoi(value);
        } else if (option == "--question-seconds") {
            options.questionSeconds = std::stod(value);
        } else {
            throw std::invalid_argument("unknown option " + option);
        }
    }
    return options;
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void RunOne(int players, const Options& options)
{
    const std::string directory = "/tmp/vantix-load-bench-" + std::to_string(players);
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    bench::ServerUnderTest::PrepareStore(directory, players);

    char questionSeconds[32];
    std::snprintf(questionSeconds, sizeof questionSeconds, "%g", options.questionSeconds);
    bench::ServerUnderTest server(directory, {"--question-seconds", questionSeconds, "--settle-seconds", "1",
                                              "--game-pause-seconds", "2", "--questions-per-game", "15"});
    bench::SimulatedPlayers crowd({players, options.questionSeconds, 42});
    const double loginSeconds = crowd.LogIn();

    const auto before = server.Stats();
    const auto start = std::chrono::steady_clock::now();
    const auto deliveries = crowd.Play(options.questions);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto after = server.Stats();
    server.Stop();

    std::vector<double> all, last;
    for (const auto& delivery : deliveries) {
        all.insert(all.end(), delivery.delaysMs.begin(), delivery.delaysMs.end());
        last.push_back(*std::max_element(delivery.delaysMs.begin(), delivery.delaysMs.end()));
    }
    std::printf("%8d %10.1f %9.2f %9.2f %9.2f %9.2f %9.2f %9.1f%% %9.1f %9.1f\n", players, players / loginSeconds,
                Percentile(all, 0.5), Percentile(all, 0.99), Percentile(last, 0.5), Percentile(last, 0.99),
                *std::max_element(last.begin(), last.end()), 100.0 * (after.cpuSeconds - before.cpuSeconds) / wall,
                after.peakKiB / 1024.0, after.residentKiB / 1024.0);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = Parse(argc, argv);
        const std::string error = test_support::EnterPrivateNetwork();
        if (!error.empty()) {
            std::fprintf(stderr, "vantix-load-bench runs only in a private network namespace: %s\n", error.c_str());
            return 1;
        }
        // Every player is a descriptor here and another in the server, which inherits the limit.
        rlimit limit{1 << 20, 1 << 20};
        if (setrlimit(RLIMIT_NOFILE, &limit) != 0) {  // not allowed to raise the hard limit
            getrlimit(RLIMIT_NOFILE, &limit);
            limit.rlim_cur = limit.rlim_max;
            setrlimit(RLIMIT_NOFILE, &limit);
        }

        std::printf("vantix-server under load: %d questions measured per run, each open %g s, on loopback\n",
                    options.questions, options.questionSeconds);
        std::printf("delivery = time from the first player receiving a QUESTION to each player receiving it (ms)\n");
        std::printf("last = the same for the last player of each question; CPU = server share of one core while playing\n");
        std::printf("logins/s with the accounts prepared in the store; every login is a full Argon2id check\n\n");
        std::printf("%8s %10s %9s %9s %9s %9s %9s %10s %9s %9s\n", "players", "logins/s", "deliv.med", "deliv.p99",
                    "last.med", "last.p99", "last.max", "CPU", "peak MiB", "RSS MiB");
        for (const int players : options.players)
            RunOne(players, options);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantix-load-bench: %s\n", error.what());
        return 1;
    }
}
