// The shared line source and output of the command line, the dialogs and the message boxes.
#include "platform/console.h"

#include <cstdio>

namespace platform {
namespace {

LineInput* g_input = nullptr;
InputRequest g_request;
OutputSink g_sink = nullptr;
void* g_sinkContext = nullptr;

bool IsCommentLine(const std::string& line) {
    size_t i = line.find_first_not_of(" \t");
    return i != std::string::npos && line[i] == '#';
}

}  // namespace

void SetLineInput(LineInput* input) {
    g_input = input;
}
LineInput* GetLineInput() {
    return g_input;
}

const InputRequest& CurrentRequest() {
    return g_request;
}

std::optional<std::string> ReadLine(std::string_view prompt, const InputRequest& request) {
    g_request = request;
    if (g_input == nullptr) {
        return std::nullopt;
    }
    for (;;) {
        std::optional<std::string> line = g_input->Next(prompt);
        if (!line) {
            return std::nullopt;
        }
        if (!line->empty() && line->back() == '\r') {
            line->pop_back();
        }
        if (!IsCommentLine(*line)) {
            return line;
        }
    }
}

void SetOutputSink(OutputSink sink, void* context) {
    g_sink = sink;
    g_sinkContext = context;
}

void WriteOutput(std::string_view text) {
    if (g_sink != nullptr) {
        g_sink(text, g_sinkContext);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace platform
