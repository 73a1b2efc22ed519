#include "server/BackgroundWork.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace server {

BackgroundWork::BackgroundWork(asio::io_context& loop, unsigned hashThreads, const std::string& storePath)
    : loop_(loop),
      hashingGuard_(asio::make_work_guard(hashing_)),
      writingGuard_(asio::make_work_guard(writing_)),
      writerStore_(storePath)
{
    for (unsigned i = 0; i < hashThreads; ++i)
        threads_.emplace_back([this] {
            // Hashing yields the cores to the event loop whenever the loop has work.
            setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
            hashing_.run();
        });
    threads_.emplace_back([this] { writing_.run(); });
}

BackgroundWork::~BackgroundWork() { Stop(); }

void BackgroundWork::Stop()
{
    hashing_.stop();
    writingGuard_.reset();
    for (std::thread& thread : threads_)
        if (thread.joinable())
            thread.join();
    threads_.clear();
}

}  // namespace server
