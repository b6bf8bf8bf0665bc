// Wiring of the program: settings file, line source and user-interface back end, the
// PANEL verb, the drawing given on the command line, then the host's session.
#include "app/program.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/web/web_front_end.h"
#include "host/console/command_line.h"
#include "host/console/input_sources.h"
#include "host/drawing/document.h"
#include "host/files/file_commands.h"
#include "platform/backend.h"
#include "platform/console.h"
#include "platform/registry.h"
#include "platform/script_panel.h"

namespace app {
namespace {

bool IsNumber(const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args) {
    Options options;
    bool drawingGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--settings" || a == "--script") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return std::nullopt;
            }
            (a == "--settings" ? options.settingsFile : options.scriptFile) = args[++i];
        } else if (a == "--serve") {
            if (options.servePort) {
                return std::nullopt;
            }
            options.servePort = kDefaultServePort;
            if (i + 1 < args.size() && IsNumber(args[i + 1])) {
                const std::string& port = args[++i];
                if (port.size() > 5 || std::stoi(port) > 65535) {
                    return std::nullopt;
                }
                options.servePort = std::stoi(port);
            }
        } else if (!a.empty() && a.front() == '-') {
            return std::nullopt;
        } else if (drawingGiven || a.empty()) {
            return std::nullopt;
        } else {
            options.drawingFile = a;
            drawingGiven = true;
        }
    }
    if (options.servePort && !options.scriptFile.empty()) {
        return std::nullopt;  // one source of lines at a time
    }
    return options;
}

int RunProgram(int argc, char** argv, host::EntryPoint entry) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    std::optional<Options> options = ParseOptions(args);
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!options->settingsFile.empty()) {
        platform::SetSettingsFile(options->settingsFile);
    }

    std::unique_ptr<host::LineSource> input;
    std::unique_ptr<web::WebFrontEnd> page;
    if (options->servePort) {
        page = std::make_unique<web::WebFrontEnd>();
        if (!page->Start(*options->servePort)) {
            return 2;
        }
    } else if (!options->scriptFile.empty()) {
        std::FILE* script = std::fopen(options->scriptFile.c_str(), "r");
        // A folder opens for reading on this system but yields no lines; taken for an empty
        // script it would end the run at once and report success.
        struct stat info {};
        const int openError = script == nullptr                                            ? errno
                              : fstat(fileno(script), &info) == 0 && S_ISDIR(info.st_mode) ? EISDIR
                                                                                           : 0;
        if (openError != 0) {
            if (script != nullptr) {
                std::fclose(script);
            }
            std::fprintf(stderr, "Nie można otworzyć skryptu %s: %s\n", options->scriptFile.c_str(),
                         std::strerror(openError));
            return 2;
        }
        input = std::make_unique<host::StreamInput>(script, true);
    } else if (isatty(STDIN_FILENO)) {
        input = std::make_unique<host::TerminalInput>();
        platform::SetBackend(platform::TerminalBackend());
    } else {
        input = std::make_unique<host::StreamInput>(stdin, false);
    }
    if (input) {
        platform::SetLineInput(input.get());
    }

    host::RegisterVerb("PANEL", platform::HandlePanelCommand);
    host::RegisterTransparentVerb("PANEL", platform::HandleTransparentPanelCommand);
    host::RegisterFileCommands();
    host::NewDrawing();

    int status = 0;
    try {
        // A drawing that cannot be read ends the program before any line runs: a session on
        // an empty drawing could otherwise save over the very file the user meant to open.
        if (!options->drawingFile.empty() && !host::HasVerb("OPEN")) {
            host::PrintLine("Nie można otworzyć rysunku " + options->drawingFile +
                            ": ten program nie czyta plików DXF.");
            status = 1;
        } else if (!options->drawingFile.empty() &&
                   !host::RunVerb("OPEN", {options->drawingFile})) {
            status = 1;  // the verb has told why
        } else {
            status = host::Run(entry);
        }
    } catch (const host::HostShutdown& shutdown) {
        status = shutdown.status;
    }
    if (!host::AtLineStart()) {
        host::Print("\n");  // leave the shell's prompt on a line of its own
    }
    if (page) {
        page->Stop();
    }
    platform::SetLineInput(nullptr);
    return status;
}

}  // namespace app
