// A scripted stand-in for the host's side of the link: it hands the module a fixed list of
// requests and records every call the frame makes, so that the link loop can be checked
// request by request (including requests a real command line never sends).
#pragma once

#include <string>
#include <vector>

namespace fakehost {

// One request of the script: the code sds_link returns, and for RQSUBR the function code.
struct Request {
    int code = 0;
    int funcode = 0;
};

// Thrown by sds_link when the script is used up, and by sds_exit.
struct Shutdown {
    int status = 0;
};

struct Record {
    std::vector<Request> script;
    std::size_t next = 0;
    std::vector<int> replies;  // the reply code given to each sds_link call
    std::vector<std::pair<std::string, int>> defuns;
    int failDefunAt = -1;  // index of the sds_defun call that fails, -1 for none
    int defunFailure = 0;  // what that call returns
    std::vector<std::string> failures;
    std::string printed;
    std::vector<std::vector<std::string>> commands;
    std::vector<std::string> helpFiles;
    int retts = 0;
    int retvoids = 0;
    int initArgc = -1;
    std::string initArg0;
    int exitStatus = 0;
    long liveLists = 0;  // result-buffer nodes handed out and not yet released
    int argsHandedOut = 0;
    std::vector<std::string> args;  // what sds_getargs hands out as texts; empty: one short
    std::vector<std::pair<std::string, int>> exports;  // sds_defexport calls
    std::vector<std::string> exported;                 // sds_exportdata calls
};

Record& State();
void Reset(std::vector<Request> script = {});

}  // namespace fakehost
