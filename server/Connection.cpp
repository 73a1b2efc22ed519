#include "server/Connection.h"

#include <array>

namespace server {
namespace {

// Bytes read from one socket per turn of the event loop, so that one busy peer cannot
// hold up the others.
constexpr std::size_t kReadBudget = 64 * 1024;
// How long a finished connection waits for the client to close its side.
constexpr auto kFinishGrace = std::chrono::seconds(2);

std::string PeerText(const asio::ip::tcp::socket& socket)
{
    asio::error_code ec;
    const auto endpoint = socket.remote_endpoint(ec);
    if (ec)
        return "unknown peer";
    auto address = endpoint.address();
    if (address.is_v6() && address.to_v6().is_v4_mapped())
        address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
    return address.to_string() + ":" + std::to_string(endpoint.port());
}

}  // namespace

Connection::Connection(asio::ip::tcp::socket socket, std::uint64_t id, ConnectionHandler& handler,
                       ConnectionLimits limits)
    : socket_(std::move(socket)), id_(id), handler_(handler), limits_(limits), peer_(PeerText(socket_))
{
}

void Connection::Start()
{
    asio::error_code ec;
    socket_.non_blocking(true, ec);
    socket_.set_option(asio::ip::tcp::no_delay(true), ec);
    WaitReadable();
}

std::optional<Connection::Clock::time_point> Connection::IncompleteSince() const
{
    return paused_ ? std::nullopt : incompleteSince_;
}

void Connection::WaitReadable()
{
    if (readWaiting_ || paused_ || closed_)
        return;
    readWaiting_ = true;
    // A read rather than a wait: asio tries it at once and leaves epoll alone when it succeeds.
    socket_.async_read_some(asio::buffer(firstBytes_), [self = shared_from_this()](const asio::error_code& ec,
                                                                                    std::size_t size) {
        self->readWaiting_ = false;
        if (self->closed_ || ec == asio::error::operation_aborted)
            return;
        self->Take(self->firstBytes_.data(), size);
        self->ReadAvailable(ec);
    });
}

void Connection::Take(const char* bytes, std::size_t size)
{
    if (!finishing_)  // a finished connection only waits for the client's close
        input_.append(bytes, size);
}

void Connection::ReadAvailable(asio::error_code ec)
{
    static std::array<char, kReadBudget> scratch;
    for (std::size_t taken = 0; !ec && taken < kReadBudget;) {
        const std::size_t size = socket_.read_some(asio::buffer(scratch.data(), kReadBudget - taken), ec);
        if (!ec) {
            Take(scratch.data(), size);
            taken += size;
        }
    }
    const bool drained = ec == asio::error::would_block || ec == asio::error::try_again;
    if (!finishing_)
        HandleInput();
    if (ec && !drained) {
        Close(finishing_ ? finishReason_
                         : ec == asio::error::eof ? "closed by the client" : "connection lost: " + ec.message());
        return;
    }
    if (closed_ || paused_)
        return;
    if (drained)
        WaitReadable();
    else  // more may be waiting, and epoll reports only new arrivals: come back on a later turn
        asio::post(socket_.get_executor(), [self = shared_from_this()] {
            if (!self->closed_ && !self->paused_ && !self->readWaiting_)
                self->ReadAvailable({});
        });
}

void Connection::HandleInput()
{
    std::size_t used = 0;
    bool completedOne = false;
    while (!paused_ && !closed_ && !finishing_ && input_.size() - used >= inputNeeded_) {
        wire::Message message;
        const std::string_view rest = std::string_view(input_).substr(used);
        const wire::DecodeResult result =
            wire::Decode(wire::Direction::ClientToServer, rest, message, limits_.maxStringLength);
        if (result.status == wire::DecodeStatus::Invalid) {
            Close("unreadable input (" + result.error + ")");
            return;
        }
        if (result.status == wire::DecodeStatus::Incomplete) {
            inputNeeded_ = result.needed;
            break;
        }
        used += result.used;
        inputNeeded_ = 1;
        completedOne = true;
        handler_.OnMessage(*this, message);
    }
    input_.erase(0, used);
    if (input_.empty())
        incompleteSince_.reset();
    else if (completedOne || !incompleteSince_)
        incompleteSince_ = Clock::now();
}

void Connection::PauseInput() { paused_ = true; }

void Connection::ResumeInput()
{
    if (!paused_ || closed_)
        return;
    paused_ = false;
    incompleteSince_.reset();
    inputNeeded_ = 1;
    // Messages that arrived while paused are handled on a later turn, after the caller is done.
    asio::post(socket_.get_executor(), [self = shared_from_this()] {
        if (self->closed_ || self->paused_)
            return;
        self->HandleInput();
        if (!self->closed_ && !self->paused_ && !self->readWaiting_)
            self->ReadAvailable({});
    });
}

void Connection::Send(std::string_view bytes)
{
    if (closed_ || bytes.empty())
        return;
    if (output_.size() == outputSent_) {
        asio::error_code ec;
        const std::size_t n = socket_.write_some(asio::buffer(bytes.data(), bytes.size()), ec);
        if (ec && ec != asio::error::would_block && ec != asio::error::try_again) {
            Close("connection lost: " + ec.message());
            return;
        }
        bytes.remove_prefix(ec ? 0 : n);
        if (bytes.empty())
            return;
        output_.clear();
        outputSent_ = 0;
    }
    if (output_.size() - outputSent_ + bytes.size() > limits_.maxUnsentBytes) {
        Close("more than " + std::to_string(limits_.maxUnsentBytes / 1024) + " KiB unsent: the client does not read");
        return;
    }
    if (outputSent_ > 0 && outputSent_ >= output_.size() / 2) {
        output_.erase(0, outputSent_);
        outputSent_ = 0;
    }
    output_.append(bytes);
    WaitWritable();
}

void Connection::WaitWritable()
{
    if (writeWaiting_ || closed_)
        return;
    writeWaiting_ = true;
    socket_.async_wait(asio::ip::tcp::socket::wait_write, [self = shared_from_this()](const asio::error_code& ec) {
        self->writeWaiting_ = false;
        if (!ec && !self->closed_)
            self->Flush();
    });
}

void Connection::Flush()
{
    while (outputSent_ < output_.size()) {
        asio::error_code ec;
        const std::size_t n = socket_.write_some(asio::buffer(output_.data() + outputSent_, output_.size() - outputSent_), ec);
        if (ec == asio::error::would_block || ec == asio::error::try_again) {
            WaitWritable();
            return;
        }
        if (ec) {
            Close("connection lost: " + ec.message());
            return;
        }
        outputSent_ += n;
    }
    output_.clear();
    outputSent_ = 0;
    if (finishing_)
        DrainAfterFinish();
}

void Connection::Close(const std::string& reason)
{
    if (closed_)
        return;
    closed_ = true;
    asio::error_code ec;
    socket_.close(ec);
    if (finishTimer_)
        finishTimer_->cancel();
    input_.clear();
    input_.shrink_to_fit();
    output_.clear();
    output_.shrink_to_fit();
    // Told on a later turn, so that whoever is sending or iterating now is not disturbed.
    asio::post(socket_.get_executor(), [&handler = handler_, id = id_, reason] { handler.OnClosed(id, reason); });
}

void Connection::Finish(const std::string& reason)
{
    if (closed_ || finishing_)
        return;
    finishing_ = true;
    finishReason_ = reason;
    paused_ = false;
    input_.clear();
    finishTimer_ = std::make_unique<asio::steady_timer>(socket_.get_executor(), kFinishGrace);
    finishTimer_->async_wait([self = shared_from_this()](const asio::error_code& ec) {
        if (!ec)
            self->Close(self->finishReason_);
    });
    if (output_.size() == outputSent_)
        DrainAfterFinish();
}

void Connection::DrainAfterFinish()
{
    // Ending our side only after everything is sent keeps the last message from being lost
    // to a reset; what the client still sends is read and dropped until it closes.
    asio::error_code ec;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_send, ec);
    WaitReadable();
}

}  // namespace server
