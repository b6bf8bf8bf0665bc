// Steel grade names and indices, smooth/ribbed kinds, unit masses and diameter texts.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>
#include <string>
#include <utility>

#include "module/model/steel.h"

namespace {

// The whole grade table, in index order (the order of every pick list): name, smooth.
const std::pair<const char*, bool> kGrades[] = {
    {"St0S", true},    {"St3SX", true},   {"St3SY", true},  {"St3S", true},
    {"PB240", true},   {"St50B", false},  {"18G2", false},  {"20G2Y", false},
    {"25G2S", false},  {"35G2Y", false},  {"34GS", false},  {"RB400", false},
    {"RB400W", false}, {"20G2VY", false}, {"RB500", false}, {"RB500W", false}};

// The whole unit mass table: diameter in mm, kg per metre.
const std::pair<double, double> kMasses[] = {
    {3, 0.055},  {3.5, 0.075}, {4, 0.098},  {4.5, 0.126}, {5, 0.154},  {5.5, 0.187}, {6, 0.222},
    {7, 0.302},  {8, 0.395},   {10, 0.617}, {12, 0.888},  {14, 1.208}, {15, 1.387},  {16, 1.578},
    {18, 1.998}, {20, 2.466},  {22, 2.984}, {24, 3.551},  {25, 3.853}, {26, 4.168},  {28, 4.834},
    {30, 5.549}, {32, 6.313},  {35, 7.55},  {36, 7.99},   {40, 9.87},  {45, 12.5},   {50, 15.4}};

// Every grade has its name, index and kind; unknown names fall to RB500W (no prefix or case
// matching), indices outside give no name and are ribbed.
TEST(SteelTables, EveryGradeNameIndexAndKind) {
    ASSERT_EQ(std::size(kGrades), static_cast<size_t>(kSteelCount));
    for (int i = 0; i < kSteelCount; ++i) {
        const auto& [name, smooth] = kGrades[i];
        EXPECT_EQ(SteelName(i), name) << i;
        EXPECT_EQ(SteelIndex(name), i) << name;
        EXPECT_EQ(IsSmoothSteel(i), smooth) << name;
        EXPECT_STREQ(kSteelNames[static_cast<size_t>(i)], name);
        EXPECT_STREQ(kScheduleSteelNames[static_cast<size_t>(i)], name);
    }
    EXPECT_STREQ(kScheduleSteelNames.back(), "-");
    for (const char* name : {"rb500", "", "St3", "St3SXX", "RB500 ", "-"}) {
        EXPECT_EQ(SteelIndex(name), 15) << '"' << name << '"';
    }
    for (int index : {-1, 16, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        EXPECT_EQ(SteelName(index), "") << index;
        EXPECT_FALSE(IsSmoothSteel(index)) << index;
    }
}

// Every table entry gives its mass, also a hair off; each is within 1 % of a round steel bar
// of 7850 kg/m3 (a cross-check of the table itself). A diameter 0.001 or more off any entry,
// every pick-list diameter excepted, has none.
TEST(SteelTables, EveryUnitMassMatchesOnlyStrictlyWithinTolerance) {
    for (const auto& [diameter, mass] : kMasses) {
        SCOPED_TRACE(diameter);
        EXPECT_DOUBLE_EQ(UnitMass(diameter), mass);
        EXPECT_DOUBLE_EQ(UnitMass(diameter + 0.0005), mass);
        EXPECT_DOUBLE_EQ(UnitMass(diameter - 0.0005), mass);
        EXPECT_EQ(UnitMass(diameter + 0.001), 0.0);
        EXPECT_EQ(UnitMass(diameter - 0.001), 0.0);
        EXPECT_NEAR(mass, 7850 * std::numbers::pi * diameter * diameter / 4 / 1e6, mass * 0.01);
    }
    for (const char* text : kDiameterTexts) {
        EXPECT_GT(UnitMass(std::stod(text)), 0.0) << text;
    }
    for (double diameter : {9.0, 0.0, -12.0, 1e300, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(UnitMass(diameter), 0.0) << diameter;
    }
}

TEST(SteelTables, FormatDiameterWholeOrOneDecimal) {
    const std::pair<double, const char*> cases[] = {
        {4.5, "4.5"},     {12.0, "12"},
        {9.9996, "10.0"}, {10.0004, "10"},
        {10.001, "10.0"}, {5.55, "5.5"},
        {0.0, "0"},       {-4.5, "-4.5"},
        {-6.0, "-6"},     {1e20, "100000000000000000000"},
    };
    for (const auto& [diameter, text] : cases) {
        EXPECT_EQ(FormatDiameter(diameter), text) << diameter;
    }
    // Huge and non-finite values come out whole, without a crash.
    EXPECT_EQ(FormatDiameter(1e300).size(), 301u);
    EXPECT_FALSE(FormatDiameter(std::numeric_limits<double>::quiet_NaN()).empty());
    EXPECT_FALSE(FormatDiameter(std::numeric_limits<double>::infinity()).empty());
}

}  // namespace
