// Degrees in files, radians in the drawing (see dxf_angles.h).
#include "host/files/dxf_angles.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

namespace host {

bool DegreesInFile(std::string_view type, int code) {
    if (code != 50 && code != 51)
        return false;
    return type == "TEXT" || type == "ATTRIB" || type == "ATTDEF" || type == "ARC" ||
           (type == "STYLE" && code == 50);
}

double RadiansFromFile(double degrees) {
    return degrees * (std::numbers::pi / 180.0);
}

namespace {

std::string Shortest(double value) {
    char text[40];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, static_cast<size_t>(end - text));
}

// The shortest decimal of the angle in degrees that reads back to exactly these radians.
bool ExactDecimal(double radians, std::string& out) {
    const double degrees = radians * (180.0 / std::numbers::pi);
    char text[40];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, degrees);
        double back = 0;
        std::from_chars(text, text + std::char_traits<char>::length(text), back);
        if (RadiansFromFile(back) == radians) {
            out = Shortest(back);  // "90", not "9e+01"
            return true;
        }
    }
    return false;
}

}  // namespace

std::string DegreesForFile(double radians) {
    if (radians == 0 && !std::signbit(radians))
        return "0.0";  // what the search below gives, found at once for the most common angle
    std::string out = Shortest(radians * (180.0 / std::numbers::pi));
    if (std::isfinite(radians)) {
        // No decimal gives these radians back: take the nearest angle that one does, so
        // that the file read and written again keeps its bytes.
        for (int tries = 0; tries < 4; ++tries) {
            if (ExactDecimal(radians, out))
                break;
            out = Shortest(radians * (180.0 / std::numbers::pi));
            double back = 0;
            std::from_chars(out.data(), out.data() + out.size(), back);
            radians = RadiansFromFile(back);
        }
    }
    if (out.find_first_of(".eEn") == std::string::npos)
        out += ".0";
    return out;
}

}  // namespace host
