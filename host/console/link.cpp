// The link between the host and its module: the load, function and end requests answered
// from inside sds_link, with the command line running there in between (one thread).
#include "host/console/link.h"

#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>

#include "host/console/command_line.h"
#include "host/host.h"
#include "host/console/input_sources.h"
#include "host/console/input_text.h"
#include "host/console/prompts.h"
#include "host/console/run_status.h"
#include "host/sds.h"
#include "platform/window.h"

#ifndef ARMAVO_DOCS_DIR
#define ARMAVO_DOCS_DIR "docs"
#endif

namespace host {
namespace {

constexpr const char* kAppName = "armavo";

// One session of the module, from host::Run until it returns.
struct Session {
    bool running = false;
    bool loadSent = false;
    bool endSent = false;
    bool inModuleCommand = false;
    int funcode = -1;
    std::vector<std::string> words;  // the current command name and what followed it
    ModuleFinish finish;             // the host command that handed this request over
};

// What the module handed with sds_exportdata during the current request, if it did.
std::optional<std::string> g_handed;

Session g_session;
LinkRecord g_record;

// The request that follows the command line: a module command or the end.
int NextRequest() {
    CommandRequest request = RunCommandLine();
    if (request.kind != CommandRequest::Kind::ModuleCommand) {
        g_session.endSent = true;
        return RQEND;
    }
    g_session.inModuleCommand = true;
    g_session.funcode = request.funcode;
    g_session.words = request.words;
    g_session.words.insert(g_session.words.begin(), request.name);
    g_session.finish = std::move(request.finish);
    g_handed.reset();
    g_record.value = CommandValue::None;
    g_record.command = request.name;
    ++g_record.requests;
    OpenCommandStep();
    return RQSUBR;
}

void FinishModuleCommand(int reply) {
    if (!g_session.inModuleCommand) {
        return;
    }
    g_session.inModuleCommand = false;
    g_session.funcode = -1;
    g_session.words.clear();
    ModuleFinish finish = std::move(g_session.finish);
    g_session.finish = nullptr;
    g_record.reply = reply;
    CloseCommandStep();
    bool done = reply != RSERR;  // the module said the command failed (sds_fail)
    if (finish) {
        done = finish(done);
    }
    g_handed.reset();
    if (!done) {
        NoteFailedCommand();
    }
}

}  // namespace

const LinkRecord& LastLink() {
    return g_record;
}

std::optional<std::string> TakeHandedData() {
    std::optional<std::string> data = std::move(g_handed);
    g_handed.reset();
    return data;
}

std::string HelpFilePath(const std::string& helpFile) {
    // Only the file's own name counts, so a help request cannot reach outside the folder.
    // Windows-style folders ("C:\\Pomoc\\X.chm") are cut off as well as "/" ones.
    size_t cut = helpFile.find_last_of("/\\");
    std::filesystem::path name(cut == std::string::npos ? helpFile : helpFile.substr(cut + 1));
    if (LowerText(name.extension().string()) == ".chm" || name.extension().empty()) {
        name.replace_extension(".md");
    }
    return (std::filesystem::path(ARMAVO_DOCS_DIR) / name).string();
}

int Run(EntryPoint entry) {
    g_session = Session{};
    g_session.running = true;
    g_record = LinkRecord{};
    ResetPromptState();
    ResetRunStatus();
    ForgetLastCommand();
    int status = 0;
    try {
        if (entry != nullptr) {
            entry();
            // The module left its loop without being shut down: the host carries on alone.
            FinishModuleCommand(RSRSLT);
            ClearModuleCommands();
            if (!g_session.endSent) {
                PrintLine("Moduł zakończył pracę.");
            }
        }
        while (!g_session.endSent) {
            if (RunCommandLine().kind != CommandRequest::Kind::ModuleCommand) {
                g_session.endSent = true;
            }
        }
    } catch (const HostShutdown& shutdown) {
        status = shutdown.status;
    } catch (const std::exception& e) {
        PrintLine(std::string("Błąd wewnętrzny: ") + e.what());
        status = 1;
    }
    CloseCommandStep();
    ClearModuleCommands();
    g_session = Session{};
    return status != 0 ? status : RunStatus();
}

}  // namespace host

using host::g_record;
using host::g_session;

extern "C" {

int SDS_GetGlobals(char* appName, sds_hwnd* mainWindow, void** instance) {
    if (appName != nullptr) {
        host::CopyToBuffer(host::kAppName, appName, 512);
    }
    if (mainWindow != nullptr) {
        *mainWindow = platform::MainWindow();
    }
    if (instance != nullptr) {
        *instance = nullptr;
    }
    return RTNORM;
}

int sds_init(int argc, char* argv[]) {
    (void)argc;
    (void)argv;
    return g_session.running ? RTNORM : RTERROR;
}

int sds_link(int replyCode) {
    if (!g_session.running) {
        return RTERROR;
    }
    if (g_session.endSent) {
        throw host::HostShutdown{0};
    }
    if (!g_session.loadSent) {
        g_session.loadSent = true;
        return RQXLOAD;
    }
    if (g_session.inModuleCommand) {
        host::FinishModuleCommand(replyCode);
    } else if (replyCode == RSERR && g_record.requests == 0) {
        host::PrintLine("Moduł nie został poprawnie załadowany.");
        host::NoteFailedCommand(false);  // the host's own commands still work
    }
    return host::NextRequest();
}

int sds_defun(const char* name, short funcCode) {
    if (name == nullptr || !host::DefineModuleCommand(name, funcCode)) {
        return RTERROR;
    }
    return RTNORM;
}

int sds_getfuncode(void) {
    return g_session.inModuleCommand ? g_session.funcode : RTERROR;
}

int sds_defexport(const char* extension, short funcCode) {
    if (extension == nullptr || !host::DefineModuleExport(extension, funcCode)) {
        return RTERROR;
    }
    return RTNORM;
}

int sds_exportdata(const char* data, long length) {
    // Only a request that a host command handed over has anyone to take the bytes.
    if (!g_session.inModuleCommand || !g_session.finish || length < 0 ||
        (data == nullptr && length > 0)) {
        return RTERROR;
    }
    if (!host::g_handed) {
        host::g_handed.emplace();
    }
    host::g_handed->append(data != nullptr ? data : "", static_cast<size_t>(length));
    return RTNORM;
}

struct resbuf* sds_getargs(void) {
    if (!g_session.inModuleCommand) {
        return nullptr;
    }
    // A fresh list on every call: the command's name, then the words typed after it.
    struct resbuf* head = nullptr;
    struct resbuf** tail = &head;
    for (const std::string& word : g_session.words) {
        struct resbuf* node = sds_buildlist(RTSTR, word.c_str(), RTNONE);
        if (node == nullptr) {
            break;
        }
        *tail = node;
        tail = &node->rbnext;
    }
    return head;
}

int sds_fail(const char* message) {
    g_record.failure = message != nullptr ? message : "";
    host::PrintLine(g_record.failure);
    return RTNORM;
}

void sds_exit(int status) {
    throw host::HostShutdown{status};
}

int sds_rett(void) {
    g_record.value = host::CommandValue::True;
    return RTNORM;
}

int sds_retvoid(void) {
    g_record.value = host::CommandValue::Void;
    return RTNORM;
}

int sds_retnil(void) {
    g_record.value = host::CommandValue::Nil;
    return RTNORM;
}

int sds_help(const char* helpFile, const char* topic, int command) {
    (void)command;
    if (helpFile == nullptr || *helpFile == '\0') {
        host::PrintLine("Nie podano pliku pomocy.");
        return RTERROR;
    }
    std::string path = host::HelpFilePath(helpFile);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        host::PrintLine("Brak pliku pomocy: " + path);
        return RTERROR;
    }
    std::string line = "Pomoc: " + path;
    if (topic != nullptr && *topic != '\0') {
        line += " (" + std::string(topic) + ")";
    }
    host::PrintLine(line);
    return RTNORM;
}

sds_hwnd sds_getmainhwnd(void) {
    return platform::MainWindow();
}

}  // extern "C"
