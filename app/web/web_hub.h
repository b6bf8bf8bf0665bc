// What the session and the web server share, each on its own thread: the transcript, the
// state the page shows, the picture of the drawing, the PDF plotted last, and the one answer
// the session waits for.
// The session publishes and waits; the server hands answers in and streams what changed.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace app::web {

// Why a line from the page was not taken.
enum class Verdict { Taken, NoPrompt, NotInControl, Stopped };

class WebHub {
  public:
    // Where a stream stands: what it has been sent so far.
    struct Cursor {
        uint64_t output = 0;
        uint64_t state = 0;
        uint64_t control = 0;
        bool started = false;
    };

    // ---- The session's side ----
    void AppendOutput(std::string_view text);
    // The session now waits for a line: the page's state (JSON).
    void Publish(std::string stateJson);
    // The drawing's picture and where the drawing lies in it (JSON); its version changes only
    // when the picture does. Returns the version.
    uint64_t SetPicture(std::string svg, std::string placementJson);
    // The PDF that PLOT wrote last: its file's name (without folder) and bytes.
    void SetPlot(std::string name, std::string bytes);
    // Blocks until the page answers; nothing once the hub is stopped.
    std::optional<std::string> WaitForLine();
    void Stop();

    // ---- The server's side ----
    Verdict SubmitLine(std::string_view tab, std::string line);
    // A page's event stream opened or closed. The tab whose stream opened first among those
    // open is in control; the others watch. No more than kMaxStreams are open at once, so
    // that streams never take every worker of the server: false for one too many.
    static constexpr size_t kMaxStreams = 8;
    bool OpenStream(std::string_view tab);
    void CloseStream(std::string_view tab);
    bool InControl(std::string_view tab) const;
    // The server-sent events due to a stream since its cursor, waiting up to `wait` for any;
    // empty when nothing came.
    std::string NextEvents(std::string_view tab, Cursor& cursor, std::chrono::milliseconds wait);
    // {"version":n,"placement":{...},"svg":"..."}
    std::string PictureJson() const;
    // The PDF that PLOT wrote last; false before the first.
    bool Plot(std::string& name, std::string& bytes) const;
    bool Stopped() const;

    // The most transcript kept for a page that opens late.
    static constexpr size_t kTranscriptKept = 1 << 20;

  private:
    bool InControlLocked(std::string_view tab) const;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::string transcript_;
    uint64_t transcriptBase_ = 0;  // how much was dropped from the front
    std::string state_ = "null";
    uint64_t stateVersion_ = 0;
    uint64_t promptSerial_ = 0;  // counts the prompts published, so a page knows which it answered
    bool waiting_ = false;
    std::optional<std::string> line_;
    std::string svg_;
    std::string placement_ = "null";
    uint64_t pictureVersion_ = 0;
    std::optional<std::pair<std::string, std::string>> plot_;  // name, bytes
    std::vector<std::string> streams_;  // tabs with an open stream, in opening order
    uint64_t controlVersion_ = 0;
    bool stopped_ = false;
};

}  // namespace app::web
