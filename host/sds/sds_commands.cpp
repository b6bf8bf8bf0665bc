// sds_command: the host commands the module and the command line send ("_UNDO", "_MOVE",
// "_COPY", "_ROTATE", "_MIRROR", "_menuload").
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/drawing/object_rules.h"
#include "host/drawing/session.h"

namespace host {

namespace {

struct Argument {
    int type = RTNONE;
    std::string text;
    double point[3] = {0, 0, 0};
    double real = 0;
    long whole = 0;
    long name[2] = {0, 0};
};

bool ReadArguments(int first, va_list& args, std::vector<Argument>& out) {
    for (int type = first; type != RTNONE && type != 0; type = va_arg(args, int)) {
        if (out.size() > 10000)
            return false;
        Argument argument;
        argument.type = type;
        switch (type) {
            case RTSTR: {
                const char* text = va_arg(args, const char*);
                if (text == nullptr)
                    return false;
                argument.text = text;
                break;
            }
            case RTPOINT:
            case RT3DPOINT: {
                const double* point = va_arg(args, const double*);
                if (point == nullptr)
                    return false;
                for (int i = 0; i < 3; ++i)
                    argument.point[i] = point[i];
                argument.type = RT3DPOINT;
                break;
            }
            case RTREAL:
            case RTANG:
                argument.real = va_arg(args, double);
                break;
            case RTSHORT:
                argument.whole = va_arg(args, int);
                break;
            case RTLONG:
                argument.whole = va_arg(args, long);
                break;
            case RTENAME:
            case RTPICKS: {
                const long* name = va_arg(args, const long*);
                if (name == nullptr)
                    return false;
                argument.name[0] = name[0];
                argument.name[1] = name[1];
                break;
            }
            default:
                return false;
        }
        out.push_back(argument);
    }
    return true;
}

// A command word without its leading "_" or ".", upper case.
std::string Word(const Argument& argument) {
    std::string word = argument.type == RTSTR ? argument.text : std::string();
    while (!word.empty() && (word.front() == '_' || word.front() == '.'))
        word.erase(0, 1);
    return UpperAscii(word);
}

// A point given as a point or as typed text "x,y" or "x,y,z".
bool PointOf(const Argument& argument, double point[3]) {
    if (argument.type == RT3DPOINT) {
        for (int i = 0; i < 3; ++i)
            point[i] = argument.point[i];
        return std::isfinite(point[0]) && std::isfinite(point[1]) && std::isfinite(point[2]);
    }
    if (argument.type != RTSTR || argument.text.empty())
        return false;
    double values[3] = {0, 0, 0};
    const char* at = argument.text.c_str();
    int count = 0;
    while (count < 3) {
        char* end = nullptr;
        values[count] = std::strtod(at, &end);
        if (end == at || !std::isfinite(values[count]))
            return false;
        ++count;
        at = end;
        while (*at == ' ')
            ++at;
        if (*at == '\0')
            break;
        if (*at != ',')
            return false;
        ++at;
    }
    if (count < 2 || *at != '\0')
        return false;
    for (int i = 0; i < 3; ++i)
        point[i] = values[i];
    return true;
}

int UndoCommand(const std::vector<Argument>& args) {
    UndoJournal& journal = GetSession().journal;
    if (args.size() < 2)
        return Refuse("_UNDO: no option");
    std::string option = Word(args[1]);
    if (option == "BEGIN" || option == "BE" || option == "GROUP") {
        journal.BeginGroup();
        return RTNORM;
    }
    if (option == "END" || option == "E") {
        // An END without an open group is what CAD tolerates: nothing to close.
        journal.EndGroup();
        return RTNORM;
    }
    long steps = args[1].type == RTSHORT || args[1].type == RTLONG ? args[1].whole
                                                                   : std::atol(option.c_str());
    if (steps <= 0)
        return Refuse("_UNDO: unknown option \"" + args[1].text + "\"");
    journal.Undo(static_cast<int>(std::min(steps, 1000000L)));
    return RTNORM;
}

// The objects (names or sets) from `at` up to "", which `at` then passes; refused when one
// is no live entity.
int ReadObjects(const std::vector<Argument>& args, size_t& at, std::vector<ObjectId>& objects) {
    for (; at < args.size(); ++at) {
        const Argument& argument = args[at];
        if (argument.type == RTSTR && argument.text.empty()) {
            ++at;
            break;
        }
        if (argument.type == RTENAME) {
            ObjectId id = LiveFromName(argument.name);
            if (!id)
                return Refuse("selection names no live entity");
            objects.push_back(id);
        } else if (argument.type == RTPICKS) {
            std::vector<ObjectId>* members = FindSet(argument.name);
            if (!members)
                return Refuse("no such selection set");
            for (ObjectId id : *members) {
                if (CurrentDrawing().FindLive(id))
                    objects.push_back(id);
            }
        } else {
            return Refuse("objects expected");
        }
    }
    std::sort(objects.begin(), objects.end());
    objects.erase(std::unique(objects.begin(), objects.end()), objects.end());
    return RTNORM;
}

// "_MOVE" / "_COPY": objects (names or sets) up to "", a base point, then the second point(s).
int MoveOrCopy(const std::vector<Argument>& args, bool copy) {
    std::vector<ObjectId> objects;
    size_t at = 1;
    if (ReadObjects(args, at, objects) != RTNORM)
        return RTERROR;
    double base[3];
    if (objects.empty() || at >= args.size() || !PointOf(args[at], base)) {
        return Refuse("objects and a base point expected");
    }
    ++at;
    // The second points: Enter alone takes the base point as the displacement.
    std::vector<std::array<double, 3>> displacements;
    for (; at < args.size(); ++at) {
        double target[3];
        if (args[at].type == RTSTR && args[at].text.empty()) {
            if (displacements.empty())
                displacements.push_back({base[0], base[1], base[2]});
            break;
        }
        if (!PointOf(args[at], target))
            return Refuse("second point expected");
        displacements.push_back({target[0] - base[0], target[1] - base[1], target[2] - base[2]});
        if (!copy || GetSession().variables.copyMode == 1)
            break;
    }
    if (displacements.empty())
        return Refuse("second point expected");
    Database& drawing = CurrentDrawing();
    for (const auto& delta : displacements) {
        for (ObjectId id : objects) {
            ObjectId target = copy ? drawing.DeepCopy(id) : id;
            if (target)
                drawing.Translate(target, delta.data());
        }
    }
    return RTNORM;
}

// A number given as a number or as typed text.
bool NumberOf(const Argument& argument, double& value) {
    if (argument.type == RTREAL || argument.type == RTANG) {
        value = argument.real;
    } else if (argument.type == RTSHORT || argument.type == RTLONG) {
        value = static_cast<double>(argument.whole);
    } else if (argument.type == RTSTR && !argument.text.empty()) {
        char* end = nullptr;
        value = std::strtod(argument.text.c_str(), &end);
        if (*end != '\0')
            return false;
    } else {
        return false;
    }
    return std::isfinite(value);
}

// Every object carried by the motion (copies of them with `copy`); refused, naming the first
// reason, when some could not be: the others are carried all the same.
int MoveEach(const std::vector<ObjectId>& objects, const PlaneMotion& motion, bool copy) {
    std::string reason;
    size_t refused = 0;
    for (ObjectId id : objects) {
        std::string why;
        if (!CurrentDrawing().Transform(id, motion, copy, &why)) {
            reason = reason.empty() ? why : reason;
            ++refused;
        }
    }
    if (refused > 0)
        return Refuse(std::to_string(refused) + " object(s) left as they were: " + reason);
    return RTNORM;
}

// "_ROTATE": objects up to "", the base point, the angle in degrees (counter-clockwise).
int Rotate(const std::vector<Argument>& args) {
    std::vector<ObjectId> objects;
    size_t at = 1;
    if (ReadObjects(args, at, objects) != RTNORM)
        return RTERROR;
    double base[3];
    double degrees = 0;
    if (objects.empty() || at + 1 >= args.size() || !PointOf(args[at], base) ||
        !NumberOf(args[at + 1], degrees) || std::fabs(degrees) > 1e15) {
        return Refuse("objects, a base point and an angle expected");
    }
    return MoveEach(objects, PlaneMotion::Rotation(base[0], base[1], degrees), false);
}

// "_MIRROR": objects up to "", two points of the axis, then whether the originals go ("_Y",
// "Tak") or stay (the rest, and nothing): mirrored copies, or the originals mirrored.
int Mirror(const std::vector<Argument>& args) {
    std::vector<ObjectId> objects;
    size_t at = 1;
    if (ReadObjects(args, at, objects) != RTNORM)
        return RTERROR;
    double a[3], b[3];
    if (objects.empty() || at + 1 >= args.size() || !PointOf(args[at], a) ||
        !PointOf(args[at + 1], b)) {
        return Refuse("objects and two points of the axis expected");
    }
    if (std::hypot(b[0] - a[0], b[1] - a[1]) < 1e-12)
        return Refuse("the two points of the axis are one point");
    bool eraseSource = false;
    if (at + 2 < args.size()) {
        const std::string answer = Word(args[at + 2]);
        eraseSource = answer == "Y" || answer == "YES" || answer == "T" || answer == "TAK";
    }
    return MoveEach(objects, PlaneMotion::Mirror(a[0], a[1], b[0], b[1]), !eraseSource);
}

int RunCommand(const std::vector<Argument>& args) {
    if (args.empty())
        return Refuse("sds_command: no command");
    const std::string verb = Word(args[0]);
    if (verb == "UNDO")
        return UndoCommand(args);
    if (verb == "MOVE")
        return MoveOrCopy(args, false);
    if (verb == "COPY")
        return MoveOrCopy(args, true);
    if (verb == "ROTATE")
        return Rotate(args);
    if (verb == "MIRROR")
        return Mirror(args);
    if (verb == "MENULOAD") {
        if (args.size() < 2 || args[1].type != RTSTR)
            return Refuse("_menuload: no menu name");
        GetSession().menus.push_back(args[1].text);
        return RTNORM;
    }
    return Refuse("unknown command \"" + args[0].text + "\"");
}

}  // namespace

}  // namespace host

extern "C" int sds_command(int restype, ...) {
    std::vector<host::Argument> args;
    va_list list;
    va_start(list, restype);
    bool read = host::ReadArguments(restype, list, args);
    va_end(list);
    if (!read)
        return host::Refuse("sds_command: malformed arguments");
    int status = host::RunCommand(args);
    host::GetSession().journal.EndCall();
    return status;
}
