// Work that must not hold up the event loop: password hashing on a few low-priority
// threads, and every write to the store (each one a synchronous commit) on one writer
// thread with a connection of its own. Results come back to the event loop.
#pragma once

#include <asio.hpp>

#include <exception>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "server/Store.h"

namespace server {

template <class T>
struct Outcome {
    std::optional<T> value;  // empty when the work failed
    std::string error;
};

class BackgroundWork {
public:
    BackgroundWork(asio::io_context& loop, unsigned hashThreads, const std::string& storePath);
    ~BackgroundWork();

    // Runs work() on a hashing thread, then done(Outcome) on the event loop.
    template <class Work, class Done>
    void Hash(Work work, Done done)
    {
        RunOn(hashing_, std::move(work), std::move(done));
    }

    // Runs work(store) on the writer thread, then done(Outcome) on the event loop.
    template <class Work, class Done>
    void Write(Work work, Done done)
    {
        RunOn(writing_, [this, work = std::move(work)]() mutable { return work(writerStore_); }, std::move(done));
    }

    // Drops hashing that has not started, lets every queued write finish, and joins.
    void Stop();

private:
    template <class Work, class Done>
    void RunOn(asio::io_context& context, Work work, Done done)
    {
        asio::post(context, [&loop = loop_, work = std::move(work), done = std::move(done)]() mutable {
            using Result = decltype(work());
            Outcome<Result> outcome;
            try {
                outcome.value = work();
            } catch (const std::exception& error) {
                outcome.error = error.what();
            }
            asio::post(loop, [done = std::move(done), outcome = std::move(outcome)]() mutable { done(std::move(outcome)); });
        });
    }

    asio::io_context& loop_;
    asio::io_context hashing_;
    asio::io_context writing_;
    asio::executor_work_guard<asio::io_context::executor_type> hashingGuard_;
    asio::executor_work_guard<asio::io_context::executor_type> writingGuard_;
    Store writerStore_;
    std::vector<std::thread> threads_;
};

}  // namespace server
