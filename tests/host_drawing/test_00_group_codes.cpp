// The group-code table, compact group lists and handle texts.
#include <gtest/gtest.h>

#include "host/database.h"
#include "host/group_codes.h"
#include "host/group_list.h"

namespace {

using host::ValueKind;

TEST(GroupCodes, EveryRangeHasItsKind) {
    struct Case {
        int code;
        ValueKind kind;
    } cases[] = {
        {-2, ValueKind::EntityName},  {-1, ValueKind::EntityName}, {0, ValueKind::Text},
        {1, ValueKind::Text},         {5, ValueKind::Handle},      {9, ValueKind::Text},
        {10, ValueKind::Point},       {17, ValueKind::Point},      {18, ValueKind::Invalid},
        {38, ValueKind::Real},        {59, ValueKind::Real},       {60, ValueKind::Int16},
        {79, ValueKind::Int16},       {90, ValueKind::Int32},      {99, ValueKind::Int32},
        {100, ValueKind::Text},       {102, ValueKind::Text},      {105, ValueKind::Handle},
        {110, ValueKind::Real},       {149, ValueKind::Real},      {170, ValueKind::Int16},
        {179, ValueKind::Int16},      {210, ValueKind::Point},     {270, ValueKind::Int16},
        {299, ValueKind::Int16},      {300, ValueKind::Text},      {309, ValueKind::Text},
        {320, ValueKind::Handle},     {329, ValueKind::Handle},    {330, ValueKind::EntityName},
        {369, ValueKind::EntityName}, {390, ValueKind::Handle},    {399, ValueKind::Handle},
        {410, ValueKind::Text},       {419, ValueKind::Text},      {1000, ValueKind::Text},
        {1009, ValueKind::Text},      {1010, ValueKind::Point},    {1013, ValueKind::Point},
        {1040, ValueKind::Real},      {1042, ValueKind::Real},     {1060, ValueKind::Int16},
        {1070, ValueKind::Int16},     {1071, ValueKind::Int32},    {1072, ValueKind::Invalid},
        {-3, ValueKind::Invalid},     {5005, ValueKind::Invalid},  {5020, ValueKind::Invalid},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host::KindOfGroup(c.code), c.kind) << "group " << c.code;
    }
}

TEST(GroupList, KeepsEveryKindExactlyAndInOrder) {
    host::GroupList list;
    std::string longText(300, 'x');  // longer than one size byte
    list.AddText(1, "Pręt");
    list.AddInt(70, -32768);
    list.AddInt(90, 123456789);
    list.AddReal(140, 1.2);
    list.AddPoint(10, 1.5, -2.5, 3.25);
    list.AddId(360, host::ObjectId{77});
    list.AddText(3, longText);
    list.AddText(1, "");
    ASSERT_EQ(list.Count(), 8u);
    auto it = list.begin();
    EXPECT_EQ(it->text, "Pręt");
    ++it;
    EXPECT_EQ(it->integer, -32768);
    ++it;
    EXPECT_EQ(it->integer, 123456789);
    ++it;
    EXPECT_DOUBLE_EQ(it->real, 1.2);
    ++it;
    EXPECT_DOUBLE_EQ(it->point[1], -2.5);
    EXPECT_DOUBLE_EQ(it->point[2], 3.25);
    ++it;
    EXPECT_EQ(it->id, host::ObjectId{77});
    ++it;
    EXPECT_EQ(it->text, longText);
    ++it;
    EXPECT_EQ(it->code, 1);
    EXPECT_TRUE(it->text.empty());
    ++it;
    EXPECT_TRUE(it == list.end());
}

TEST(GroupList, RefusesInvalidCodes) {
    host::GroupList list;
    host::Group group;
    group.code = 5005;
    EXPECT_FALSE(list.Add(group));
    EXPECT_TRUE(list.empty());
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
