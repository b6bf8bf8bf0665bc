// Wiring of the web front end into the framework, and the end of a served session by
// Ctrl+C or a termination signal.
#include "app/web/web_front_end.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <ctime>

#include "platform/backend.h"
#include "platform/console.h"

namespace app::web {
namespace {

void ToPageAndTerminal(std::string_view text, void* context) {
    static_cast<WebHub*>(context)->AppendOutput(text);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

WebFrontEnd::WebFrontEnd() : input_(hub_, ui_), server_(hub_) {}

WebFrontEnd::~WebFrontEnd() {
    Stop();
}

bool WebFrontEnd::Start(int port) {
    // Ctrl+C and SIGTERM end the session through the input, as the end of a script does,
    // rather than killing the program halfway through a command; every thread started from
    // here on inherits the mask, so the watcher alone receives them.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);

    std::string error;
    const int bound = server_.Start(port, error);
    if (bound < 0) {
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        std::fprintf(stderr, "armavo: %s\n", error.c_str());
        return false;
    }
    signals_ = std::thread([this, set] {
        const timespec wait{0, 200 * 1000 * 1000};
        while (!stopping_) {
            if (sigtimedwait(&set, nullptr, &wait) > 0) {
                hub_.Stop();
                return;
            }
        }
    });
    platform::SetLineInput(&input_);
    platform::SetBackend(ui_);
    platform::SetOutputSink(ToPageAndTerminal, &hub_);
    std::printf("Strona armavo: http://127.0.0.1:%d/\n", bound);
    std::fflush(stdout);
    return true;
}

void WebFrontEnd::Stop() {
    stopping_ = true;
    server_.Stop();
    if (signals_.joinable()) {
        signals_.join();
    }
    if (platform::GetLineInput() == &input_) {
        platform::SetLineInput(nullptr);
        platform::SetBackend(platform::ScriptedBackend());
        platform::SetOutputSink(nullptr, nullptr);
    }
}

}  // namespace app::web
