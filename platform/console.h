// The one stream of user lines and the one output that the command line, the dialogs and
// the message boxes share, so that a script answers prompts and dialogs in the order given.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A source of the lines a user types: a script file, the terminal, or a list in a test.
class LineInput {
  public:
    virtual ~LineInput() = default;
    // The next line without its line end, or nothing at the end of the input. The prompt has
    // already been written to the output; an interactive source may show it again itself.
    virtual std::optional<std::string> Next(std::string_view prompt) = 0;
};

// The current line source (none at start: every read then sees the end of the input).
void SetLineInput(LineInput* input);
LineInput* GetLineInput();

// What the line being read answers, for a front end that offers more than a line of text
// (clicks on the drawing, buttons for keywords, a form for a dialog).
enum class InputKind { Text, Command, Point, Pick, Number, Keyword, Dialog, Question };
struct InputRequest {
    InputKind kind = InputKind::Text;
    bool hasBase = false;  // a point prompt measured from a base point (rubber band)
    double base[3] = {0.0, 0.0, 0.0};
    std::vector<std::string> keywords;  // as the prompt accepts them in full
};

// Reads the next line from the current source; comment lines ("# ...") are skipped here so
// that every reader treats them alike. `request` says what the line answers; it stays
// readable through CurrentRequest() while the source waits for the line.
std::optional<std::string> ReadLine(std::string_view prompt, const InputRequest& request = {});
const InputRequest& CurrentRequest();

// Where prompts, messages and printed dialogs go: standard output unless a sink is set.
using OutputSink = void (*)(std::string_view text, void* context);
void SetOutputSink(OutputSink sink, void* context);
void WriteOutput(std::string_view text);

}  // namespace platform
