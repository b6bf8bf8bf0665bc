// The table of drawing-command workers.
#include "module/frame/workers.h"

#include <array>

namespace {

std::array<CommandWorker, kCommandCount>& Workers() {
    static std::array<CommandWorker, kCommandCount> workers{};
    return workers;
}

bool IsDrawingCommand(int code) {
    return code >= 0 && code < kCommandCount && code != kCmdPPR && code != kCmdHPR &&
           code != kCmdORA_ABOUT;
}

}  // namespace

bool SetCommandWorker(int code, CommandWorker worker) {
    if (!IsDrawingCommand(code)) {
        return false;
    }
    Workers()[static_cast<std::size_t>(code)] = worker;
    return true;
}

CommandWorker GetCommandWorker(int code) {
    return IsDrawingCommand(code) ? Workers()[static_cast<std::size_t>(code)] : nullptr;
}

namespace {

bool g_commandFailed = false;

std::array<ExportWorker, kExportCount>& Exporters() {
    static std::array<ExportWorker, kExportCount> exporters{};
    return exporters;
}

}  // namespace

void ReportCommandFailed() {
    g_commandFailed = true;
}

bool TakeCommandFailure() {
    const bool failed = g_commandFailed;
    g_commandFailed = false;
    return failed;
}

bool SetExportWorker(int kind, ExportWorker worker) {
    if (kind < 0 || kind >= kExportCount) {
        return false;
    }
    Exporters()[static_cast<std::size_t>(kind)] = worker;
    return true;
}

ExportWorker GetExportWorker(int kind) {
    return kind >= 0 && kind < kExportCount ? Exporters()[static_cast<std::size_t>(kind)] : nullptr;
}
