// BVBS records: the legs of a bar between the corners of its bends, and the record text.
#include "module/exchange/bvbs.h"

#include <cmath>

#include "module/model/steel.h"
#include "module/rods/rod_geometry.h"
#include "module/schedule/schedule_math.h"

namespace exchange {
namespace {

constexpr double kTolerance = 0.001;
constexpr double kLargestCorneredTurn = rods::kPi - 1e-6;
constexpr std::size_t kLongestText = 30;

// An arc whose tangents do not meet (half a turn or more) becomes two arcs of half its turn,
// each of which has a corner.
void SplitHalfTurns(std::vector<CSDSPointExt>& v) {
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        const double b = v[i].bulge;
        if (4.0 * std::atan(std::fabs(b)) < kLargestCorneredTurn) {
            continue;
        }
        const double cx = v[i + 1].x - v[i].x;
        const double cy = v[i + 1].y - v[i].y;
        const double chord = std::hypot(cx, cy);
        if (chord < kTolerance) {
            continue;
        }
        // The arc's middle lies right of the chord for a positive bulge, by the sagitta.
        const double sagitta = chord / 2.0 * b;
        CSDSPointExt middle((v[i].x + v[i + 1].x) / 2.0 + cy / chord * sagitta,
                            (v[i].y + v[i + 1].y) / 2.0 - cx / chord * sagitta, v[i].z);
        const double half = std::tan(std::atan(b) / 2.0);
        middle.bulge = half;
        v[i].bulge = half;
        v.insert(v.begin() + static_cast<long>(i) + 1, middle);
        ++i;
    }
}

std::string Number(const char* format, double value) {
    return schedule::Format(format, value);
}

}  // namespace

std::vector<BendLeg> BendLegs(std::vector<CSDSPointExt> vertices) {
    SplitHalfTurns(vertices);
    schedule::UnroundCorners(vertices);
    std::vector<BendLeg> legs;
    std::vector<double> directions;
    for (size_t i = 0; i + 1 < vertices.size(); ++i) {
        const double dx = vertices[i + 1].x - vertices[i].x;
        const double dy = vertices[i + 1].y - vertices[i].y;
        const double length = std::hypot(dx, dy);
        if (length < kTolerance) {
            continue;
        }
        legs.push_back({length * 10.0, 0.0});
        directions.push_back(std::atan2(dy, dx));
    }
    for (size_t k = 0; k + 1 < legs.size(); ++k) {
        double turn = directions[k + 1] - directions[k];
        while (turn > rods::kPi) {
            turn -= 2.0 * rods::kPi;
        }
        while (turn <= -rods::kPi) {
            turn += 2.0 * rods::kPi;
        }
        legs[k].angle = turn * 180.0 / rods::kPi;
    }
    // Seen from the side on which the first bend turns left: a bar turned over is the same
    // bar for the machine, so its mirror image gives the same record.
    for (const BendLeg& leg : legs) {
        if (std::round(leg.angle) == 0) {
            continue;
        }
        if (leg.angle < 0) {
            for (BendLeg& each : legs) {
                each.angle = -each.angle;
            }
        }
        break;
    }
    return legs;
}

std::string BvbsText(const std::string& text) {
    static const struct {
        const char* utf8;
        char plain;
    } kPolish[] = {{"ą", 'a'}, {"ć", 'c'}, {"ę", 'e'}, {"ł", 'l'}, {"ń", 'n'}, {"ó", 'o'},
                   {"ś", 's'}, {"ź", 'z'}, {"ż", 'z'}, {"Ą", 'A'}, {"Ć", 'C'}, {"Ę", 'E'},
                   {"Ł", 'L'}, {"Ń", 'N'}, {"Ó", 'O'}, {"Ś", 'S'}, {"Ź", 'Z'}, {"Ż", 'Z'}};
    std::string plain;
    for (size_t i = 0; i < text.size() && plain.size() < kLongestText;) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f) {
            plain += c == '@' ? '_' : static_cast<char>(c);
            ++i;
            continue;
        }
        char replacement = '_';
        size_t length = 1;
        for (const auto& letter : kPolish) {
            if (text.compare(i, 2, letter.utf8) == 0) {
                replacement = letter.plain;
                length = 2;
                break;
            }
        }
        // Any other character: all the bytes of its UTF-8 sequence become one "_".
        if (length == 1 && c >= 0xc0) {
            while (i + length < text.size() &&
                   (static_cast<unsigned char>(text[i + length]) & 0xc0) == 0x80) {
                ++length;
            }
        }
        plain += replacement;
        i += length;
    }
    return plain;
}

int BvbsChecksum(const std::string& recordUpToC) {
    long sum = 0;
    for (char c : recordUpToC) {
        sum += static_cast<unsigned char>(c);
    }
    return 96 - static_cast<int>(sum % 32);
}

std::string BvbsRecord(const BvbsBar& bar) {
    std::string record = "BF2D@Hj" + BvbsText(bar.project) + "@r" + BvbsText(bar.drawing) + "@p" +
                         std::to_string(bar.mark) + "@l" + Number("%.0f", bar.lengthMm) + "@n" +
                         std::to_string(bar.count) + "@e" + Number("%.3f", bar.massKg) + "@d" +
                         FormatDiameter(bar.diameterMm) + "@g" + BvbsText(bar.grade) + "@s" +
                         Number("%.0f", bar.mandrelMm) + "@G";
    for (const BendLeg& leg : bar.legs) {
        // "-0" is no angle a machine expects.
        const double angle = std::round(leg.angle);
        record += "l" + Number("%.0f", leg.lengthMm) + "@w" +
                  Number("%.0f", angle == 0 ? 0 : angle) + "@";
    }
    record += "C";
    return record + std::to_string(BvbsChecksum(record)) + "@\r\n";
}

}  // namespace exchange
