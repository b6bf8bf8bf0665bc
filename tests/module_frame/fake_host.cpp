// The scripted link: the sds_* calls the frame and the panel make, recorded.
#include "tests/module_frame/fake_host.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/sds.h"
#include "platform/window.h"

namespace fakehost {

Record& State() {
    static Record record;
    return record;
}

void Reset(std::vector<Request> script) {
    State() = Record{};
    State().script = std::move(script);
}

}  // namespace fakehost

using fakehost::State;

extern "C" {

int SDS_GetGlobals(char* appName, sds_hwnd* mainWindow, void** instance) {
    std::strcpy(appName, "armavo-test");
    *mainWindow = platform::MainWindow();
    *instance = nullptr;
    return RTNORM;
}

int sds_init(int argc, char* argv[]) {
    State().initArgc = argc;
    State().initArg0 = argc > 0 && argv[0] != nullptr ? argv[0] : "";
    return RTNORM;
}

int sds_link(int replyCode) {
    auto& s = State();
    // The first call answers nothing yet; every later one carries the previous reply.
    if (s.next > 0) {
        s.replies.push_back(replyCode);
    }
    if (s.next >= s.script.size()) {
        throw fakehost::Shutdown{0};
    }
    return s.script[s.next++].code;
}

int sds_defun(const char* name, short funcCode) {
    auto& s = State();
    if (static_cast<int>(s.defuns.size()) == s.failDefunAt) {
        return s.defunFailure;
    }
    s.defuns.emplace_back(name, funcCode);
    return RTNORM;
}

int sds_getfuncode(void) {
    auto& s = State();
    return s.next > 0 ? s.script[s.next - 1].funcode : -1;
}

struct resbuf* sds_getargs(void) {
    auto& s = State();
    ++s.argsHandedOut;
    if (s.args.empty()) {
        auto* rb = new resbuf{};
        rb->restype = RTSHORT;
        ++s.liveLists;
        return rb;
    }
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (const std::string& word : s.args) {
        auto* rb = new resbuf{};
        rb->restype = RTSTR;
        rb->resval.rstring = new char[word.size() + 1];
        std::memcpy(rb->resval.rstring, word.c_str(), word.size() + 1);
        ++s.liveLists;
        *tail = rb;
        tail = &rb->rbnext;
    }
    return head;
}

int sds_defexport(const char* extension, short funcCode) {
    State().exports.emplace_back(extension, funcCode);
    return RTNORM;
}

int sds_exportdata(const char* data, long length) {
    State().exported.emplace_back(data, static_cast<size_t>(length));
    return RTNORM;
}

int sds_relrb(struct resbuf* list) {
    while (list != nullptr) {
        resbuf* next = list->rbnext;
        if (list->restype == RTSTR) {
            delete[] list->resval.rstring;
        }
        delete list;
        --State().liveLists;
        list = next;
    }
    return RTNORM;
}

int sds_fail(const char* message) {
    State().failures.emplace_back(message);
    return RTNORM;
}

void sds_exit(int status) {
    State().exitStatus = status;
    throw fakehost::Shutdown{status};
}

int sds_rett(void) {
    ++State().retts;
    return RTNORM;
}

int sds_retvoid(void) {
    ++State().retvoids;
    return RTNORM;
}

int sds_help(const char* helpFile, const char* topic, int command) {
    State().helpFiles.push_back(std::string(helpFile) + "|" + topic + "|" +
                                std::to_string(command));
    return RTNORM;
}

int sds_printf(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    State().printed += buffer;
    return n;
}

int sds_command(int restype, ...) {
    std::vector<std::string> words;
    va_list args;
    va_start(args, restype);
    for (int type = restype; type != 0 && type != RTNONE; type = va_arg(args, int)) {
        if (type != RTSTR) {
            break;  // the frame only sends words
        }
        words.emplace_back(va_arg(args, const char*));
    }
    va_end(args);
    State().commands.push_back(words);
    return RTNORM;
}

sds_hwnd sds_getmainhwnd(void) {
    return platform::MainWindow();
}

}  // extern "C"
