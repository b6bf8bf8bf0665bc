// `armavo --serve`: the session behind a local web page. Sets the framework's line input,
// dialog back end and output to the page's, and runs the server while the session lasts.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "app/web/web_hub.h"
#include "app/web/web_server.h"
#include "app/web/web_session.h"

namespace app::web {

class WebFrontEnd {
  public:
    WebFrontEnd();
    ~WebFrontEnd();
    WebFrontEnd(const WebFrontEnd&) = delete;
    WebFrontEnd& operator=(const WebFrontEnd&) = delete;

    // Starts the server on 127.0.0.1:port (0: any free port) and makes the page the
    // session's input and output; says on standard output where the page is. False, with the
    // reason on standard error, when the server cannot start (nothing is changed then).
    bool Start(int port);
    // Ends the page's session (as the end of the input would) and the server.
    void Stop();

  private:
    WebHub hub_;
    WebUi ui_;
    WebInput input_;
    WebServer server_;
    std::thread signals_;
    std::atomic<bool> stopping_{false};
};

}  // namespace app::web
