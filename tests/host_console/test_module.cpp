// The test module: registers a few commands and answers the host's requests.
#include "tests/host_console/test_module.h"

#include <iterator>
#include <memory>

#include "host/sds.h"

namespace {

int g_argsReceived = 0;

// Prints what a prompt gave, or its result code when it gave nothing.
int Report(int rc, const char* format, double a, double b) {
    if (rc == RTNORM) {
        sds_printf(format, a, b);
    } else {
        sds_printf("RC %d\n", rc);
    }
    return RTNORM;
}

int AskPoint(const struct resbuf*) {
    sds_point p = {0.0, 0.0, 0.0};
    const int rc = sds_getpoint(nullptr, "\nPunkt: ", p);
    return Report(rc, "PT %.1f,%.1f\n", p[0], p[1]);
}

int AskKeyword(const struct resbuf*) {
    char word[512];
    sds_initget(0, "Wyrzuć zAmień_polilinię Tak");
    const int rc = sds_getkword("\nOpcja [Wyrzuć/zAmień_polilinię/Tak]: ", word);
    rc == RTNORM ? sds_printf("KW %s\n", word) : sds_printf("RC %d\n", rc);
    return RTNORM;
}

// Asks until it gets a point, whatever the answer: the host must cut it off at the end.
int Nag(const struct resbuf*) {
    sds_point p;
    while (sds_getpoint(nullptr, "\nPunkt koniecznie: ", p) != RTNORM) {
    }
    return RTNORM;
}

int Args(const struct resbuf* args) {
    for (const struct resbuf* rb = args; rb != nullptr; rb = rb->rbnext) {
        sds_printf("ARG %s\n", rb->restype == RTSTR ? rb->resval.rstring : "?");
    }
    return RTNORM;
}

int Fail(const struct resbuf*) {
    sds_fail("Polecenie się nie udało.");
    return RTERROR;
}

int MakeLine(const struct resbuf*) {
    sds_point a = {0.0, 0.0, 0.0};
    sds_point b = {10.0, 0.0, 0.0};
    struct resbuf* list = sds_buildlist(RTDXF0, "LINE", 8, "0", 10, a, 11, b, RTNONE);
    int rc = sds_entmake(list);
    sds_relrb(list);
    return rc;
}

// Drags an empty set to the point given; the callback sees the cursor there.
int Drag(const struct resbuf*) {
    sds_name set = {0, 0};
    if (sds_ssadd(nullptr, nullptr, set) != RTNORM) {
        return RTERROR;
    }
    sds_point p = {0.0, 0.0, 0.0};
    const int rc = sds_draggen(
        set, "\nDo punktu: ", 0, [](sds_point, sds_matrix) { return RTNORM; }, p);
    sds_ssfree(set);
    return Report(rc, "DRAG %.1f,%.1f\n", p[0], p[1]);
}

// The commands in the order of their function codes.
const struct {
    const char* name;
    int (*run)(const struct resbuf*);
} kCommands[] = {{"c:PTK", AskPoint}, {"c:KW", AskKeyword}, {"c:NAG", Nag},  {"c:ARGS", Args},
                 {"c:FAIL", Fail},    {"c:ZROB", MakeLine}, {"c:DRAG", Drag}};

int Dispatch() {
    const int code = sds_getfuncode();
    // Released also when the host shuts down in the middle of the command.
    std::unique_ptr<struct resbuf, int (*)(struct resbuf*)> args(sds_getargs(), sds_relrb);
    ++g_argsReceived;
    const int rc = code >= 0 && code < static_cast<int>(std::size(kCommands))
                       ? kCommands[code].run(args.get())
                       : RTERROR;
    if (rc == RTNORM) {
        sds_rett();
    }
    return rc;
}

}  // namespace

int TestModuleArgsReceived() {
    return g_argsReceived;
}

extern "C" void TestModuleEntryPoint(void) {
    char name[512];
    sds_hwnd window = nullptr;
    void* instance = nullptr;
    SDS_GetGlobals(name, &window, &instance);
    char* argv[] = {name};
    sds_init(1, argv);
    sds_printf("\nModuł testowy załadowany.\n");
    int reply = RSRSLT;
    for (;;) {
        int request = sds_link(reply);
        if (request < 0) {
            sds_exit(-1);
        }
        reply = RSRSLT;
        if (request == RQXLOAD) {
            for (short i = 0; i < static_cast<short>(std::size(kCommands)); ++i) {
                if (sds_defun(kCommands[i].name, i) != RTNORM) {
                    reply = RSERR;
                }
            }
        } else if (request == RQSUBR) {
            reply = Dispatch() == RTNORM ? RSRSLT : RSERR;
        }
    }
}
