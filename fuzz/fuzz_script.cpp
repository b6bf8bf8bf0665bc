// libFuzzer target: any bytes as script lines through the whole program in-process (host,
// module, scripted window back end) on a fresh drawing. Faults show as crashes, sanitizer
// reports or the host's aborts on broken invariants.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"
#include "module/frame/entry_point.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace {

// At most kMaxLines lines of at most kMaxLineBytes bytes each are played.
constexpr size_t kMaxLines = 400;
constexpr size_t kMaxLineBytes = 256;

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

// The lines the bytes stand for: split at line ends (a trailing carriage return dropped),
// bounded; lines naming the drawing-file verbs (OPEN, SAVE, EXPORT) are left out, so that no
// input touches files.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
