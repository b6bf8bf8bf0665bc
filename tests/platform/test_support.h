// Test fixtures of the window framework: lines given as a list and output caught in a string.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/console.h"

namespace platform::testing {

class ListInput : public LineInput {
  public:
    explicit ListInput(std::vector<std::string> lines) : lines_(lines.begin(), lines.end()) {}
    std::optional<std::string> Next(std::string_view) override {
        if (lines_.empty()) {
            return std::nullopt;
        }
        std::string line = lines_.front();
        lines_.pop_front();
        return line;
    }
    size_t Remaining() const { return lines_.size(); }

  private:
    std::deque<std::string> lines_;
};

// Installs a list of input lines and catches the output for the life of the object.
class Session {
  public:
    explicit Session(std::vector<std::string> lines = {}) : input_(std::move(lines)) {
        SetLineInput(&input_);
        SetOutputSink(&Session::Sink, this);
        SetBackend(ScriptedBackend());
    }
    ~Session() {
        SetLineInput(nullptr);
        SetOutputSink(nullptr, nullptr);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const std::string& Output() const { return output_; }
    bool Printed(std::string_view text) const { return output_.find(text) != std::string::npos; }
    size_t Remaining() const { return input_.Remaining(); }
    void ClearOutput() { output_.clear(); }

  private:
    static void Sink(std::string_view text, void* context) {
        static_cast<Session*>(context)->output_ += std::string(text);
    }
    ListInput input_;
    std::string output_;
};

}  // namespace platform::testing
