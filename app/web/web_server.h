// The web server of `armavo --serve`: the page, its event stream and the lines it sends, on
// 127.0.0.1 only, on a thread of its own beside the session.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "app/web/web_hub.h"

namespace app::web {

class GatedServer;

// The longest line the page may send: more than any prompt or dialog line needs.
inline constexpr size_t kMaxLineBytes = 4096;

// Why a line from the page is refused before it reaches the session (an HTTP status and the
// message), or status 0 when it may go on.
struct Refusal {
    int status = 0;
    std::string message;
};
Refusal CheckLine(std::string_view body);
// A tab's name: 1 to 64 letters, digits, "-" or "_".
bool ValidTab(std::string_view tab);

class WebServer {
  public:
    explicit WebServer(WebHub& hub);
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Listens on 127.0.0.1:port (0: any free port) and serves on a thread of its own.
    // Returns the port, or -1 with the reason in `error`.
    int Start(int port, std::string& error);
    // Ends the event streams and the server; waits for its thread.
    void Stop();

  private:
    void Route();
    WebHub& hub_;
    std::unique_ptr<GatedServer> server_;
    std::thread thread_;
    int port_ = -1;
};

}  // namespace app::web
