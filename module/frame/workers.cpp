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
