// System variables: the few the module and the command line read and set.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/drawing/document.h"

#include "host/drawing/object_rules.h"
#include "host/drawing/session.h"

using namespace host;

namespace {

struct Variable {
    const char* name;
    int16_t SystemVariables::*whole;  // null for the reals
    int minimum;
    int maximum;
    double SystemVariables::*real;  // a real above zero
};

constexpr Variable kVariables[] = {
    {"ORTHOMODE", &SystemVariables::orthoMode, 0, 1, nullptr},
    {"OSMODE", &SystemVariables::osMode, 0, 32767, nullptr},
    {"COPYMODE", &SystemVariables::copyMode, 0, 1, nullptr},
    {"PICKBOX", &SystemVariables::pickBox, 0, 50, nullptr},
    {"VIEWSIZE", nullptr, 0, 0, &SystemVariables::viewSize},
    {"TEXTSIZE", nullptr, 0, 0, &SystemVariables::textSize},
};

const Variable* FindVariable(const char* name) {
    if (name == nullptr)
        return nullptr;
    for (const Variable& variable : kVariables) {
        if (EqualNoCase(variable.name, name))
            return &variable;
    }
    return nullptr;
}

}  // namespace

extern "C" {

int sds_getvar(const char* name, resbuf* result) {
    // DWGNAME, read only: the name of the drawing's own file without its folder, "" for a
    // drawing never saved. The text is the caller's, to be released with free().
    if (name != nullptr && result != nullptr && EqualNoCase("DWGNAME", name)) {
        const std::string& path = DrawingFile();
        const std::string file = path.substr(path.find_last_of('/') + 1);
        char* text = static_cast<char*>(std::malloc(file.size() + 1));
        if (text == nullptr) {
            return Refuse("sds_getvar: out of memory");
        }
        std::memcpy(text, file.c_str(), file.size() + 1);
        result->restype = RTSTR;
        result->resval.rstring = text;
        return RTNORM;
    }
    // LTSCALE belongs to the drawing: its header keeps it and undo restores it.
    if (name != nullptr && result != nullptr && EqualNoCase("LTSCALE", name)) {
        result->restype = RTREAL;
        result->resval.rreal = CurrentDrawing().LinetypeScale();
        return RTNORM;
    }
    const Variable* variable = FindVariable(name);
    if (variable == nullptr || result == nullptr) {
        return Refuse("sds_getvar: unknown variable " + std::string(name ? name : ""));
    }
    SystemVariables& values = GetSession().variables;
    if (variable->whole == nullptr) {
        result->restype = RTREAL;
        result->resval.rreal = values.*(variable->real);
    } else {
        result->restype = RTSHORT;
        result->resval.rint = values.*(variable->whole);
    }
    return RTNORM;
}

int sds_setvar(const char* name, const resbuf* value) {
    const bool linetypeScale = name != nullptr && EqualNoCase("LTSCALE", name);
    const Variable* variable = FindVariable(name);
    if ((variable == nullptr && !linetypeScale) || value == nullptr) {
        return Refuse("sds_setvar: unknown variable " + std::string(name ? name : ""));
    }
    double number;
    switch (value->restype) {
        case RTSHORT:
            number = value->resval.rint;
            break;
        case RTLONG:
            number = value->resval.rlong;
            break;
        case RTREAL:
            number = value->resval.rreal;
            break;
        default:
            return Refuse("sds_setvar: " + std::string(name) + " takes a number");
    }
    if (linetypeScale) {
        return CurrentDrawing().SetLinetypeScale(number)
                   ? RTNORM
                   : Refuse("sds_setvar: LTSCALE must be a positive number");
    }
    SystemVariables& values = GetSession().variables;
    if (variable->whole == nullptr) {
        if (!std::isfinite(number) || number <= 0 || number > 1e15)
            return Refuse("sds_setvar: " + std::string(variable->name) + " must be positive");
        values.*(variable->real) = number;
        return RTNORM;
    }
    if (number != std::floor(number) || number < variable->minimum || number > variable->maximum) {
        return Refuse("sds_setvar: " + std::string(variable->name) + " out of range");
    }
    values.*(variable->whole) = static_cast<int16_t>(number);
    return RTNORM;
}

}  // extern "C"
