// The web server's connections, kept so that idle or slow clients never starve the page: an
// accepted connection waits in one polling thread, holding no worker, until a whole request
// has arrived on it; only then does a worker read and answer it, after which the connection
// waits again for its next request. A connection that stays idle or half-sent past the wait
// is closed, and when too many wait at once the one waiting longest is closed for a new one.
#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace app::web {

struct GateLimits {
    size_t workers = 16;
    size_t maxWaiting = 128;  // connections waiting for a request at once
    // How long a connection may wait for its next request to arrive whole.
    std::chrono::milliseconds wait{5000};
    size_t maxHeader = 8192;  // what the library reads of a request's head at most
    size_t maxBody = 64 * 1024;
};

// Whether `data`, the bytes received on a connection so far, hold a whole request: its head,
// and its body as Content-Length gives it (or chunked, up to its last chunk). Also true when
// the request can never be whole within the limits (the library then refuses it) or expects
// "100 Continue" before its body.
bool WholeRequest(std::string_view data, const GateLimits& limits);

class GatedServer : public httplib::Server {
  public:
    explicit GatedServer(GateLimits limits = {});
    ~GatedServer() override;
    GatedServer(const GatedServer&) = delete;
    GatedServer& operator=(const GatedServer&) = delete;

    // Starts the polling thread and the workers (once bound, before listening).
    void StartGate();
    // Closes every waiting connection and ends the threads, once the server has stopped
    // listening; requests being answered end first.
    void StopGate();

  private:
    struct Connection {
        socket_t sock = INVALID_SOCKET;
        std::string received;  // bytes received and not yet read by the library
        std::chrono::steady_clock::time_point since;
    };

    // The library hands every accepted connection here, on its accepting thread.
    bool process_and_close_socket(socket_t sock) override;
    void Wait(Connection connection);
    void Poll();
    void Work();
    void Wake();

    GateLimits limits_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<Connection> arriving_;  // handed over, not yet polled
    std::deque<Connection> whole_;      // requests for the workers
    bool stopping_ = false;
    int wake_ = -1;  // an eventfd that interrupts the poll
    std::thread poller_;
    std::vector<std::thread> workers_;
};

}  // namespace app::web
