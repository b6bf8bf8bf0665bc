// The hub between the session's thread and the web server's threads.
#include "app/web/web_hub.h"

#include <algorithm>

#include "app/web/json.h"

namespace app::web {

void WebHub::AppendOutput(std::string_view text) {
    std::lock_guard lock(mutex_);
    transcript_.append(text);
    if (transcript_.size() > kTranscriptKept) {
        const size_t drop = transcript_.size() - kTranscriptKept / 2;
        transcript_.erase(0, drop);
        transcriptBase_ += drop;
    }
    changed_.notify_all();
}

void WebHub::Publish(std::string stateJson) {
    std::lock_guard lock(mutex_);
    state_ = std::move(stateJson);
    waiting_ = true;
    ++promptSerial_;
    ++stateVersion_;
    changed_.notify_all();
}

uint64_t WebHub::SetPicture(std::string svg, std::string placementJson) {
    std::lock_guard lock(mutex_);
    if (svg != svg_ || placementJson != placement_ || pictureVersion_ == 0) {
        svg_ = std::move(svg);
        placement_ = std::move(placementJson);
        ++pictureVersion_;
    }
    return pictureVersion_;
}

void WebHub::SetPlot(std::string name, std::string bytes) {
    std::lock_guard lock(mutex_);
    plot_.emplace(std::move(name), std::move(bytes));
}

bool WebHub::Plot(std::string& name, std::string& bytes) const {
    std::lock_guard lock(mutex_);
    if (!plot_)
        return false;
    name = plot_->first;
    bytes = plot_->second;
    return true;
}

std::optional<std::string> WebHub::WaitForLine() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return line_.has_value() || stopped_; });
    if (stopped_) {
        return std::nullopt;
    }
    std::optional<std::string> line = std::move(line_);
    line_.reset();
    return line;
}

void WebHub::Stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    waiting_ = false;
    changed_.notify_all();
}

bool WebHub::Stopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
}

Verdict WebHub::SubmitLine(std::string_view tab, std::string line) {
    std::lock_guard lock(mutex_);
    if (stopped_) {
        return Verdict::Stopped;
    }
    if (!InControlLocked(tab)) {
        return Verdict::NotInControl;
    }
    // One answer per prompt: a second one before the session asks again would answer a
    // prompt the user has not seen yet.
    if (!waiting_ || line_) {
        return Verdict::NoPrompt;
    }
    line_ = std::move(line);
    waiting_ = false;
    ++stateVersion_;
    changed_.notify_all();
    return Verdict::Taken;
}

bool WebHub::OpenStream(std::string_view tab) {
    std::lock_guard lock(mutex_);
    if (streams_.size() >= kMaxStreams) {
        return false;
    }
    streams_.emplace_back(tab);
    ++controlVersion_;
    changed_.notify_all();
    return true;
}

void WebHub::CloseStream(std::string_view tab) {
    std::lock_guard lock(mutex_);
    auto it = std::find(streams_.begin(), streams_.end(), tab);
    if (it != streams_.end()) {
        streams_.erase(it);
        ++controlVersion_;
        changed_.notify_all();
    }
}

bool WebHub::InControlLocked(std::string_view tab) const {
    return !streams_.empty() && streams_.front() == tab;
}

bool WebHub::InControl(std::string_view tab) const {
    std::lock_guard lock(mutex_);
    return InControlLocked(tab);
}

std::string WebHub::NextEvents(std::string_view tab, Cursor& cursor,
                               std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    const auto due = [&] {
        return stopped_ || !cursor.started ||
               cursor.output < transcriptBase_ + transcript_.size() ||
               cursor.state != stateVersion_ || cursor.control != controlVersion_;
    };
    changed_.wait_for(lock, wait, due);
    std::string events;
    const uint64_t end = transcriptBase_ + transcript_.size();
    if (cursor.output < end) {
        const uint64_t from = std::max(cursor.output, transcriptBase_);
        events += "event: output\ndata: " +
                  JsonString(std::string_view(transcript_).substr(from - transcriptBase_)) + "\n\n";
        cursor.output = end;
    }
    if (!cursor.started || cursor.state != stateVersion_ || cursor.control != controlVersion_ ||
        stopped_) {
        JsonBuilder b;
        b.Open('{')
            .Key("control")
            .Bool(InControlLocked(tab))
            .Key("waiting")
            .Bool(waiting_ && !line_)
            .Key("prompt")
            .Number(static_cast<double>(promptSerial_))
            .Key("ended")
            .Bool(stopped_)
            .Key("session")
            .Raw(state_)
            .Close('}');
        events += "event: state\ndata: " + b.Text() + "\n\n";
        cursor.state = stateVersion_;
        cursor.control = controlVersion_;
        cursor.started = true;
    }
    return events;
}

std::string WebHub::PictureJson() const {
    std::lock_guard lock(mutex_);
    JsonBuilder b;
    b.Open('{')
        .Key("version")
        .Number(static_cast<double>(pictureVersion_))
        .Key("placement")
        .Raw(placement_)
        .Key("svg")
        .String(svg_)
        .Close('}');
    return b.Text();
}

}  // namespace app::web
