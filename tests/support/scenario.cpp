#include "tests/support/scenario.h"

#include <unistd.h>

#include <filesystem>
#include <utility>

#include "host/console/entity_listing.h"
#include "host/console/input_sources.h"
#include "host/console/unsaved_work.h"
#include "host/drawing/document.h"
#include "host/files/file_commands.h"
#include "platform/backend.h"
#include "platform/console.h"
#include "platform/registry.h"
#include "platform/script_panel.h"

namespace testkit {
namespace {

int g_lastStatus = 0;

// Lines typed live: "^D" stands for Ctrl+D.
class TypedInput : public host::MemoryInput {
  public:
    using MemoryInput::MemoryInput;
    bool Interactive() const override { return true; }

  protected:
    std::optional<std::string> Fetch(std::string_view prompt) override {
        std::optional<std::string> line = MemoryInput::Fetch(prompt);
        return line == "^D" ? std::nullopt : line;
    }
};
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
    host::RegisterTransparentVerb("PANEL", platform::HandleTransparentPanelCommand);
    host::RegisterFileCommands();
    if (!options.files) {
        for (const char* verb : {"OPEN", "SAVE", "EXPORT", "PLOT"})
            host::RegisterVerb(verb, nullptr);
        host::SetDrawingSaver(nullptr);
    }
    if (options.newDrawing)
        host::NewDrawing();
    std::string transcript;
    host::MemoryInput script(lines, options.echo);
    TypedInput typed(lines, options.echo);
    platform::LineInput* previousInput = platform::GetLineInput();
    platform::SetLineInput(options.typed ? static_cast<platform::LineInput*>(&typed) : &script);
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
            if ((rb->restype == 0 || rb->restype == 5) && rb->resval.rstring != nullptr)
                (rb->restype == 0 ? dump.type : dump.handle) = rb->resval.rstring;
        }
        dump.groups = host::FormatList(list);
        sds_relrb(list);
        result.push_back(std::move(dump));
    });
    return result;
}

std::vector<std::string> LiveHandles() {
    std::vector<std::string> handles;
    for (const EntityDump& e : LiveEntities())
        handles.push_back(e.handle);
    return handles;
}

std::string DumpDrawing() {
    std::string out;
    ForEachLive([&](const sds_name entity) {
        out += (out.empty() ? "" : "\n") + host::FormatObjectTree(entity);
    });
    return out;
}

std::string DumpNamedObjects() {
    sds_name dict = {0, 0};
    return sds_namedobjdict(dict) == RTNORM ? host::FormatObjectTree(dict) : std::string();
}

}  // namespace testkit
