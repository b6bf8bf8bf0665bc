// The host's line sources and its line-aware output.
#include "host/console/input_sources.h"

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>

#include <readline/history.h>
#include <readline/readline.h>

#include "host/host.h"

namespace host {
namespace {

bool g_atLineStart = true;

bool IsComment(const std::string& line) {
    size_t i = line.find_first_not_of(" \t");
    return i != std::string::npos && line[i] == '#';
}

// Ctrl+C at the terminal is the user's Esc: the signal only marks it, and the key reader
// hands readline a Ctrl+C key, which answers the prompt with "^C".
volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

int ReadKey(FILE* stream) {
    for (;;) {
        if (g_interrupted) {
            g_interrupted = 0;
            return 3;
        }
        unsigned char c = 0;
        ssize_t n = read(fileno(stream), &c, 1);
        if (n == 1) {
            return c;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return EOF;
    }
}

// How long a lone Esc waits for the rest of a key's sequence: a terminal sends a sequence
// at once, a user pressing Esc sees it act at once.
constexpr const char* kEscTimeoutMs = "50";

int CancelLine(int, int key) {
    rl_replace_line("^C", 0);
    rl_point = rl_end;
    rl_redisplay();
    return rl_newline(1, key);  // accepts the line as Enter would, ending it on screen
}

}  // namespace

void Print(std::string_view text) {
    if (text.empty()) {
        return;
    }
    platform::WriteOutput(text);
    g_atLineStart = text.back() == '\n';
}

void PrintLine(std::string_view message) {
    if (!g_atLineStart) {
        Print("\n");
    }
    Print(message);
    if (message.empty() || message.back() != '\n') {
        Print("\n");
    }
}

bool AtLineStart() {
    return g_atLineStart;
}

void ResetOutputColumn() {
    g_atLineStart = true;
}

std::optional<std::string> LineSource::Next(std::string_view prompt) {
    if (!ended_ || Interactive()) {
        for (;;) {
            std::optional<std::string> line = Fetch(prompt);
            if (!line) {
                ended_ = true;
                break;
            }
            ++lineNumber_;
            if (Interactive()) {
                readsAfterEnd_ = 0;  // the user is still there
            }
            if (!line->empty() && line->back() == '\r') {
                line->pop_back();
            }
            // Comments are skipped here rather than only in platform::ReadLine so that
            // they never reach the transcript.
            if (IsComment(*line)) {
                continue;
            }
            if (echo_) {
                Print(*line);
                Print("\n");
            }
            return line;
        }
    }
    if (++readsAfterEnd_ > kReadsAfterEnd) {
        PrintLine("Koniec danych wejściowych, a polecenie wciąż pyta: program kończy pracę.");
        throw HostShutdown{1};
    }
    return std::nullopt;
}

std::optional<std::string> MemoryInput::Fetch(std::string_view) {
    if (next_ >= lines_.size()) {
        return std::nullopt;
    }
    return lines_[next_++];
}

StreamInput::~StreamInput() {
    if (owned_ && file_ != nullptr) {
        std::fclose(file_);
    }
}

std::optional<std::string> StreamInput::Check(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (f == nullptr) {
        return std::nullopt;
    }
    std::fclose(f);
    return path;
}

std::optional<std::string> StreamInput::Fetch(std::string_view) {
    if (file_ == nullptr) {
        return std::nullopt;
    }
    std::string line;
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(file_)) != EOF) {
        any = true;
        if (c == '\n') {
            return line;
        }
        line += static_cast<char>(c);
    }
    if (!any) {
        return std::nullopt;
    }
    return line;  // the last line of a file without a final line break
}

TerminalInput::TerminalInput() : LineSource(false) {
    // Multibyte (UTF-8) editing needs the user's character type; numbers stay in the
    // C locale because only LC_CTYPE is taken.
    std::setlocale(LC_CTYPE, "");
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a blocked read returns so the key reader sees it
    sigaction(SIGINT, &action, nullptr);
    rl_catch_signals = 0;
    rl_getc_function = ReadKey;
    rl_bind_key(3, CancelLine);
    // Esc is the user's Esc too, not the prefix of a Meta key: bound over the prefix, it
    // cancels once no other key follows it within the key-sequence timeout, while the arrow
    // keys, whose sequences start with Esc and arrive at once, keep working.
    rl_bind_keyseq("\\e", CancelLine);
    rl_variable_bind("keyseq-timeout", kEscTimeoutMs);
}

std::optional<std::string> TerminalInput::Fetch(std::string_view prompt) {
    std::string lastLine(
        prompt.substr(prompt.rfind('\n') == std::string_view::npos ? 0 : prompt.rfind('\n') + 1));
    if (!lastLine.empty() && isatty(STDOUT_FILENO)) {
        // The prompt is already on the screen; readline draws its last line again itself,
        // so the line is cleared first to show it once.
        platform::WriteOutput("\r\x1b[K");
    }
    g_interrupted = 0;
    char* raw = readline(isatty(STDOUT_FILENO) ? lastLine.c_str() : "");
    if (raw == nullptr) {
        Print("\n");
        return std::nullopt;
    }
    std::string line(raw);
    std::free(raw);
    // A cancel (Esc, Ctrl+C) is no line to recall with the arrow keys.
    if (!line.empty() && line != "^C") {
        add_history(line.c_str());
    }
    ResetOutputColumn();
    return line;
}

}  // namespace host
