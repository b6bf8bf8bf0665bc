// The group-code table, compact group lists and handle texts.
#include <gtest/gtest.h>

#include "drawing_test_util.h"
#include "host/drawing/database.h"
#include "host/drawing/group_codes.h"
#include "host/drawing/group_list.h"

namespace {

using K = host::ValueKind;

TEST(GroupCodes, EveryRangeHasItsKind) {
    struct Case {
        int code;
        K kind;
    } cases[] = {
        {-2, K::EntityName}, {-1, K::EntityName},  {0, K::Text},         {1, K::Text},
        {5, K::Handle},      {9, K::Text},         {10, K::Point},       {17, K::Point},
        {18, K::Invalid},    {38, K::Real},        {59, K::Real},        {60, K::Int16},
        {79, K::Int16},      {90, K::Int32},       {99, K::Int32},       {100, K::Text},
        {102, K::Text},      {105, K::Handle},     {110, K::Real},       {149, K::Real},
        {170, K::Int16},     {179, K::Int16},      {210, K::Point},      {270, K::Int16},
        {299, K::Int16},     {300, K::Text},       {309, K::Text},       {320, K::Handle},
        {329, K::Handle},    {330, K::EntityName}, {369, K::EntityName}, {390, K::Handle},
        {399, K::Handle},    {410, K::Text},       {419, K::Text},       {1000, K::Text},
        {1009, K::Text},     {1010, K::Point},     {1013, K::Point},     {1040, K::Real},
        {1042, K::Real},     {1060, K::Int16},     {1070, K::Int16},     {1071, K::Int32},
        {1072, K::Invalid},  {-3, K::Invalid},     {5005, K::Invalid},   {5020, K::Invalid},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host::KindOfGroup(c.code), c.kind) << "group " << c.code;
    }
}

// Values are kept in a packed byte form: each kind, extreme values and a text longer than
// one size byte come back exactly; invalid codes are refused.
TEST(GroupList, KeepsEveryKindExactlyAndInOrderAndRefusesInvalidCodes) {
    host::GroupList list;
    const std::string longText(300, 'x');
    list.AddText(1, "Pręt");
    list.AddInt(70, -32768);
    list.AddInt(90, 123456789);
    list.AddReal(140, 1.2);
    list.AddPoint(10, 1.5, -2.5, 3.25);
    list.AddId(360, host::ObjectId{77});
    list.AddText(3, longText);
    list.AddText(1, "");
    host::Group invalid;
    invalid.code = 5005;
    EXPECT_FALSE(list.Add(invalid));
    std::string text;
    for (const host::Group& group : list)
        text += host_test::GroupText(group);
    EXPECT_EQ(text, "(1 Pręt)(70 -32768)(90 123456789)(140 1.2)(10 1.5,-2.5,3.25)(360 @77)(3 " +
                        longText + ")(1 )");
}

TEST(Handles, TextRoundTripAndRefusals) {
    EXPECT_EQ(host::Handle{0x2A}.ToText(), "2A");
    EXPECT_EQ(host::Handle{0xFFFFFFFFFFFFFFFF}.ToText(), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(host::Handle::FromText("2a")->value, 0x2Au);
    for (const char* bad : {"", "0", "G1", "12345678901234567", " 1", "1 "}) {
        EXPECT_FALSE(host::Handle::FromText(bad).has_value()) << bad;
    }
}

}  // namespace
