// BVBS bending records (BF2D) for bending machines: a bar's legs and bends from its polyline,
// one record per mark with its header, geometry and checksum blocks.
#pragma once

#include <string>
#include <vector>

#include "module/entities/point_ext.h"

namespace exchange {

// One straight leg of a bar, between corner points, and the bend that follows it: degrees,
// positive for a turn to the left (counter-clockwise), 0 after the last leg.
struct BendLeg {
    double lengthMm = 0.0;
    double angle = 0.0;
};

// The legs of a bar drawn with `vertices` (centimetres): rounded corners are measured to the
// corner where their tangents meet, a bend of half a turn or more counts as two equal bends,
// hook strokes are legs like the others. Legs shorter than 0.001 cm are not legs. The bends are
// seen from the side on which the first of them turns left, so that a bar and its mirror image
// (the same bar turned over) give the same legs.
std::vector<BendLeg> BendLegs(std::vector<CSDSPointExt> vertices);

// What one record says of a mark.
struct BvbsBar {
    std::string project;  // j
    std::string drawing;  // r
    int mark = 0;         // p
    double lengthMm = 0;  // l, the cutting (developed) length
    int count = 0;        // n
    double massKg = 0;    // e, of one bar
    double diameterMm = 0;
    std::string grade;     // g
    double mandrelMm = 0;  // s, the bend diameter
    std::vector<BendLeg> legs;
};

// A header text as a bending machine reads it: Polish letters without their marks, other
// characters outside printable ASCII and the field separator "@" as "_", at most 30 characters.
std::string BvbsText(const std::string& text);

// The checksum of a record whose text runs up to and including "@C":
// 96 - (sum of the character codes) mod 32.
int BvbsChecksum(const std::string& recordUpToC);

// The whole record, "BF2D@H...@G...@C<n>@" and CR LF.
std::string BvbsRecord(const BvbsBar& bar);

}  // namespace exchange
