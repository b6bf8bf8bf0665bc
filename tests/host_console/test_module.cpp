// The test module: registers a few commands and answers the host's requests.
#include "tests/host_console/test_module.h"

#include <memory>

#include "host/sds.h"

namespace {

int g_argsReceived = 0;

int AskPoint() {
    sds_point p;
    int rc = sds_getpoint(nullptr, "\nPunkt: ", p);
    if (rc == RTNORM) {
        sds_printf("PT %.1f,%.1f\n", p[0], p[1]);
    } else {
        sds_printf("RC %d\n", rc);
    }
    return RTNORM;
}

int AskKeyword() {
    char word[512];
    sds_initget(0, "Wyrzuć zAmień_polilinię Tak");
    int rc = sds_getkword("\nOpcja [Wyrzuć/zAmień_polilinię/Tak]: ", word);
    if (rc == RTNORM) {
        sds_printf("KW %s\n", word);
    } else {
        sds_printf("RC %d\n", rc);
    }
    return RTNORM;
}

// Asks until it gets a point, whatever the answer: the host must cut it off at the end.
int Nag() {
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

int MakeLine() {
    sds_point a = {0.0, 0.0, 0.0};
    sds_point b = {10.0, 0.0, 0.0};
    struct resbuf* list = sds_buildlist(RTDXF0, "LINE", 8, "0", 10, a, 11, b, RTNONE);
    int rc = sds_entmake(list);
    sds_relrb(list);
    return rc;
}

// Drags an empty set to the point given; the callback sees the cursor there.
int Drag() {
    sds_name set = {0, 0};
    if (sds_ssadd(nullptr, nullptr, set) != RTNORM) {
        return RTERROR;
    }
    sds_point p;
    const int rc = sds_draggen(
        set, "\nDo punktu: ", 0, [](sds_point, sds_matrix) { return RTNORM; }, p);
    sds_ssfree(set);
    if (rc == RTNORM) {
        sds_printf("DRAG %.1f,%.1f\n", p[0], p[1]);
    } else {
        sds_printf("RC %d\n", rc);
    }
    return RTNORM;
}

int Dispatch() {
    int code = sds_getfuncode();
    // Released also when the host shuts down in the middle of the command.
    std::unique_ptr<struct resbuf, int (*)(struct resbuf*)> guard(sds_getargs(), sds_relrb);
    struct resbuf* args = guard.get();
    ++g_argsReceived;
    int rc = RTNORM;
    switch (code) {
        case 0:
            rc = AskPoint();
            break;
        case 1:
            rc = AskKeyword();
            break;
        case 2:
            rc = Nag();
            break;
        case 3:
            rc = Args(args);
            break;
        case 4:
            sds_fail("Polecenie się nie udało.");
            rc = RTERROR;
            break;
        case 5:
            rc = MakeLine();
            break;
        case 6:
            rc = Drag();
            break;
        default:
            rc = RTERROR;
    }
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
            const char* names[] = {"c:PTK",  "c:KW",   "c:NAG", "c:ARGS",
                                   "c:FAIL", "c:ZROB", "c:DRAG"};
            for (short i = 0; i < 7; ++i) {
                if (sds_defun(names[i], i) != RTNORM) {
                    reply = RSERR;
                }
            }
        } else if (request == RQSUBR) {
            reply = Dispatch() == RTNORM ? RSRSLT : RSERR;
        }
    }
}
