// SVG export: colours of the ACI palette, arcs turning the way their bulge says, discs
// filled, texts placed with their alignment, "%%c" as the diameter sign, y pointing up.
#include <gtest/gtest.h>

#include <regex>

#include "../host_drawing/drawing_test_util.h"
#include "files_test_util.h"
#include "host/database.h"
#include "host/svg_export.h"

namespace {

TEST(SvgColours, FirstNineExactAndTheRestFollowTheHueWheel) {
    const struct {
        int index;
        uint32_t rgb;
    } cases[] = {
        {1, 0xFF0000},   {2, 0xFFFF00},   {3, 0x00FF00},   {4, 0x00FFFF},   {5, 0x0000FF},
        {6, 0xFF00FF},   {7, 0x000000},   {8, 0x808080},   {9, 0xC0C0C0},   {10, 0xFF0000},
        {11, 0xFF7F7F},  {12, 0xA50000},  {13, 0xA55252},  {20, 0xFF3F00},  {50, 0xFFFF00},
        {90, 0x00FF00},  {170, 0x0000FF}, {250, 0x333333}, {255, 0xFFFFFF}, {0, 0x000000},
        {256, 0x000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host::AciColour(c.index), c.rgb) << c.index;
}

class SvgExport : public host_test::DrawingTest {};

// What the program draws itself is pinned byte for byte, as other programs read it.
TEST_F(SvgExport, OwnDrawingAsPinned) {
    files_test::MakeSampleDrawing();
    EXPECT_EQ(host::ExportSvg(host::CurrentDrawing()),
              files_test::ReadFile(ARMAVO_FILES_TEST_DIR "/golden/sample.svg"));
}

TEST_F(SvgExport, WhatTheUserSees) {
    files_test::MakeSampleDrawing();
    const std::string svg = host::ExportSvg(host::CurrentDrawing());
    // Entities on layer "Zbrojenie główne" (colour 1) red; layer "0" (colour 7) black.
    EXPECT_NE(svg.find("<circle"), std::string::npos);
    EXPECT_NE(svg.find("stroke=\"#ff0000\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("fill=\"#000000\" fill-rule=\"evenodd\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("Pręt nr 1 ⌀12 łącznik"), std::string::npos);
    EXPECT_EQ(svg.find("%%c"), std::string::npos);
    EXPECT_NE(svg.find("<rect"), std::string::npos);
}

// A bar turning left (positive bulge) and one turning right (negative): on the sheet the
// first arc sweeps anticlockwise (SVG sweep 0), the second clockwise (sweep 1). The higher
// point of the drawing is nearer the top of the sheet.
TEST(SvgGeometry, ArcsSweepWithTheirBulgeAndYPointsUp) {
    host::Database drawing;
    auto polyline = [&](double bulge) {
        host::GroupList list;
        list.AddText(0, "LWPOLYLINE");
        list.AddInt(90, 2);
        list.AddPoint(10, 0, 0, 0);
        list.AddReal(42, bulge);
        list.AddPoint(10, 100, 100, 0);
        ASSERT_TRUE(drawing.Make(list));
    };
    polyline(0.4);
    polyline(-0.4);
    const std::string svg = host::ExportSvg(drawing);
    std::regex arc("M([0-9.]+) ([0-9.]+) A[0-9.]+ [0-9.]+ 0 0 ([01]) ([0-9.]+) ([0-9.]+)");
    std::vector<std::smatch> found;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), arc); it != std::sregex_iterator();
         ++it) {
        found.push_back(*it);
    }
    ASSERT_EQ(found.size(), 2u) << svg;
    EXPECT_EQ(found[0][3], "0");
    EXPECT_EQ(found[1][3], "1");
    EXPECT_GT(std::stod(found[0][2]), std::stod(found[0][5]));  // (0,0) below (100,100)
}

TEST(SvgGeometry, TextAlignmentAndRotation) {
    struct Case {
        int horizontal, vertical;
        const char* anchor;
        const char* baseline;
    } cases[] = {
        {0, 0, "start", "alphabetic"},      {1, 0, "middle", "alphabetic"},
        {2, 3, "end", "text-before-edge"},  {4, 0, "middle", "central"},
        {0, 1, "start", "text-after-edge"}, {9, 7, "start", "alphabetic"},
    };
    for (const Case& c : cases) {
        host::Database drawing;
        host::GroupList list;
        list.AddText(0, "TEXT");
        list.AddPoint(10, 0, 0, 0);
        list.AddReal(40, 2.5);
        list.AddText(1, "a<b & \"c\"");
        list.AddReal(50, 90);
        list.AddInt(72, c.horizontal);
        list.AddPoint(11, 5, 5, 0);
        list.AddInt(73, c.vertical);
        ASSERT_TRUE(drawing.Make(list));
        const std::string svg = host::ExportSvg(drawing);
        EXPECT_NE(svg.find(std::string("text-anchor=\"") + c.anchor + "\""), std::string::npos)
            << c.horizontal;
        EXPECT_NE(svg.find(std::string("dominant-baseline=\"") + c.baseline + "\""),
                  std::string::npos)
            << c.vertical;
        EXPECT_NE(svg.find("rotate(-90.00"), std::string::npos);
        EXPECT_NE(svg.find("a&lt;b &amp; &quot;c&quot;"), std::string::npos);
    }
}

TEST(SvgGeometry, HiddenLayersAndPaperSpaceAreLeftOut) {
    host::Database drawing;
    host::GroupList layer;
    layer.AddText(0, "LAYER");
    layer.AddText(2, "Off");
    layer.AddInt(70, 0);
    layer.AddInt(62, -3);
    ASSERT_TRUE(drawing.Make(layer));
    host::GroupList circle;
    circle.AddText(0, "CIRCLE");
    circle.AddText(8, "Off");
    circle.AddPoint(10, 0, 0, 0);
    circle.AddReal(40, 5);
    ASSERT_TRUE(drawing.Make(circle));
    EXPECT_EQ(host::ExportSvg(drawing).find("<circle"), std::string::npos);
}

}  // namespace
