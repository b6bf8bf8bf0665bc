// Steel grade names and indices, smooth/ribbed kinds, unit masses and diameter texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "module/model/steel.h"

namespace {

TEST(SteelTables, NamesRoundTripThroughIndices) {
    for (int i = 0; i < kSteelCount; ++i) {
        EXPECT_EQ(SteelIndex(SteelName(i)), i) << SteelName(i);
    }
    EXPECT_EQ(std::string(kScheduleSteelNames[kSteelCount]), "-");
    EXPECT_EQ(kDiameterTexts.front(), std::string("4.5"));
    EXPECT_EQ(kDiameterTexts.back(), std::string("40"));
}

TEST(SteelTables, SteelIndexOfNames) {
    struct Case {
        const char* name;
        int index;
    };
    const Case cases[] = {
        {"St0S", 0}, {"St3S", 3},  {"St3SX", 1},   {"PB240", 4},   {"St50B", 5},
        {"18G2", 6}, {"20G2Y", 7}, {"20G2VY", 13}, {"RB500W", 15}, {"rb500", 15},
        {"", 15},    {"St3", 15},  {"St3SXX", 15}, {"RB500 ", 15}, {"-", 15},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SteelIndex(c.name), c.index) << '"' << c.name << '"';
    }
}

TEST(SteelTables, SteelNameOutsideTableIsEmpty) {
    const int outside[] = {-1, 16, 17, std::numeric_limits<int>::min(),
                           std::numeric_limits<int>::max()};
    for (int index : outside) {
        EXPECT_EQ(SteelName(index), "") << index;
    }
    EXPECT_EQ(SteelName(0), "St0S");
    EXPECT_EQ(SteelName(15), "RB500W");
}

TEST(SteelTables, SmoothGradesAreTheFirstFive) {
    struct Case {
        int index;
        bool smooth;
    };
    const Case cases[] = {{0, true},   {4, true},   {5, false},  {15, false},
                          {-1, false}, {16, false}, {100, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsSmoothSteel(c.index), c.smooth) << c.index;
    }
}

TEST(SteelTables, UnitMassMatchesOnlyStrictlyWithinTolerance) {
    struct Case {
        double diameter;
        double mass;
    };
    const Case cases[] = {
        {12.0, 0.888},
        {12.0005, 0.888},
        {11.9995, 0.888},
        {12.001, 0.0},
        {11.999, 0.0},
        {9.0, 0.0},
        {5.5, 0.187},
        {3.0, 0.055},
        {45.0, 12.5},
        {50.0, 15.4},
        {4.5, 0.126},
        {0.0, 0.0},
        {-12.0, 0.0},
        {1e300, 0.0},
        {std::numeric_limits<double>::quiet_NaN(), 0.0},
        {std::numeric_limits<double>::infinity(), 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(UnitMass(c.diameter), c.mass) << c.diameter;
    }
}

TEST(SteelTables, EveryPickListDiameterHasAMass) {
    for (const char* text : kDiameterTexts) {
        EXPECT_GT(UnitMass(std::stod(text)), 0.0) << text;
    }
}

TEST(SteelTables, FormatDiameterWholeOrOneDecimal) {
    struct Case {
        double diameter;
        const char* text;
    };
    const Case cases[] = {
        {4.5, "4.5"},
        {10.0, "10"},
        {12.0, "12"},
        {9.9996, "10.0"},
        {10.0004, "10"},
        {10.001, "10.0"},
        {11.999, "12.0"},
        {5.55, "5.5"},
        {0.0, "0"},
        {-4.5, "-4.5"},
        {-6.0, "-6"},
        {0.45 * 10, "4.5"},
        {1e20, "100000000000000000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatDiameter(c.diameter), c.text) << c.diameter;
    }
}

TEST(SteelTables, FormatDiameterOfHugeAndNonFiniteValuesDoesNotCrash) {
    EXPECT_EQ(FormatDiameter(1e300).size(), 301u);
    EXPECT_FALSE(FormatDiameter(std::numeric_limits<double>::quiet_NaN()).empty());
    EXPECT_FALSE(FormatDiameter(std::numeric_limits<double>::infinity()).empty());
}

}  // namespace
