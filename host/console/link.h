// What the link with the module leaves behind for the host and its tests to inspect: the
// value the last module command returned, its reply, and its failure message.
#pragma once

#include <optional>
#include <string>

namespace host {

enum class CommandValue { None, True, Void, Nil };

struct LinkRecord {
    CommandValue value = CommandValue::None;  // set by sds_rett, sds_retvoid, sds_retnil
    int reply = 0;                            // the reply code of the last module command
    std::string failure;                      // the last sds_fail message
    std::string command;                      // the last module command run
    int requests = 0;                         // function requests sent to the module
};

const LinkRecord& LastLink();

// The bytes the module handed with sds_exportdata during the request that is ending (a
// ModuleFinish takes them); none when it handed nothing.
std::optional<std::string> TakeHandedData();

// Where the help viewer looks for "X.chm": "X.md" in the program's documentation folder.
std::string HelpFilePath(const std::string& helpFile);

}  // namespace host
