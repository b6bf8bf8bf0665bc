// The gate in front of the server's workers: the polling thread, the workers, and the stream
// the library reads a request from and writes its answer to.
#include "app/web/request_gate.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace app::web {
namespace {

using Clock = std::chrono::steady_clock;

// How long a worker waits for more of a request that arrived whole but is read in pieces
// (it never should), and for a client to take each piece of an answer.
constexpr std::chrono::milliseconds kReadWait{2000};
constexpr std::chrono::milliseconds kWriteWait{5000};
// A client slower than this at taking a long answer is dropped, as an idle one would be.
constexpr size_t kMinBytesPerSecond = 256 * 1024;

// The library accepts connections and hands each to a task queue; here the queue hands it at
// once, on the accepting thread, to the gate, which never blocks.
class Handover : public httplib::TaskQueue {
  public:
    void enqueue(std::function<void()> fn) override { fn(); }
    void shutdown() override {}
};

void Close(socket_t sock) {
    shutdown(sock, SHUT_RDWR);
    close(sock);
}

bool WaitFor(socket_t sock, short events, int milliseconds) {
    pollfd p{sock, events, 0};
    int n;
    do {
        n = poll(&p, 1, milliseconds);
    } while (n < 0 && errno == EINTR);
    return n > 0 && (p.revents & (events | POLLHUP | POLLERR)) != 0;
}

int Milliseconds(Clock::duration d) {
    return static_cast<int>(std::clamp<long long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(d).count(), 0, 60 * 60 * 1000));
}

// A connection as the library reads and writes it, starting with the bytes the gate received.
class GateStream : public httplib::Stream {
  public:
    GateStream(socket_t sock, std::string received) : sock_(sock), buffer_(std::move(received)) {}

    bool is_readable() const override {
        return at_ < buffer_.size() || WaitFor(sock_, POLLIN, Milliseconds(kReadWait));
    }
    bool is_writable() const override { return WaitFor(sock_, POLLOUT, Milliseconds(kWriteWait)); }
    ssize_t read(char* ptr, size_t size) override {
        if (at_ == buffer_.size()) {
            buffer_.clear();
            at_ = 0;
            if (!is_readable())
                return -1;
            char chunk[16384];
            const ssize_t n = recv(sock_, chunk, sizeof chunk, 0);
            if (n <= 0)
                return n;
            buffer_.assign(chunk, static_cast<size_t>(n));
        }
        const size_t n = std::min(size, buffer_.size() - at_);
        std::memcpy(ptr, buffer_.data() + at_, n);
        at_ += n;
        return static_cast<ssize_t>(n);
    }
    ssize_t write(const char* ptr, size_t size) override {
        const Clock::time_point deadline =
            Clock::now() + kWriteWait + std::chrono::seconds(size / kMinBytesPerSecond);
        size_t sent = 0;
        while (sent < size) {
            if (!WaitFor(sock_, POLLOUT, Milliseconds(deadline - Clock::now())))
                return -1;
            const ssize_t n = send(sock_, ptr + sent, size - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                continue;
            if (n <= 0)
                return -1;
            sent += static_cast<size_t>(n);
        }
        return static_cast<ssize_t>(size);
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        Address(getpeername, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        Address(getsockname, ip, port);
    }
    socket_t socket() const override { return sock_; }

    // What was received beyond the request read: the start of the next one.
    std::string Unread() { return buffer_.substr(at_); }

  private:
    void Address(int (*get)(int, sockaddr*, socklen_t*), std::string& ip, int& port) const {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        ip.clear();
        port = 0;
        if (get(sock_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            address.ss_family != AF_INET) {
            return;
        }
        const auto* in = reinterpret_cast<const sockaddr_in*>(&address);
        char text[INET_ADDRSTRLEN] = "";
        inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
        ip = text;
        port = ntohs(in->sin_port);
    }

    socket_t sock_;
    std::string buffer_;
    size_t at_ = 0;
};

bool HeaderIs(std::string_view line, std::string_view name) {
    if (line.size() <= name.size() || line[name.size()] != ':')
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = line[i] >= 'A' && line[i] <= 'Z' ? static_cast<char>(line[i] + 32) : line[i];
        if (c != name[i])
            return false;
    }
    return true;
}

bool Contains(std::string_view value, std::string_view word) {
    std::string lower(value);
    for (char& c : lower)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return lower.find(word) != std::string::npos;
}

}  // namespace

bool WholeRequest(std::string_view data, const GateLimits& limits) {
    const size_t end = data.find("\r\n\r\n");
    if (end == std::string_view::npos)
        return data.size() >= limits.maxHeader;
    const std::string_view body = data.substr(end + 4);
    size_t length = 0;
    bool chunked = false;
    for (size_t at = data.find("\r\n") + 2; at < end + 2;) {
        const size_t next = data.find("\r\n", at);
        const std::string_view line = data.substr(at, next - at);
        at = next + 2;
        const std::string_view value = line.substr(std::min(line.size(), line.find(':') + 1));
        if (HeaderIs(line, "expect") && Contains(value, "100-continue"))
            return true;  // the body comes only once the library has answered
        if (HeaderIs(line, "transfer-encoding") && Contains(value, "chunked"))
            chunked = true;
        if (HeaderIs(line, "content-length")) {
            const size_t first = value.find_first_not_of(' ');
            if (first == std::string_view::npos)
                return true;  // malformed: the library refuses it
            length = 0;
            for (char c : value.substr(first)) {
                if (c < '0' || c > '9' || length > limits.maxBody)
                    return true;  // malformed or too long: refused unread
                length = length * 10 + static_cast<size_t>(c - '0');
            }
        }
    }
    if (data.size() >= limits.maxHeader + limits.maxBody)
        return true;
    if (chunked)
        return body.starts_with("0\r\n\r\n") || body.find("\r\n0\r\n\r\n") != std::string::npos;
    return length > limits.maxBody || body.size() >= length;
}

GatedServer::GatedServer(GateLimits limits) : limits_(limits) {
    new_task_queue = [] { return new Handover; };
}

GatedServer::~GatedServer() {
    StopGate();
}

void GatedServer::StartGate() {
    // The library listens with a backlog of 5: a burst of connections would wait for the
    // client's retry of its handshake (a second or more) however fast they are accepted.
    ::listen(svr_sock_, SOMAXCONN);
    wake_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    poller_ = std::thread([this] { Poll(); });
    for (size_t i = 0; i < limits_.workers; ++i)
        workers_.emplace_back([this] { Work(); });
}

void GatedServer::StopGate() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || !poller_.joinable())
            return;
        stopping_ = true;
    }
    Wake();
    ready_.notify_all();
    poller_.join();
    for (std::thread& worker : workers_)
        worker.join();
    workers_.clear();
    for (Connection& c : arriving_)
        Close(c.sock);
    for (Connection& c : whole_)
        Close(c.sock);
    arriving_.clear();
    whole_.clear();
    close(wake_);
}

bool GatedServer::process_and_close_socket(socket_t sock) {
    Wait(Connection{sock, {}, Clock::now()});
    return true;
}

void GatedServer::Wait(Connection connection) {
    {
        std::lock_guard lock(mutex_);
        if (!stopping_) {
            arriving_.push_back(std::move(connection));
            connection.sock = INVALID_SOCKET;
        }
    }
    if (connection.sock != INVALID_SOCKET)
        Close(connection.sock);
    else
        Wake();
}

void GatedServer::Wake() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
}

void GatedServer::Poll() {
    std::vector<Connection> waiting;  // in the order they began to wait
    std::vector<pollfd> fds;
    std::vector<Connection> whole;
    const size_t capacity = limits_.maxHeader + limits_.maxBody;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                break;
            for (Connection& c : arriving_) {
                // A request that came with the last one (pipelined) is whole already.
                if (!c.received.empty() && WholeRequest(c.received, limits_))
                    whole.push_back(std::move(c));
                else
                    waiting.push_back(std::move(c));
            }
            arriving_.clear();
        }
        // Too many waiting: those waiting longest make room for the new.
        if (waiting.size() > limits_.maxWaiting) {
            const auto excess = static_cast<std::ptrdiff_t>(waiting.size() - limits_.maxWaiting);
            for (auto it = waiting.begin(); it != waiting.begin() + excess; ++it)
                Close(it->sock);
            waiting.erase(waiting.begin(), waiting.begin() + excess);
        }
        if (!whole.empty()) {
            std::lock_guard lock(mutex_);
            for (Connection& c : whole)
                whole_.push_back(std::move(c));
            whole.clear();
            ready_.notify_all();
        }
        fds.assign(1, pollfd{wake_, POLLIN, 0});
        Clock::time_point due = Clock::now() + std::chrono::seconds(1);
        for (const Connection& c : waiting) {
            fds.push_back(pollfd{c.sock, POLLIN, 0});
            due = std::min(due, c.since + limits_.wait);
        }
        if (poll(fds.data(), fds.size(), Milliseconds(due - Clock::now()) + 1) < 0 &&
            errno != EINTR) {
            break;
        }
        if (fds[0].revents != 0) {
            uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wake_, &count, sizeof count);
        }
        const Clock::time_point now = Clock::now();
        size_t kept = 0;
        for (size_t i = 0; i < waiting.size(); ++i) {
            Connection& c = waiting[i];
            bool closed = false;
            if (fds[i + 1].revents != 0) {
                // Taken off the socket as it comes, so that the poll sees only new bytes.
                char chunk[16384];
                while (c.received.size() < capacity) {
                    const ssize_t n =
                        recv(c.sock, chunk, std::min(sizeof chunk, capacity - c.received.size()),
                             MSG_DONTWAIT);
                    if (n > 0) {
                        c.received.append(chunk, static_cast<size_t>(n));
                        continue;
                    }
                    closed = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
                    break;
                }
                if (!closed && WholeRequest(c.received, limits_)) {
                    whole.push_back(std::move(c));
                    continue;
                }
            }
            if (closed || now - c.since >= limits_.wait) {
                Close(c.sock);
                continue;
            }
            if (kept != i)
                waiting[kept] = std::move(c);
            ++kept;
        }
        waiting.resize(kept);
    }
    for (Connection& c : waiting)
        Close(c.sock);
}

void GatedServer::Work() {
    for (;;) {
        Connection c;
        {
            std::unique_lock lock(mutex_);
            ready_.wait(lock, [this] { return stopping_ || !whole_.empty(); });
            if (stopping_)
                return;
            c = std::move(whole_.front());
            whole_.pop_front();
        }
        GateStream stream(c.sock, std::move(c.received));
        bool closed = false;
        const bool answered = process_request(stream, false, closed, [](httplib::Request&) {});
        if (!answered || closed) {
            Close(c.sock);
            continue;
        }
        c.received = stream.Unread();
        c.since = Clock::now();
        Wait(std::move(c));
    }
}

}  // namespace app::web
