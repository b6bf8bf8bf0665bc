// TEXT, MIRROR, ROTATE and CHPROP, through the same sds_* calls as the module: MIRROR and
// ROTATE hand the objects to "_MIRROR" and "_ROTATE", CHPROP changes their lists.
#include "host/console/drafting_commands.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <numbers>
#include <string>

#include "host/console/input_sources.h"
#include "host/console/object_selection.h"
#include "host/console/run_status.h"
#include "host/drawing/drawing_access.h"
#include "host/drawing/entity_geometry.h"
#include "host/sds.h"

namespace host {
namespace {

constexpr double kPi = std::numbers::pi;

std::string Shown(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

double GetRealVar(const char* name, double fallback) {
    struct resbuf rb {};
    return sds_getvar(name, &rb) == RTNORM && rb.restype == RTREAL ? rb.resval.rreal : fallback;
}

void SetRealVar(const char* name, double value) {
    struct resbuf rb {};
    rb.restype = RTREAL;
    rb.resval.rreal = value;
    sds_setvar(name, &rb);
}

// A wrong answer that the prompt asks again after saying why.
void AskAgain(const std::string& message) {
    PrintLine(message);
    NoteRefusedAnswer();
}

// Runs one host command per object; false, having said so and named the kinds of the objects
// left as they were, when some were refused.
bool EachObject(const std::vector<ObjectName>& chosen, const char* failure,
                int (*run)(const ObjectName& n, const void* context), const void* context) {
    std::map<std::string, int> refused;
    for (const ObjectName& n : chosen) {
        if (run(n, context) != RTNORM) {
            struct resbuf* list = sds_entget(n.id);
            const struct resbuf* type = list;
            while (type != nullptr && type->restype != 0 && type->restype != RTDXF0) {
                type = type->rbnext;
            }
            ++refused[type != nullptr && type->resval.rstring != nullptr ? type->resval.rstring
                                                                         : "?"];
            sds_relrb(list);
        }
    }
    if (refused.empty()) {
        return true;
    }
    std::string kinds;
    for (const auto& [kind, count] : refused) {
        kinds += (kinds.empty() ? "" : ", ") + kind + " " + std::to_string(count);
    }
    PrintLine(std::string(failure) + kinds + "; zostały, jak były.");
    return false;
}

}  // namespace

bool CmdText(const std::vector<std::string>&) {
    sds_point at;
    sds_initget(0, "Środek");
    int rc = sds_getpoint(nullptr, "Punkt wstawienia tekstu: ", at);
    const bool centred = rc == RTKWORD;
    if (centred) {
        rc = sds_getpoint(nullptr, "Środek tekstu: ", at);
    }
    if (rc != RTNORM) {
        return true;
    }
    double height = GetRealVar("TEXTSIZE", 5.0);
    sds_initget(SDS_RSG_NOZERO | SDS_RSG_NONEG, nullptr);
    rc = sds_getreal(("Wysokość tekstu <" + Shown(height) + ">: ").c_str(), &height);
    if (rc != RTNORM && rc != RTNONE) {
        return true;
    }
    double degrees = 0.0;
    rc = sds_getreal("Kąt obrotu tekstu <0>: ", &degrees);
    if (rc == RTNONE) {
        degrees = 0.0;
    } else if (rc != RTNORM) {
        return true;
    }
    char text[512] = "";
    if (sds_getstring(1, "Tekst: ", text) != RTNORM || text[0] == '\0') {
        return true;
    }
    SetRealVar("TEXTSIZE", height);
    const double rotation = std::remainder(degrees, 360.0) * kPi / 180.0;
    // A centred text is placed by its second point; its first, the baseline's start, lies
    // half its width before it.
    sds_point start = {at[0], at[1], at[2]};
    if (centred) {
        const double half = EstimatedTextWidth(text, height) / 2;
        start[0] -= half * std::cos(rotation);
        start[1] -= half * std::sin(rotation);
    }
    struct resbuf* list =
        sds_buildlist(RTDXF0, "TEXT", 8, "0", 10, start, 40, height, 1, text, 50, rotation, 7,
                      "STANDARD", 72, centred ? 1 : 0, 11, at, 73, 0, RTNONE);
    const bool made = list != nullptr && sds_entmake(list) == RTNORM;
    sds_relrb(list);
    if (!made) {
        PrintLine("Nie można utworzyć tekstu: " + LastError());
    }
    return made;
}

bool CmdMirror(const std::vector<std::string>&) {
    std::vector<ObjectName> chosen;
    if (!SelectObjects(chosen) || chosen.empty()) {
        return true;
    }
    struct Axis {
        sds_point a, b;
        bool eraseSource;
    } axis{};
    if (sds_getpoint(nullptr, "Pierwszy punkt osi symetrii: ", axis.a) != RTNORM) {
        return true;
    }
    for (;;) {
        if (sds_getpoint(axis.a, "Drugi punkt osi symetrii: ", axis.b) != RTNORM) {
            return true;
        }
        if (std::hypot(axis.b[0] - axis.a[0], axis.b[1] - axis.a[1]) > 1e-9) {
            break;
        }
        AskAgain("Oś symetrii wymaga dwóch różnych punktów.");
    }
    sds_initget(0, "Tak Nie");
    char answer[512] = "";
    const int rc = sds_getkword("Usunąć obiekty źródłowe? [Tak/Nie] <Nie>: ", answer);
    if (rc == RTCAN) {
        return true;
    }
    axis.eraseSource = rc == RTNORM && std::strcmp(answer, "Tak") == 0;
    return EachObject(
        chosen, "Nie dało się odbić obiektów: ",
        [](const ObjectName& n, const void* context) {
            const Axis& m = *static_cast<const Axis*>(context);
            return sds_command(RTSTR, "_MIRROR", RTENAME, n.id, RTSTR, "", RTPOINT, m.a, RTPOINT,
                               m.b, RTSTR, m.eraseSource ? "_Y" : "_N", RTNONE);
        },
        &axis);
}

bool CmdRotate(const std::vector<std::string>&) {
    std::vector<ObjectName> chosen;
    if (!SelectObjects(chosen) || chosen.empty()) {
        return true;
    }
    struct Turn {
        sds_point base;
        double degrees;
    } turn{};
    if (sds_getpoint(nullptr, "Punkt bazowy: ", turn.base) != RTNORM ||
        sds_getreal("Kąt obrotu: ", &turn.degrees) != RTNORM) {
        return true;
    }
    return EachObject(
        chosen, "Nie dało się obrócić obiektów: ",
        [](const ObjectName& n, const void* context) {
            const Turn& t = *static_cast<const Turn*>(context);
            return sds_command(RTSTR, "_ROTATE", RTENAME, n.id, RTSTR, "", RTPOINT, t.base, RTREAL,
                               t.degrees, RTNONE);
        },
        &turn);
}

namespace {

// Puts `value`, one group that it takes over, into the entity's list in place of the group of
// its code or, when the list has none, right after the layer (the properties of every entity
// stand before its own groups), and changes the entity.
bool ChangeGroup(const ObjectName& n, struct resbuf* value) {
    struct resbuf* list = sds_entget(n.id);
    if (list == nullptr || value == nullptr) {
        sds_relrb(list);
        sds_relrb(value);
        return false;
    }
    struct resbuf** link = &list;
    struct resbuf** afterLayer = nullptr;
    for (; *link != nullptr; link = &(*link)->rbnext) {
        if ((*link)->restype == value->restype) {
            break;
        }
        if ((*link)->restype == 8) {
            afterLayer = &(*link)->rbnext;
        }
    }
    if (*link != nullptr) {
        struct resbuf* old = *link;
        value->rbnext = old->rbnext;
        old->rbnext = nullptr;
        sds_relrb(old);
        *link = value;
    } else if (afterLayer != nullptr) {
        value->rbnext = *afterLayer;
        *afterLayer = value;
    } else {
        sds_relrb(value);
        sds_relrb(list);
        return false;
    }
    const bool changed = sds_entmod(list) == RTNORM;
    sds_relrb(list);
    return changed;
}

// Gives every object the group that `make` builds; false, having said so, when some refused.
template <typename Make>
bool ChangeEach(const std::vector<ObjectName>& chosen, Make make) {
    size_t done = 0;
    for (const ObjectName& n : chosen) {
        done += ChangeGroup(n, make()) ? 1 : 0;
    }
    if (done != chosen.size()) {
        const std::string reason = LastError();
        PrintLine("Nie wszystkie obiekty dało się zmienić" +
                  (reason.empty() ? "." : ": " + reason));
        return false;
    }
    return true;
}

// A layer name a drawing file can hold; empty: none given.
bool AskLayerName(std::string& name) {
    for (;;) {
        char text[512] = "";
        if (sds_getstring(1, "Nazwa warstwy: ", text) != RTNORM) {
            return false;
        }
        name = text;
        const size_t first = name.find_first_not_of(' ');
        name = first == std::string::npos ? std::string() : name.substr(first);
        name.erase(name.find_last_not_of(' ') + 1);
        if (name.find_first_of("<>/\\\":;?*|=,`") == std::string::npos) {
            return !name.empty();
        }
        AskAgain("Nazwa warstwy nie może zawierać znaków < > / \\ \" : ; ? * | = , `.");
    }
}

// 1..255, or 256 for the layer's colour; false on Enter or Esc.
bool AskColour(int& colour) {
    for (;;) {
        sds_initget(0, "DANEJWARSTWY");
        const int rc = sds_getint("Nowy kolor [1-255/DANEJWARSTWY]: ", &colour);
        if (rc == RTKWORD) {
            colour = 256;
            return true;
        }
        if (rc != RTNORM) {
            return false;
        }
        if (colour >= 1 && colour <= 255) {
            return true;
        }
        AskAgain("Kolor to liczba od 1 do 255 albo DANEJWARSTWY.");
    }
}

}  // namespace

bool CmdChprop(const std::vector<std::string>&) {
    std::vector<ObjectName> chosen;
    if (!SelectObjects(chosen) || chosen.empty()) {
        return true;
    }
    bool allDone = true;
    for (;;) {
        sds_initget(0, "Warstwa Kolor Rodzaj_linii");
        char property[512] = "";
        if (sds_getkword("Zmień [Warstwa/Kolor/Rodzaj_linii]: ", property) != RTNORM) {
            return allDone;
        }
        if (std::strcmp(property, "Warstwa") == 0) {
            std::string layer;
            if (AskLayerName(layer)) {
                allDone &=
                    ChangeEach(chosen, [&] { return sds_buildlist(8, layer.c_str(), RTNONE); });
            }
        } else if (std::strcmp(property, "Kolor") == 0) {
            int colour = 0;
            if (AskColour(colour)) {
                allDone &= ChangeEach(chosen, [&] { return sds_buildlist(62, colour, RTNONE); });
            }
        } else {
            sds_initget(0, "CONTINUOUS DASHED CENTER HIDDEN DANEJWARSTWY");
            char linetype[512] = "";
            if (sds_getkword("Nowy rodzaj linii [CONTINUOUS/DASHED/CENTER/HIDDEN/DANEJWARSTWY]: ",
                             linetype) != RTNORM) {
                continue;
            }
            const bool byLayer = std::strcmp(linetype, "DANEJWARSTWY") == 0;
            // The drawing must define the line type its entities name.
            if (!byLayer && !EnsureStandardLinetype(linetype)) {
                PrintLine("Nie można dodać rodzaju linii " + std::string(linetype) + ": " +
                          LastError());
                allDone = false;
                continue;
            }
            const std::string name = byLayer ? "BYLAYER" : linetype;
            allDone &= ChangeEach(chosen, [&] { return sds_buildlist(6, name.c_str(), RTNONE); });
        }
    }
}

}  // namespace host
