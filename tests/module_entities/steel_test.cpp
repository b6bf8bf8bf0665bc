// Steel grade names and indices, smooth/ribbed kinds, unit masses and diameter texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "module/model/steel.h"

namespace {

// Names go to indices and back; unknown names fall to RB500W, indices outside give no name;
// only the first five grades are smooth.
TEST(SteelTables, NamesIndicesAndKinds) {
    for (int i = 0; i < kSteelCount; ++i) {
        EXPECT_EQ(SteelIndex(SteelName(i)), i) << SteelName(i);
        EXPECT_EQ(IsSmoothSteel(i), i < 5) << i;
    }
    const std::pair<const char*, int> cases[] = {
        {"St0S", 0}, {"St3S", 3},  {"St3SX", 1},   {"PB240", 4},   {"St50B", 5},
        {"18G2", 6}, {"20G2Y", 7}, {"20G2VY", 13}, {"RB500W", 15}, {"rb500", 15},
        {"", 15},    {"St3", 15},  {"St3SXX", 15}, {"RB500 ", 15}, {"-", 15},
    };
    for (const auto& [name, index] : cases) {
        EXPECT_EQ(SteelIndex(name), index) << '"' << name << '"';
    }
    for (int index : {-1, 16, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        EXPECT_EQ(SteelName(index), "") << index;
        EXPECT_FALSE(IsSmoothSteel(index)) << index;
    }
}

// Every pick-list diameter has a mass; others, and those more than a hair off, have none.
TEST(SteelTables, UnitMassMatchesOnlyStrictlyWithinTolerance) {
    for (const char* text : kDiameterTexts) {
        EXPECT_GT(UnitMass(std::stod(text)), 0.0) << text;
    }
    const std::pair<double, double> cases[] = {
        {12.0, 0.888}, {12.0005, 0.888}, {11.9995, 0.888},
        {12.001, 0.0}, {11.999, 0.0},    {9.0, 0.0},
        {5.5, 0.187},  {3.0, 0.055},     {50.0, 15.4},
        {-12.0, 0.0},  {1e300, 0.0},     {std::numeric_limits<double>::quiet_NaN(), 0.0},
    };
    for (const auto& [diameter, mass] : cases) {
        EXPECT_DOUBLE_EQ(UnitMass(diameter), mass) << diameter;
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
