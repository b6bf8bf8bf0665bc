// Fuzz input as script lines through the whole program in-process.
#include "fuzz/script_input.h"

#include <string_view>

#include "host/host.h"
#include "module/frame/entry_point.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace fuzzing {
namespace {

// The first word of a line without a leading "_", upper-cased (ASCII).
std::string Verb(std::string_view line) {
    size_t from = line.find_first_not_of(" \t");
    if (from == std::string_view::npos)
        return "";
    if (line[from] == '_')
        ++from;
    std::string verb;
    for (size_t i = from; i < line.size() && line[i] != ' ' && line[i] != '\t'; ++i) {
        char c = line[i];
        verb += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return verb;
}

bool TouchesFiles(std::string_view line) {
    const std::string verb = Verb(line);
    return verb == "OPEN" || verb == "SAVE" || verb == "EXPORT" || verb == "PLOT";
}

}  // namespace

std::vector<std::string> ScriptLines(const uint8_t* data, size_t size) {
    std::vector<std::string> lines;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty() && lines.size() < kMaxLines) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > kMaxLineBytes)
            line = line.substr(0, kMaxLineBytes);
        if (!TouchesFiles(line))
            lines.emplace_back(line);
    }
    return lines;
}

int RunScriptInput(const uint8_t* data, size_t size) {
    testkit::ScenarioOptions options;
    options.entry = SDS_EntryPoint;
    options.echo = false;
    // Typed, so that a failed command does not end the run before the rest of the input is
    // played; without files, so that no answer to a save question writes one.
    options.typed = true;
    options.files = false;
    testkit::RunScenario(ScriptLines(data, size), options);
    // Findings are not faults here (a user may ERASE a bar and leave a gap); the audit runs
    // for the invariants it checks first and for reading whatever the input left.
    testkit::AuditDrawing();
    return 0;
}

}  // namespace fuzzing
