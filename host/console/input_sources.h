// Where the host's lines come from (a script file, the terminal, standard input, a list in
// a test) and how its output keeps track of line starts so messages stand on their own line.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.h"

namespace host {

// Writes through platform::WriteOutput and remembers whether the output now stands at the
// start of a line.
void Print(std::string_view text);
// Writes a message on a line of its own: a line break first when the output is mid-line.
void PrintLine(std::string_view message);
bool AtLineStart();
// Marks the output as standing at a line start (a fresh transcript).
void ResetOutputColumn();

// A line source that ends in order: after the input has ended every read sees the end, and
// a caller that keeps reading is cut off, because a prompt asked again and again after the
// end would otherwise never let the program finish. Sources that replay text the user did
// not type on this screen (scripts, lists, piped input) echo each line after its prompt so
// that a transcript reads like a session.
class LineSource : public platform::LineInput {
  public:
    // Reads allowed after the end of the input before the program is shut down.
    static constexpr int kReadsAfterEnd = 100;

    std::optional<std::string> Next(std::string_view prompt) final;
    int ReadsAfterEnd() const { return readsAfterEnd_; }
    // The number of the line read last, counting comment lines (as an editor numbers them).
    int LineNumber() const { return lineNumber_; }
    // A user typing live (the terminal): the end of the input (Ctrl+D) is then a key like
    // any other and reading goes on after it; a script's end is final.
    virtual bool Interactive() const { return false; }

  protected:
    explicit LineSource(bool echo) : echo_(echo) {}
    // The next raw line, or nothing at the end.
    virtual std::optional<std::string> Fetch(std::string_view prompt) = 0;

  private:
    bool echo_;
    bool ended_ = false;
    int readsAfterEnd_ = 0;
    int lineNumber_ = 0;
};

// Lines given in advance (tests, and the scenario kit).
class MemoryInput : public LineSource {
  public:
    explicit MemoryInput(std::vector<std::string> lines, bool echo = true)
        : LineSource(echo), lines_(std::move(lines)) {}

  protected:
    std::optional<std::string> Fetch(std::string_view prompt) override;

  private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

// A script file, or any stream such as piped standard input; comment lines are not echoed.
class StreamInput : public LineSource {
  public:
    // Takes ownership of the file when `owned`; a null file is an input that has ended.
    StreamInput(std::FILE* file, bool owned, bool echo = true)
        : LineSource(echo), file_(file), owned_(owned) {}
    ~StreamInput() override;
    StreamInput(const StreamInput&) = delete;
    StreamInput& operator=(const StreamInput&) = delete;
    // Opens a script; nothing when the file cannot be read.
    static std::optional<std::string> Check(const std::string& path);

  protected:
    std::optional<std::string> Fetch(std::string_view prompt) override;

  private:
    std::FILE* file_;
    bool owned_;
};

// The terminal with line editing and history (GNU readline). The prompt's last line is
// handed to readline so that editing redraws it correctly.
class TerminalInput : public LineSource {
  public:
    TerminalInput();
    bool Interactive() const override { return true; }

  protected:
    std::optional<std::string> Fetch(std::string_view prompt) override;
};

}  // namespace host
