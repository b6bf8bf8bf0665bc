// The web server's answers to requests, through HTTP on 127.0.0.1: what it refuses (with
// which 4xx status) changes nothing, and a line is taken only when a prompt waits for it and
// only from the tab in control. Also `--serve [PORT]` among the program's options.
#include <gtest/gtest.h>

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <tuple>

#include "app/program.h"
#include "app/web/json.h"
#include "app/web/web_hub.h"
#include "app/web/web_server.h"

namespace {

using app::web::WebHub;
using app::web::WebServer;

class WebServerTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        port_ = server_.Start(0, error);
        ASSERT_GT(port_, 0) << error;
        hub_.OpenStream("first");  // the tab in control
        hub_.OpenStream("second");
    }

    httplib::Result Post(const std::string& path, const std::string& body, const char* tab,
                         const std::string& host = "") {
        httplib::Client client("127.0.0.1", port_);
        httplib::Headers headers;
        if (tab != nullptr)
            headers.emplace("X-Armavo-Tab", tab);
        if (!host.empty())
            headers.emplace("Host", host);
        return client.Post(path, headers, body, "text/plain");
    }
    httplib::Result Get(const std::string& path) {
        return httplib::Client("127.0.0.1", port_).Get(path);
    }

    // The line the session receives next, if one comes soon.
    std::optional<std::string> Received() {
        auto line = std::async(std::launch::async, [this] { return hub_.WaitForLine(); });
        if (line.wait_for(std::chrono::milliseconds(300)) != std::future_status::ready)
            hub_.Stop();  // ends the wait
        return line.get();
    }

    WebHub hub_;
    WebServer server_{hub_};
    int port_ = -1;
};

TEST_F(WebServerTest, BadRequestsGetAClearRefusalAndReachNothing) {
    struct Case {
        const char* what;
        std::string method, path, body;
        const char* tab;
        std::string host;
        int status;
    };
    const std::string tooLong(app::web::kMaxLineBytes + 1, 'x');
    const Case cases[] = {
        {"unknown path", "GET", "/etc/passwd", "", nullptr, "", 404},
        {"unknown post path", "POST", "/command", "WPR", "first", "", 404},
        {"wrong method", "GET", "/input", "", nullptr, "", 405},
        {"no tab", "POST", "/input", "WPR", nullptr, "", 400},
        {"malformed tab", "POST", "/input", "WPR", "a b", "", 400},
        {"two lines in one", "POST", "/input", "WPR\nQUIT", "first", "", 400},
        {"control character", "POST", "/input", std::string("WPR\0", 4), "first", "", 400},
        {"not UTF-8", "POST", "/input", "\xC5\x22", "first", "", 400},
        {"line too long", "POST", "/input", tooLong, "first", "", 413},
        {"body too large", "POST", "/input", std::string(200000, 'x'), "first", "", 413},
        {"a watching tab", "POST", "/input", "QUIT", "second", "", 403},
        {"an unknown tab", "POST", "/input", "QUIT", "third", "", 403},
        {"a foreign host name", "POST", "/input", "QUIT", "first", "evil.example:80", 403},
        {"a foreign name on this port", "POST", "/input", "QUIT", "first",
         "evil.example:" + std::to_string(port_), 403},
        {"events without a tab", "GET", "/events", "", nullptr, "", 400},
    };
    hub_.Publish("{}");  // a prompt waits, so only the request itself can be the fault
    for (const Case& c : cases) {
        httplib::Result r = c.method == "GET" ? Get(c.path) : Post(c.path, c.body, c.tab, c.host);
        ASSERT_TRUE(r) << c.what;
        EXPECT_EQ(r->status, c.status) << c.what;
        EXPECT_FALSE(r->body.empty()) << c.what << ": a refusal says why";
    }
    // The prompt still waits for its line: the first sound one is the one it gets.
    EXPECT_EQ(Post("/input", "WPR", "first")->status, 204);
    EXPECT_EQ(Received(), std::optional<std::string>("WPR"));
}

TEST_F(WebServerTest, OneLinePerPromptAndNoneWhileNothingWaits) {
    EXPECT_EQ(Post("/input", "WPR", "first")->status, 409);  // nothing waits yet
    hub_.Publish("{}");
    EXPECT_EQ(Post("/input", "0,0", "first")->status, 204);
    EXPECT_EQ(Post("/input", "100,0", "first")->status, 409);  // the next prompt is not asked yet
    EXPECT_EQ(Received(), std::optional<std::string>("0,0"));
    // Control passes on when the first tab's stream closes.
    hub_.Publish("{}");
    hub_.CloseStream("first");
    EXPECT_EQ(Post("/input", "^C", "first")->status, 403);
    EXPECT_EQ(Post("/input", "^C", "second")->status, 204);
    EXPECT_EQ(Received(), std::optional<std::string>("^C"));
}

TEST_F(WebServerTest, StreamsBeyondTheLimitAreRefused) {
    for (size_t n = 2; n < WebHub::kMaxStreams; ++n) {
        ASSERT_TRUE(hub_.OpenStream("tab" + std::to_string(n)));
    }
    EXPECT_EQ(Get("/events?tab=onemore")->status, 429);
    EXPECT_FALSE(hub_.InControl("onemore"));
    hub_.CloseStream("tab2");
    EXPECT_TRUE(hub_.OpenStream("onemore"));
}

TEST_F(WebServerTest, IdleAndHalfSentConnectionsNeverStarveThePage) {
    // 300 connections that send nothing and 20 that send half a request, all kept open.
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port_));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const std::string half =
        "POST /input HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 9\r\n\r\nWPR";
    std::vector<int> held;
    for (int i = 0; i < 320; ++i) {
        held.push_back(socket(AF_INET, SOCK_STREAM, 0));
        ASSERT_EQ(connect(held.back(), reinterpret_cast<sockaddr*>(&to), sizeof to), 0) << i;
        if (i >= 300)
            send(held.back(), half.data(), half.size(), MSG_NOSIGNAL);
    }
    // A starved server would leave the page's request unanswered past these timeouts.
    httplib::Client client("127.0.0.1", port_);
    client.set_connection_timeout(2);
    client.set_read_timeout(2);
    httplib::Result r = client.Get("/style.css");
    for (int sock : held)
        close(sock);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 200);
}

// Drawing texts reach the page as JSON strings whatever they hold.
TEST(WebJson, TextsAreEscaped) {
    EXPECT_EQ(app::web::JsonString("a\"b\\c\nd\x01ż\xFF"), "\"a\\\"b\\\\c\\nd\\u0001ż\\ufffd\"");
}

TEST(WebHubTranscript, ALatePageGetsTheLatestOutput) {
    WebHub hub;
    const std::string chunk(1000, 'x');
    for (size_t n = 0; n < 3 * WebHub::kTranscriptKept / chunk.size(); ++n) {
        hub.AppendOutput(chunk);
    }
    hub.AppendOutput("Polecenie: ");
    WebHub::Cursor cursor;
    const std::string events = hub.NextEvents("late", cursor, std::chrono::milliseconds(0));
    const size_t output = events.find("event: output\ndata: \"");
    const size_t end = events.find("\"\n\n", output);
    ASSERT_NE(output, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    const std::string text = events.substr(output + 21, end - output - 21);
    EXPECT_LE(text.size(), WebHub::kTranscriptKept);
    EXPECT_GE(text.size(), WebHub::kTranscriptKept / 2);
    EXPECT_EQ(text.substr(text.size() - 11), "Polecenie: ");
    // Nothing new: the next call sends nothing.
    EXPECT_EQ(hub.NextEvents("late", cursor, std::chrono::milliseconds(0)), "");
}

TEST_F(WebServerTest, APortInUseIsRefusedAtStart) {
    WebHub otherHub;
    WebServer second(otherHub);
    std::string error;
    EXPECT_EQ(second.Start(port_, error), -1);
    EXPECT_NE(error.find(std::to_string(port_)), std::string::npos) << error;
}

TEST(Options, ServeTakesAnOptionalPort) {
    // The arguments; whether they are taken, and then the port (-1: no --serve) and drawing.
    const std::tuple<std::vector<std::string>, bool, int, const char*> cases[] = {
        {{"--serve"}, true, app::kDefaultServePort, ""},
        {{"--serve", "9000"}, true, 9000, ""},
        {{"--serve", "0", "a.dxf"}, true, 0, "a.dxf"},
        {{"--serve", "a.dxf"}, true, app::kDefaultServePort, "a.dxf"},
        {{"a.dxf"}, true, -1, "a.dxf"},
        {{"--serve", "65536"}, false, 0, ""},
        {{"--serve", "99999999999"}, false, 0, ""},
        {{"--serve", "--serve"}, false, 0, ""},
        {{"--serve", "--script", "s.txt"}, false, 0, ""},
    };
    for (const auto& [args, ok, port, drawing] : cases) {
        std::optional<app::Options> o = app::ParseOptions(args);
        ASSERT_EQ(o.has_value(), ok) << testing::PrintToString(args);
        if (o) {
            EXPECT_EQ(o->servePort.value_or(-1), port) << testing::PrintToString(args);
            EXPECT_EQ(o->drawingFile, drawing);
        }
    }
}

}  // namespace
