#include "bench/SimulatedPlayers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "bench/ServerUnderTest.h"
#include "net/MessageCatalogue.h"

namespace bench {
namespace {

constexpr int kMaxConnecting = 256;
constexpr int kPlayersPerSourceAddress = 20000;  // stays within one address's ephemeral ports

std::string Encode(wire::Message message) { return wire::Encode(wire::Direction::ClientToServer, message); }

int PointsLeft(int secondsLeft)
{
    return secondsLeft >= 20 ? 1000 : static_cast<int>(secondsLeft * 0.05263157894736842 * 1000.0);
}

}  // namespace

struct SimulatedPlayers::Player {
    int index = 0;
    int fd = -1;
    bool connected = false;
    bool loggedIn = false;
    std::string in;
    std::string out;
    int questions = 0;  // received so far
    double tickPhase = 0.2;
    Clock::time_point questionArrived;
    int correct = 0, answer = 0, answerPoints = 0, score = 0, peekCost = 0;
    double totalTime = 0, lastTime = 0;
};

SimulatedPlayers::SimulatedPlayers(const CrowdSettings& settings) : settings_(settings), random_(settings.seed)
{
    epoll_ = epoll_create1(EPOLL_CLOEXEC);
    for (int i = 0; i < settings.players; ++i) {
        auto* player = new Player;
        player->index = i;
        player->tickPhase = Uniform(0.2, 1.0);
        players_.push_back(player);
    }
}

SimulatedPlayers::~SimulatedPlayers()
{
    for (Player* player : players_) {
        if (player->fd >= 0)
            close(player->fd);
        delete player;
    }
    close(epoll_);
}

double SimulatedPlayers::Uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }

void SimulatedPlayers::Connect(int index)
{
    Player& player = *players_[static_cast<std::size_t>(index)];
    player.fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (player.fd < 0)
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    const int one = 1;
    setsockopt(player.fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK + static_cast<std::uint32_t>(index / kPlayersPerSourceAddress));
    bind(player.fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(2);
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(player.fd, reinterpret_cast<sockaddr*>(&server), sizeof server) != 0 && errno != EINPROGRESS)
        throw std::runtime_error(std::string("connect: ") + std::strerror(errno));
    epoll_event event{};
    event.events = EPOLLIN | EPOLLOUT;
    event.data.ptr = &player;
    epoll_ctl(epoll_, EPOLL_CTL_ADD, player.fd, &event);
    ++connecting_;
}

void SimulatedPlayers::Send(Player& player, const std::string& bytes)
{
    ++sent_;
    if (player.out.empty()) {
        const ssize_t n = send(player.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n == static_cast<ssize_t>(bytes.size()))
            return;
        if (n < 0 && errno != EAGAIN)
            throw std::runtime_error("player " + std::to_string(player.index) + " lost its connection");
        player.out.assign(bytes, n < 0 ? 0 : static_cast<std::size_t>(n));
        epoll_event event{};
        event.events = EPOLLIN | EPOLLOUT;
        event.data.ptr = &player;
        epoll_ctl(epoll_, EPOLL_CTL_MOD, player.fd, &event);
        return;
    }
    player.out += bytes;
}

void SimulatedPlayers::OnWritable(Player& player)
{
    if (!player.connected) {
        int error = 0;
        socklen_t length = sizeof error;
        getsockopt(player.fd, SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0)
            throw std::runtime_error(std::string("connecting: ") + std::strerror(error));
        player.connected = true;
        --connecting_;
        // The table comes back only once the login has succeeded: that is how a player knows.
        Send(player, Encode({"LOGIN", {ServerUnderTest::PlayerName(player.index), std::string("bench"), std::string("1.0.0.4")}}));
        Send(player, Encode({"TOPTEN", {}}));
    }
    while (!player.out.empty()) {
        const ssize_t n = send(player.fd, player.out.data(), player.out.size(), MSG_NOSIGNAL);
        if (n < 0)
            return;
        player.out.erase(0, static_cast<std::size_t>(n));
    }
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.ptr = &player;
    epoll_ctl(epoll_, EPOLL_CTL_MOD, player.fd, &event);
}

void SimulatedPlayers::OnReadable(Player& player)
{
    char chunk[16384];
    const ssize_t n = recv(player.fd, chunk, sizeof chunk, 0);
    const Clock::time_point arrived = Clock::now();
    if (n <= 0) {
        if (n < 0 && errno == EAGAIN)
            return;
        throw std::runtime_error("the server closed the connection of player " + std::to_string(player.index));
    }
    player.in.append(chunk, static_cast<std::size_t>(n));
    for (;;) {
        wire::Message message;
        const auto result = wire::Decode(wire::Direction::ServerToClient, player.in, message, 1 << 20);
        if (result.status == wire::DecodeStatus::Incomplete)
            return;
        if (result.status == wire::DecodeStatus::Invalid)
            throw std::runtime_error("unreadable message from the server: " + result.error);
        player.in.erase(0, result.used);
        if (message.word == "QUESTION")
            OnQuestion(player, std::get<std::int32_t>(message.fields[6]), std::get<std::int32_t>(message.fields[7]),
                       std::get<std::string>(message.fields[0]), arrived);
        else if (message.word == "TOPTEN" && !player.loggedIn) {
            player.loggedIn = true;
            ++loggedIn_;
        } else if (message.word == "RECMESS")
            Send(player, Encode({"MESSAGE", {}}));  // as the client does while its messaging window is closed
        else if (message.word == "ENDGAME")
            Settle(player);
        else if (message.word == "GETPLAYER" || message.word == "BADVERSION")
            throw std::runtime_error("the server refused player " + std::to_string(player.index));
    }
}

void SimulatedPlayers::Settle(Player& player)
{
    if (player.answer != 0 && player.answer == player.correct)
        player.score += player.answerPoints;
    player.answer = player.answerPoints = 0;
}

void SimulatedPlayers::OnQuestion(Player& player, int correct, int number, const std::string& text, Clock::time_point arrived)
{
    Settle(player);
    if (number == 1)
        player.score = player.peekCost = 0;
    player.correct = correct;
    player.lastTime = 0;
    player.questionArrived = arrived;
    ++player.questions;

    if (measuring_) {
        const std::uint64_t key = std::hash<std::string_view>{}(text) * 31 + static_cast<std::uint64_t>(number);
        auto first = firstArrival_.try_emplace(key, arrived).first;
        if (first->second >= measureFrom_) {
            Delivery& delivery = deliveries_[key];
            delivery.number = number;
            delivery.delaysMs.push_back(std::chrono::duration<double, std::milli>(arrived - first->second).count());
        }
    }

    const double window = settings_.questionSeconds;
    const auto plan = [&](double seconds, Action action) {
        events_.push({arrived + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)),
                      player.index, action, player.questions});
    };
    plan(Uniform(0.05, 0.6) * window, Action::Answer);
    if (Uniform(0, 1) < 0.25)
        plan(Uniform(0.6, 0.9) * window, Action::Answer);
    if (Uniform(0, 1) < 0.1)
        plan(Uniform(0.1, 0.9) * window, Action::Peek);
    if (Uniform(0, 1) < 0.05)
        plan(Uniform(0.1, 0.9) * window, Action::TopTen);
    if (Uniform(0, 1) < 0.02)
        plan(Uniform(0.1, 0.9) * window, Action::Hall);
    if (Uniform(0, 1) < 0.02)
        plan(Uniform(0.1, 0.9) * window, Action::Message);
}

void SimulatedPlayers::Perform(const Event& event)
{
    Player& player = *players_[static_cast<std::size_t>(event.player)];
    if (event.question != player.questions)
        return;  // planned for an earlier question
    switch (event.action) {
    case Action::Answer: {
        // Client seconds: the countdown runs at 30 s per question whatever the server's pace.
        const double seconds =
            std::chrono::duration<double>(Clock::now() - player.questionArrived).count() * 30.0 / settings_.questionSeconds;
        const int choice = Uniform(0, 1) < 0.75 ? player.correct : static_cast<int>(Uniform(1, 6));
        if (choice == player.answer)
            return;
        const int steps = seconds < player.tickPhase ? 0 : static_cast<int>(std::floor(seconds - player.tickPhase)) + 1;
        const int points = PointsLeft(std::max(1, 30 - steps));
        player.totalTime = player.totalTime - player.lastTime + seconds;
        player.lastTime = seconds;
        Send(player, Encode({"SCORE",
                             {player.score - player.peekCost + (choice == player.correct ? points : 0), choice, player.answer,
                              player.totalTime, player.lastTime}}));
        player.answer = choice;
        player.answerPoints = points;
        break;
    }
    case Action::Peek:
        player.peekCost += 100;
        Send(player, Encode({"SCORE",
                             {player.score - player.peekCost + (player.answer == player.correct ? player.answerPoints : 0),
                              player.answer, player.answer, player.totalTime, player.lastTime}}));
        Send(player, Encode({"PEEK", {}}));
        break;
    case Action::TopTen:
        Send(player, Encode({"TOPTEN", {}}));
        break;
    case Action::Hall:
        Send(player, Encode({"HALL", {}}));
        break;
    case Action::Message: {
        const int other = static_cast<int>(Uniform(0, settings_.players));
        Send(player, Encode({"SENDMESS", {ServerUnderTest::PlayerName(other), std::string("good luck!")}}));
        break;
    }
    }
}

void SimulatedPlayers::Turn(Clock::time_point until)
{
    epoll_event ready[512];
    const auto now = Clock::now();
    auto wake = until;
    if (!events_.empty())
        wake = std::min(wake, events_.top().at);
    const int timeout = static_cast<int>(std::max<std::int64_t>(
        0, std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count()));
    const int count = epoll_wait(epoll_, ready, 512, timeout);
    for (int i = 0; i < count; ++i) {
        Player& player = *static_cast<Player*>(ready[i].data.ptr);
        if (ready[i].events & (EPOLLOUT | EPOLLERR))
            OnWritable(player);
        if (ready[i].events & EPOLLIN)
            OnReadable(player);
    }
    for (const auto due = Clock::now(); !events_.empty() && events_.top().at <= due;) {
        const Event event = events_.top();
        events_.pop();
        Perform(event);
    }
}

double SimulatedPlayers::LogIn()
{
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::minutes(30);
    while (loggedIn_ < settings_.players) {
        while (connecting_ < kMaxConnecting && nextToConnect_ < settings_.players)
            Connect(nextToConnect_++);
        if (Clock::now() > deadline)
            throw std::runtime_error("logins did not finish in time");
        Turn(Clock::now() + std::chrono::milliseconds(50));
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<Delivery> SimulatedPlayers::Play(int count)
{
    measuring_ = true;
    measureFrom_ = Clock::now();
    const auto complete = [&] {
        int done = 0;
        for (const auto& [key, delivery] : deliveries_)
            done += static_cast<int>(delivery.delaysMs.size()) == settings_.players;
        return done;
    };
    const auto deadline = Clock::now() + std::chrono::minutes(30);
    while (complete() < count) {
        if (Clock::now() > deadline)
            throw std::runtime_error("the questions did not arrive in time");
        Turn(Clock::now() + std::chrono::milliseconds(50));
    }
    measuring_ = false;
    std::vector<Delivery> result;
    for (auto& [key, delivery] : deliveries_)
        if (static_cast<int>(delivery.delaysMs.size()) == settings_.players)
            result.push_back(std::move(delivery));
    return result;
}

}  // namespace bench
