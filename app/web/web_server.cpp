// The web server: routes, request checks and the server-sent event stream.
#include "app/web/web_server.h"

#include <httplib.h>

#include <sys/socket.h>

#include <chrono>

#include "app/web/web_assets.h"
#include "platform/utf8.h"

namespace app::web {
namespace {

constexpr const char* kTabHeader = "X-Armavo-Tab";
// How long an event stream waits before it sends a keep-alive comment; also how soon it
// notices that the server stops.
constexpr std::chrono::milliseconds kStreamWait{1000};
// Bodies beyond this are refused by the server itself, unread.
constexpr size_t kMaxBody = 64 * 1024;
// Enough workers for every event stream the hub lets open and the requests beside them.
constexpr size_t kWorkers = WebHub::kMaxStreams + 8;

void Answer(httplib::Response& res, int status, const std::string& message) {
    res.status = status;
    res.set_content(message + "\n", "text/plain; charset=utf-8");
}

// A file name fit for a header: letters, digits, ".", "-" and "_", anything else as "_".
std::string HeaderFileName(std::string name) {
    for (char& c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!ok)
            c = '_';
    }
    return name;
}

}  // namespace

bool ValidTab(std::string_view tab) {
    if (tab.empty() || tab.size() > 64) {
        return false;
    }
    for (char c : tab) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!ok) {
            return false;
        }
    }
    return true;
}

Refusal CheckLine(std::string_view body) {
    if (body.size() > kMaxLineBytes) {
        return {413,
                "Wiersz jest za długi (najwyżej " + std::to_string(kMaxLineBytes) + " bajtów)."};
    }
    for (size_t i = 0; i < body.size();) {
        char32_t cp = 0;
        const size_t n = platform::utf8::Decode(body, i, cp);
        if (n == 0) {
            return {400, "Wiersz nie jest tekstem UTF-8."};
        }
        // One line, as typed: a line break would smuggle in a second answer.
        if (cp < 0x20 || cp == 0x7F) {
            return {400, "Wiersz zawiera znak sterujący (np. koniec wiersza)."};
        }
        i += n;
    }
    return {};
}

WebServer::WebServer(WebHub& hub) : hub_(hub), server_(std::make_unique<httplib::Server>()) {}

WebServer::~WebServer() {
    Stop();
}

void WebServer::Route() {
    httplib::Server& s = *server_;
    s.new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    s.set_payload_max_length(kMaxBody);
    // The library's default lets a second server share the port (SO_REUSEPORT), and the two
    // would then split the page's requests between two sessions; a port in use is refused.
    s.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Only pages of this server talk to it: a page elsewhere that reaches 127.0.0.1 under a
    // name of its own (DNS rebinding) is turned away before any route runs.
    s.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        const std::string host = req.get_header_value("Host");
        const std::string port = std::to_string(port_);
        if (host != "127.0.0.1:" + port && host != "localhost:" + port) {
            Answer(res, 403, "Nieznany adres strony.");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty()) {
            const char* reason = res.status == 404   ? "Nie ma takiej strony."
                                 : res.status == 413 ? "Treść żądania jest za duża."
                                                     : "Nieprawidłowe żądanie.";
            Answer(res, res.status, reason);
        }
    });
    const auto asset = [](const httplib::Request& req, httplib::Response& res) {
        const WebAsset* a = FindAsset(req.path == "/" ? "/index.html" : req.path);
        if (a == nullptr) {
            Answer(res, 404, "Nie ma takiej strony.");
            return;
        }
        res.set_content(reinterpret_cast<const char*>(a->data), a->size, a->type);
        res.set_header("Cache-Control", "no-store");
    };
    s.Get("/", asset);
    s.Get("/index.html", asset);
    s.Get("/app.js", asset);
    s.Get("/style.css", asset);
    s.Get("/drawing", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content(hub_.PictureJson(), "application/json");
        res.set_header("Cache-Control", "no-store");
    });
    // The PDF that PLOT wrote last, as a file to download.
    s.Get("/plot.pdf", [this](const httplib::Request&, httplib::Response& res) {
        std::string name, bytes;
        if (!hub_.Plot(name, bytes)) {
            Answer(res, 404, "Rysunek nie został jeszcze wydrukowany (PLOT).");
            return;
        }
        res.set_content(std::move(bytes), "application/pdf");
        res.set_header("Content-Disposition",
                       "attachment; filename=\"" + HeaderFileName(name) + "\"");
        res.set_header("Cache-Control", "no-store");
    });
    s.Get("/events", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string tab = req.get_param_value("tab");
        if (!ValidTab(tab)) {
            Answer(res, 400, "Brak nazwy karty (tab) albo jest nieprawidłowa.");
            return;
        }
        if (!hub_.OpenStream(tab)) {
            Answer(res, 429, "Za dużo otwartych kart tej sesji.");
            return;
        }
        auto cursor = std::make_shared<WebHub::Cursor>();
        res.set_header("Cache-Control", "no-store");
        res.set_chunked_content_provider(
            "text/event-stream",
            [this, tab, cursor](size_t, httplib::DataSink& sink) {
                std::string events = hub_.NextEvents(tab, *cursor, kStreamWait);
                if (events.empty()) {
                    events = ": \n\n";  // keeps the connection and finds a closed one
                }
                if (!sink.write(events.data(), events.size())) {
                    return false;
                }
                if (hub_.Stopped()) {
                    sink.done();
                }
                return true;
            },
            [this, tab](bool) { hub_.CloseStream(tab); });
    });
    s.Post("/input", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string tab = req.get_header_value(kTabHeader);
        if (!ValidTab(tab)) {
            Answer(res, 400, "Brak nagłówka X-Armavo-Tab albo jest nieprawidłowy.");
            return;
        }
        if (Refusal r = CheckLine(req.body); r.status != 0) {
            Answer(res, r.status, r.message);
            return;
        }
        switch (hub_.SubmitLine(tab, req.body)) {
            case Verdict::Taken:
                res.status = 204;
                return;
            case Verdict::NotInControl:
                Answer(res, 403, "Ta karta tylko ogląda sesję: polecenia wydaje pierwsza karta.");
                return;
            case Verdict::NoPrompt:
                Answer(res, 409, "Program nie czeka teraz na odpowiedź.");
                return;
            case Verdict::Stopped:
                Answer(res, 410, "Sesja jest zakończona.");
                return;
        }
    });
    // The known paths answer other methods with 405 rather than "no such page".
    const auto wrongMethod = [](const httplib::Request&, httplib::Response& res) {
        Answer(res, 405, "Niedozwolona metoda dla tej ścieżki.");
    };
    s.Get("/input", wrongMethod);
    for (const char* path :
         {"/", "/index.html", "/app.js", "/style.css", "/drawing", "/events", "/plot.pdf"}) {
        s.Post(path, wrongMethod);
    }
}

int WebServer::Start(int port, std::string& error) {
    Route();
    if (port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
    } else if (server_->bind_to_port("127.0.0.1", port)) {
        port_ = port;
    }
    if (port_ <= 0) {
        error = "nie można nasłuchiwać na 127.0.0.1:" + std::to_string(port) +
                " (port zajęty albo niedozwolony)";
        port_ = -1;
        return -1;
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // A stop before the server runs would not reach it and leave its thread waiting.
    while (!server_->is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return port_;
}

void WebServer::Stop() {
    hub_.Stop();
    if (thread_.joinable()) {
        server_->stop();
        thread_.join();
    }
}

}  // namespace app::web
