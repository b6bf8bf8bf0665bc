// The scenario-test kit: an in-memory script, a captured transcript and drawing dumps.
#include "tests/support/scenario.h"

#include <unistd.h>

#include <filesystem>
#include <set>
#include <utility>

#include "host/document.h"
#include "host/entity_listing.h"
#include "host/input_sources.h"
#include "platform/backend.h"
#include "platform/console.h"
#include "platform/registry.h"
#include "platform/script_panel.h"
#ifdef ARMAVO_TESTKIT_FILES
#include "host/file_commands.h"
#endif

namespace testkit {
namespace {

int g_lastStatus = 0;
std::string g_lastSettings;

void Capture(std::string_view text, void* context) {
    static_cast<std::string*>(context)->append(text);
}

std::string FreshSettingsFile() {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("armavo-testkit-" + std::to_string(getpid()));
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    std::filesystem::path file = dir / "settings";
    std::filesystem::remove(file, error);
    return file.string();
}

bool Hex(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
}

void DumpInto(const sds_name object, const std::string& indent, std::set<std::string>& seen,
              std::string& out) {
    struct resbuf* list = sds_entget(object);
    if (list == nullptr) {
        out += indent + "nil\n";
        return;
    }
    std::vector<std::pair<long, long>> owned;
    for (const struct resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        out += indent + host::FormatGroup(rb) + "\n";
        if (rb->restype == 360 || rb->restype == 350) {
            owned.emplace_back(rb->resval.rlname[0], rb->resval.rlname[1]);
        }
    }
    sds_relrb(list);
    for (const auto& [a, b] : owned) {
        sds_name child = {a, b};
        std::string handle = host::HandleOf(child);
        // Each object once: dictionaries may point at each other.
        if (!Hex(handle) || !seen.insert(handle).second) {
            continue;
        }
        DumpInto(child, indent + "  ", seen, out);
    }
}

// Calls `visit` with each live entity in creation order (ssget "X").
template <class Visit>
void ForEachLive(Visit visit) {
    sds_name set = {0, 0};
    if (sds_ssget("X", nullptr, nullptr, nullptr, set) != RTNORM)
        return;
    long length = 0;
    sds_sslength(set, &length);
    for (long i = 0; i < length; ++i) {
        sds_name entity = {0, 0};
        if (sds_ssname(set, i, entity) == RTNORM)
            visit(entity);
    }
    sds_ssfree(set);
}

}  // namespace

std::string RunScenario(const std::vector<std::string>& lines, const ScenarioOptions& options) {
    g_lastSettings = options.settingsFile.empty() ? FreshSettingsFile() : options.settingsFile;
    platform::SetSettingsFile(g_lastSettings);
    platform::SetBackend(platform::ScriptedBackend());
    // The verbs the program registers, so that scripts read as they would in armavo.
    host::RegisterVerb("PANEL", platform::HandlePanelCommand);
#ifdef ARMAVO_TESTKIT_FILES
    host::RegisterFileCommands();
#endif
    if (options.newDrawing) {
        host::NewDrawing();
    }
    std::string transcript;
    host::MemoryInput input(lines, options.echo);
    platform::LineInput* previousInput = platform::GetLineInput();
    platform::SetLineInput(&input);
    platform::SetOutputSink(Capture, &transcript);
    host::ResetOutputColumn();
    g_lastStatus = host::Run(options.entry);
    platform::SetOutputSink(nullptr, nullptr);
    platform::SetLineInput(previousInput);
    host::ResetOutputColumn();
    return transcript;
}

int LastScenarioStatus() {
    return g_lastStatus;
}
std::string LastSettingsFile() {
    return g_lastSettings;
}

std::vector<EntityDump> LiveEntities() {
    std::vector<EntityDump> result;
    ForEachLive([&](const sds_name entity) {
        struct resbuf* list = sds_entget(entity);
        EntityDump dump;
        for (const struct resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
            if (rb->restype == 0 && rb->resval.rstring != nullptr) {
                dump.type = rb->resval.rstring;
            } else if (rb->restype == 5 && rb->resval.rstring != nullptr) {
                dump.handle = rb->resval.rstring;
            }
        }
        dump.groups = host::FormatList(list);
        sds_relrb(list);
        result.push_back(std::move(dump));
    });
    return result;
}

std::vector<std::string> LiveHandles() {
    std::vector<std::string> handles;
    for (const EntityDump& e : LiveEntities()) {
        handles.push_back(e.handle);
    }
    return handles;
}

std::string DumpObject(const sds_name object) {
    std::set<std::string> seen;
    seen.insert(host::HandleOf(object));
    std::string out;
    DumpInto(object, "", seen, out);
    return out;
}

std::string DumpDrawing() {
    std::string out;
    ForEachLive(
        [&](const sds_name entity) { out += (out.empty() ? "" : "\n") + DumpObject(entity); });
    return out;
}

std::string DumpNamedObjects() {
    sds_name dict = {0, 0};
    if (sds_namedobjdict(dict) != RTNORM) {
        return {};
    }
    return DumpObject(dict);
}

}  // namespace testkit
