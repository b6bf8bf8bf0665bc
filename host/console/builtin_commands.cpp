// The host's built-in commands (the drafting ones in drafting_commands.cpp). They reach the drawing
// through the same sds_* calls as the module, so they behave the way the module sees the drawing.
#include "host/console/builtin_commands.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "host/console/command_line.h"
#include "host/console/drafting_commands.h"
#include "host/console/entity_listing.h"
#include "host/console/input_sources.h"
#include "host/console/input_text.h"
#include "host/console/object_selection.h"
#include "host/console/prompts.h"
#include "host/console/unsaved_work.h"
#include "host/drawing/drawing_access.h"
#include "host/drawing/journal.h"
#include "host/sds.h"

namespace host {
namespace {

bool g_quit = false;

// A list with one group; the parts of an entity's list are built one group at a time so
// that the number of vertices can vary.
struct resbuf* One(int code, const char* text) {
    return sds_buildlist(code, text, RTNONE);
}
struct resbuf* OnePoint(int code, const sds_point p) {
    return sds_buildlist(code, p, RTNONE);
}
struct resbuf* OneInt(int code, int value) {
    return sds_buildlist(code, value, RTNONE);
}
// 32-bit groups travel as long through the variable arguments, as in the interface family.
struct resbuf* OneLong(int code, long value) {
    return sds_buildlist(code, value, RTNONE);
}
struct resbuf* OneReal(int code, double value) {
    return sds_buildlist(code, value, RTNONE);
}

struct ListBuilder {
    struct resbuf* head = nullptr;
    struct resbuf* tail = nullptr;
    bool failed = false;
    void Add(struct resbuf* rb) {
        if (rb == nullptr) {
            failed = true;
            return;
        }
        (head == nullptr ? head : tail->rbnext) = rb;
        tail = rb;
        while (tail->rbnext != nullptr) {
            tail = tail->rbnext;
        }
    }
    // Makes the entity and releases the list; false when the drawing refused it.
    bool Make() {
        bool ok = !failed && sds_entmake(head) == RTNORM;
        sds_relrb(head);
        head = tail = nullptr;
        return ok;
    }
};

void Refused(const char* what) {
    std::string reason = LastError();
    PrintLine(std::string("Nie można utworzyć obiektu ") + what +
              (reason.empty() ? "." : ": " + reason));
}

bool CmdLine(const std::vector<std::string>&) {
    sds_point from;
    if (sds_getpoint(nullptr, "Pierwszy punkt: ", from) != RTNORM) {
        return true;
    }
    for (;;) {
        sds_point to;
        if (sds_getpoint(from, "Następny punkt: ", to) != RTNORM) {
            return true;
        }
        ListBuilder list;
        list.Add(One(RTDXF0, "LINE"));
        list.Add(One(8, "0"));
        list.Add(OnePoint(10, from));
        list.Add(OnePoint(11, to));
        if (!list.Make()) {
            Refused("LINE");
            return false;
        }
        std::memcpy(from, to, sizeof from);
    }
}

bool CmdPline(const std::vector<std::string>&) {
    std::vector<std::array<double, 3>> points;
    sds_point p;
    if (sds_getpoint(nullptr, "Punkt początkowy: ", p) != RTNORM) {
        return true;
    }
    points.push_back({p[0], p[1], p[2]});
    // Enter or Esc ends the polyline; what was drawn so far stays, as a CAD user expects.
    while (sds_getpoint(p, "Następny punkt: ", p) == RTNORM) {
        points.push_back({p[0], p[1], p[2]});
    }
    if (points.size() < 2) {
        return true;
    }
    ListBuilder list;
    list.Add(One(RTDXF0, "LWPOLYLINE"));
    list.Add(One(8, "0"));
    list.Add(OneLong(90, static_cast<long>(points.size())));
    list.Add(OneInt(70, 0));
    for (const auto& v : points) {
        sds_point vertex = {v[0], v[1], 0.0};
        list.Add(OnePoint(10, vertex));
    }
    if (!list.Make()) {
        Refused("LWPOLYLINE");
        return false;
    }
    return true;
}

bool CmdCircle(const std::vector<std::string>&) {
    sds_point centre;
    if (sds_getpoint(nullptr, "Środek okręgu: ", centre) != RTNORM) {
        return true;
    }
    sds_real radius = 0.0;
    sds_initget(SDS_RSG_NOZERO | SDS_RSG_NONEG, nullptr);
    if (sds_getreal("Promień okręgu: ", &radius) != RTNORM) {
        return true;
    }
    ListBuilder list;
    list.Add(One(RTDXF0, "CIRCLE"));
    list.Add(One(8, "0"));
    list.Add(OnePoint(10, centre));
    list.Add(OneReal(40, radius));
    if (!list.Make()) {
        Refused("CIRCLE");
        return false;
    }
    return true;
}

bool CmdErase(const std::vector<std::string>&) {
    std::vector<ObjectName> chosen;
    if (!SelectObjects(chosen)) {
        return true;
    }
    int erased = 0;
    for (const ObjectName& n : chosen) {
        erased += sds_entdel(n.id) == RTNORM ? 1 : 0;
    }
    PrintLine("Usunięto obiektów: " + std::to_string(erased));
    return erased == static_cast<int>(chosen.size());
}

short GetShortVar(const char* name, short fallback) {
    struct resbuf rb {};
    if (sds_getvar(name, &rb) == RTNORM && rb.restype == RTSHORT) {
        return rb.resval.rint;
    }
    return fallback;
}

void SetShortVar(const char* name, short value) {
    struct resbuf rb {};
    rb.restype = RTSHORT;
    rb.resval.rint = value;
    sds_setvar(name, &rb);
}

bool MoveOrCopy(const char* command) {
    std::vector<ObjectName> chosen;
    if (!SelectObjects(chosen) || chosen.empty()) {
        return true;
    }
    sds_point base;
    sds_point target;
    if (sds_getpoint(nullptr, "Punkt bazowy: ", base) != RTNORM ||
        sds_getpoint(base, "Drugi punkt: ", target) != RTNORM) {
        return true;
    }
    // One copy per object: COPYMODE 1 keeps "_COPY" from asking for further points.
    short copyMode = GetShortVar("COPYMODE", 0);
    SetShortVar("COPYMODE", 1);
    int done = 0;
    for (const ObjectName& n : chosen) {
        done += sds_command(RTSTR, command, RTENAME, n.id, RTSTR, "", RTPOINT, base, RTPOINT,
                            target, RTNONE) == RTNORM
                    ? 1
                    : 0;
    }
    SetShortVar("COPYMODE", copyMode);
    if (done != static_cast<int>(chosen.size())) {
        PrintLine("Nie wszystkie obiekty dało się przenieść.");
        return false;
    }
    return true;
}

bool CmdMove(const std::vector<std::string>&) {
    return MoveOrCopy("_MOVE");
}
bool CmdCopy(const std::vector<std::string>&) {
    return MoveOrCopy("_COPY");
}

bool CmdSelect(const std::vector<std::string>&) {
    std::vector<ObjectName> chosen;
    if (!PromptForObjects(chosen)) {
        return true;
    }
    sds_name set = {0, 0};
    if (sds_ssadd(nullptr, nullptr, set) != RTNORM) {
        return false;
    }
    for (const ObjectName& n : chosen) {
        sds_ssadd(n.id, set, set);
    }
    sds_sssetfirst(nullptr, chosen.empty() ? nullptr : set);
    sds_ssfree(set);
    PrintLine("Wybrano obiektów: " + std::to_string(chosen.size()));
    return true;
}

// The entity's groups, then what its extension dictionary holds (a bar's record), indented.
void ListEntity(const sds_name entity) {
    Print(FormatObjectTree(entity));
}

bool CmdList(const std::vector<std::string>&) {
    const std::vector<ObjectName> preselected = PickFirstSelection();
    if (!preselected.empty()) {
        for (const ObjectName& n : preselected) {
            ListEntity(n.id);
        }
        return true;
    }
    for (;;) {
        sds_name entity;
        sds_point at;
        int rc = sds_entsel("Wybierz obiekt: ", entity, at);
        if (rc == RTNORM) {
            ListEntity(entity);
            return true;
        }
        if (rc != RTERROR) {
            return true;
        }
    }
}

bool CmdU(const std::vector<std::string>&) {
    PrintLine(UndoSteps(1) == 1 ? "Cofnięto ostatnie polecenie." : "Nie ma nic do cofnięcia.");
    return true;
}

bool CmdUndo(const std::vector<std::string>& args) {
    int steps = 1;
    if (!args.empty()) {
        std::optional<double> n = ParseNumber(args.front());
        if (!n || *n < 1 || *n != static_cast<int>(*n) || *n > 1e6) {
            PrintLine("Nieprawidłowa liczba kroków: " + args.front());
            return false;
        }
        steps = static_cast<int>(*n);
    } else {
        sds_initget(SDS_RSG_NOZERO | SDS_RSG_NONEG, nullptr);
        int rc = sds_getint("Liczba kroków do cofnięcia <1>: ", &steps);
        if (rc == RTNONE) {
            steps = 1;
        } else if (rc != RTNORM) {
            return true;
        }
    }
    int undone = UndoSteps(steps);
    PrintLine(undone == 0 ? std::string("Nie ma nic do cofnięcia.")
                          : "Cofnięto kroków: " + std::to_string(undone));
    return true;
}

bool CmdRedo(const std::vector<std::string>&) {
    PrintLine(RedoStep() ? "Przywrócono cofnięte polecenie." : "Nie ma nic do przywrócenia.");
    return true;
}

bool CmdHelp(const std::vector<std::string>&) {
    std::string line = "Polecenia:";
    for (const std::string& name : KnownCommandNames()) {
        line += " " + name;
    }
    PrintLine(line);
    return true;
}

std::string ShowValue(const struct resbuf& rb) {
    switch (rb.restype) {
        case RTSHORT:
            return std::to_string(rb.resval.rint);
        case RTLONG:
            return std::to_string(rb.resval.rlong);
        case RTREAL:
            return FormatReal(rb.resval.rreal);
        case RTPOINT:
        case RT3DPOINT:
            return FormatReal(rb.resval.rpoint[0]) + "," + FormatReal(rb.resval.rpoint[1]) + "," +
                   FormatReal(rb.resval.rpoint[2]);
        case RTSTR:
            return rb.resval.rstring != nullptr ? rb.resval.rstring : "";
        default:
            return "?";
    }
}

// Reads the typed value as the variable's own type; false when it does not fit.
bool ParseValue(const std::string& text, short type, struct resbuf& out, std::string& storage) {
    Answer a = ClassifyAnswer(text);
    out.restype = type;
    switch (type) {
        case RTSHORT:
            if (a.kind != Answer::Kind::Number || !a.whole || a.number < -32768 ||
                a.number > 32767) {
                return false;
            }
            out.resval.rint = static_cast<short>(a.number);
            return true;
        case RTLONG:
            if (a.kind != Answer::Kind::Number || !a.whole || a.number < -2147483648.0 ||
                a.number > 2147483647.0) {
                return false;
            }
            out.resval.rlong = static_cast<int32_t>(a.number);
            return true;
        case RTREAL:
            if (a.kind != Answer::Kind::Number || !WithinRange(a.number)) {
                return false;
            }
            out.resval.rreal = a.number;
            return true;
        case RTPOINT:
        case RT3DPOINT:
            if (a.kind != Answer::Kind::Point || a.relative || !WithinRange(a.point)) {
                return false;
            }
            std::memcpy(out.resval.rpoint, a.point, sizeof out.resval.rpoint);
            return true;
        case RTSTR:
            storage = text;
            out.resval.rstring = storage.data();
            return true;
        default:
            return false;
    }
}

bool CmdSetvar(const std::vector<std::string>& args) {
    char buffer[512] = "";
    std::string name;
    if (!args.empty()) {
        name = args.front();
    } else if (sds_getstring(0, "Nazwa zmiennej: ", buffer) == RTNORM) {
        name = buffer;
    }
    name = UpperText(name);
    if (name.empty()) {
        return true;
    }
    struct resbuf current {};
    if (sds_getvar(name.c_str(), &current) != RTNORM) {
        PrintLine("Nieznana zmienna: " + name);
        return false;
    }
    std::string shown = ShowValue(current);
    if (current.restype == RTSTR) {
        std::free(current.resval.rstring);  // sds_getvar hands the text to the caller
    }
    std::string value;
    if (args.size() > 1) {
        for (size_t i = 1; i < args.size(); ++i) {
            value += (i > 1 ? " " : "") + args[i];
        }
    } else {
        std::string prompt = "Nowa wartość " + name + " <" + shown + ">: ";
        if (sds_getstring(1, prompt.c_str(), buffer) != RTNORM || buffer[0] == '\0') {
            return true;
        }
        value = buffer;
    }
    struct resbuf next {};
    std::string storage;
    if (!ParseValue(value, current.restype, next, storage)) {
        PrintLine("Nieprawidłowa wartość zmiennej " + name + ": " + value);
        return false;
    }
    if (sds_setvar(name.c_str(), &next) != RTNORM) {
        PrintLine("Nie można ustawić zmiennej " + name + ".");
        return false;
    }
    return true;
}

// Unsaved changes are offered for saving first; a cancelled question keeps the session.
bool CmdQuit(const std::vector<std::string>&) {
    switch (ConfirmDroppingChanges()) {
        case Outcome::Done:
            RequestQuit();
            return true;
        case Outcome::Cancelled:
            return true;
        case Outcome::Failed:
            break;
    }
    return false;
}

// The commands that read their answers from their prompts take those typed after their
// name too; the others read the words themselves.
constexpr BuiltinCommand kBuiltins[] = {
    {"LINE", CmdLine, true, true},      {"PLINE", CmdPline, true, true},
    {"CIRCLE", CmdCircle, true, true},  {"ERASE", CmdErase, true, true},
    {"MOVE", CmdMove, true, true},      {"COPY", CmdCopy, true, true},
    {"SELECT", CmdSelect, false, true}, {"LIST", CmdList, false, true},
    {"TEXT", CmdText, true, true},      {"MIRROR", CmdMirror, true, true},
    {"ROTATE", CmdRotate, true, true},  {"CHPROP", CmdChprop, true, true},
    {"U", CmdU, false, false},          {"UNDO", CmdUndo, false, false},
    {"REDO", CmdRedo, false, false},    {"SETVAR", CmdSetvar, true, false},
    {"HELP", CmdHelp, false, false},    {"QUIT", CmdQuit, false, false},
};

// The short names CAD users type.
constexpr struct {
    const char* alias;
    const char* name;
} kAliases[] = {{"L", "LINE"},    {"PL", "PLINE"},  {"C", "CIRCLE"}, {"E", "ERASE"},
                {"M", "MOVE"},    {"CO", "COPY"},   {"LI", "LIST"},  {"DT", "TEXT"},
                {"MI", "MIRROR"}, {"RO", "ROTATE"}, {"CH", "CHPROP"}};

}  // namespace

const BuiltinCommand* FindBuiltin(const std::string& key) {
    std::string name = key;
    for (const auto& a : kAliases) {
        if (key == a.alias) {
            name = a.name;
        }
    }
    for (const BuiltinCommand& b : kBuiltins) {
        if (name == b.name) {
            return &b;
        }
    }
    return nullptr;
}

std::vector<std::string> BuiltinNames() {
    std::vector<std::string> names;
    for (const BuiltinCommand& b : kBuiltins) {
        names.emplace_back(b.name);
    }
    return names;
}

void RequestQuit() {
    g_quit = true;
}

bool TakeQuitRequest() {
    bool quit = g_quit;
    g_quit = false;
    return quit;
}

}  // namespace host
