// SVG export: colours of the ACI palette, arcs turning the way their bulge says, discs
// filled, texts placed with their alignment, "%%c" as the diameter sign, y pointing up;
// drawings of other programs (blocks, MTEXT, ellipses...) and broken numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <sstream>

#include "../host_drawing/drawing_test_util.h"
#include "../support/scenario.h"
#include "files_test_util.h"
#include "host/drawing/database.h"
#include "host/files/file_commands.h"
#include "host/files/mtext_plain.h"
#include "host/files/svg_export.h"

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
    const std::string golden = ARMAVO_FILES_TEST_DIR "/golden/sample.svg";
    const std::string svg = host::ExportSvg(host::CurrentDrawing());
    if (svg != files_test::ReadFile(golden))
        files_test::WriteFile(golden + ".out", svg);  // to look at, and to accept
    EXPECT_EQ(svg, files_test::ReadFile(golden)) << golden << ".out";
}

// A drawing as the file reader keeps other programs' drawings, from lines such as
//   "BLOCK DOOR 10 10"                  a block record DOOR and its BLOCK (base point)
//   "DOOR: LINE|10 10 10 0|11 20 10 0"  an entity of block DOOR, owned by its record
//   "+ATTRIB|10 130 100 0|40 5|1 D1"    a follower of the last entity made without "+"
//   "CIRCLE|10 0 0 0|40 5"              an entity of model space
// Points at (0,0) and (580,580) frame it: (x, y) lies on the sheet at (20 + 2x, 1180 - 2y).
host::Database Foreign(const std::vector<std::string>& lines) {
    host::Database drawing;
    auto make = [&](const std::string& description, host::ObjectId owner,
                    std::optional<host::Category> category, bool structural = false) {
        std::istringstream parts(description);
        std::string part;
        std::getline(parts, part, '|');
        host::GroupList list;
        list.AddText(0, part);
        if (owner)
            list.AddId(330, owner);
        while (std::getline(parts, part, '|')) {
            std::istringstream in(part);
            int code = 0;
            std::string rest;
            in >> code >> std::ws;
            std::getline(in, rest);
            std::istringstream value(rest);
            double p[3] = {0, 0, 0};
            const host::ValueKind kind = host::KindOfGroup(code);
            if (kind == host::ValueKind::Text) {
                list.AddText(code, rest);
            } else if (kind == host::ValueKind::Point) {
                value >> p[0] >> p[1] >> p[2];
                list.AddPoint(code, p);
            } else if (kind == host::ValueKind::Real) {
                list.AddReal(code, std::stod(rest));
            } else {
                list.AddInt(code, std::stoi(rest));
            }
        }
        host::MakeOptions options;
        options.category = category;
        options.structural = structural;
        std::string error;
        const host::ObjectId id = drawing.Make(list, options, &error);
        EXPECT_TRUE(id) << description << ": " << error;
        return id;
    };
    const auto entity = host::Category::Entity;
    host::ObjectId parent;
    make("POINT|10 0 0 0", {}, entity);
    make("POINT|10 580 580 0", {}, entity);
    for (const std::string& line : lines) {
        if (line.rfind("BLOCK ", 0) == 0) {
            std::istringstream words(line.substr(6));
            std::string name, x, y;
            words >> name >> x >> y;
            const host::ObjectId owner = make("BLOCK_RECORD|2 " + name, {}, std::nullopt, true);
            make("BLOCK|2 " + name + "|10 " + x + " " + y + " 0", owner, host::Category::Object);
        } else if (line[0] == '+') {
            make(line.substr(1), parent, entity);
        } else if (const size_t colon = line.find(": "); colon != std::string::npos) {
            make(line.substr(colon + 2),
                 drawing.FindTableEntry("BLOCK_RECORD", line.substr(0, colon)), entity);
        } else {
            parent = make(line, {}, entity);
        }
    }
    return drawing;
}

// Each drawing gives these pieces of SVG (sheet coordinates as Foreign says), none of the
// absent ones, and leaves out these kinds.
TEST(SvgOtherPrograms, KindsDrawnAndLeftOut) {
    const struct {
        const char* what;
        std::vector<std::string> drawing, drawn, absent;
        const char* leftOut;
    } cases[] = {
        // clang-format off
        {"whole ellipse, and a quarter of one standing upright",
         {"ELLIPSE|10 100 100 0|11 50 0 0|40 0.5", "ELLIPSE|10 300 100 0|11 0 50 0|40 0.5|41 0|42 1.5707963267948966"},
         {"M320.00 980.00 A100.00 50.00 0.00 0 0 120.00 980.00 A100.00 50.00 0.00 0 0 320.00 " "980.00 Z", "M620.00 880.00 A100.00 50.00 90.00 0 0 570.00 980.00\""},
         {}, ""},
        {"arc, and the same arc mirrored by its insert",
         {"ARC|10 200 200 0|40 50|50 0|51 1.5707963267948966", "BLOCK WIN 0 0", "WIN: ARC|10 0 0 0|40 50|50 0|51 1.5707963267948966", "INSERT|2 WIN|10 400 400 0|41 -1|42 1"},
         {"M520.00 780.00 A100.00 100.00 0 0 0 420.00 680.00", "M720.00 380.00 A100.00 100.00 0 0 1 820.00 280.00"},
         {}, ""},
        {"insert scaled unevenly and turned: BYBLOCK and layer 0 take its colour, attributes stay",
         {"BLOCK DOOR 10 10", "DOOR: LINE|62 0|10 10 10 0|11 20 10 0", "DOOR: CIRCLE|10 10 10 0|40 5", "INSERT|62 1|2 DOOR|10 100 100 0|41 2|42 3|50 90", "+ATTRIB|10 130 100 0|40 5|1 D1|2 NR|70 0", "+ATTRIB|10 130 90 0|40 5|1 D2|2 UKR|70 1", "+SEQEND"},
         {"M220.00 980.00 L220.00 940.00\" fill=\"none\" stroke=\"#ff0000\"", "M220.00 960.00 A30.00 20.00 0.00 0 0 220.00 1000.00 A30.00 20.00 0.00 0 0 220.00 " "960.00 Z\" fill=\"none\" stroke=\"#ff0000\"", "<text x=\"280.00\" y=\"980.00\" font-size=\"13.72\"", ">D1</text>"},
         {">D2<", "M40.00 1160.00"}, ""},
        {"MTEXT: paragraphs as lines, codes dropped, attachment and turn",
         {"MTEXT|10 200 300 0|40 10|71 1|1 {\\fArial;Pierwszy}\\PDrugi\\~wiersz", "MTEXT|10 400 300 0|40 10|71 9|50 1.5707963267948966|3 Ala ma \\Lkota |1 i \\S1^2;"},
         {"<text x=\"420.00\" y=\"600.00\" font-size=\"27.43\"", ">Pierwszy</text>", "<text x=\"420.00\" y=\"633.33\"", ">Drugi wiersz</text>", "text-anchor=\"end\" transform=\"rotate(-90.00 820.00 580.00)\">Ala ma kota i 1/2</text>"},
         {"fArial", "\\"}, ""},
        {"old-style polyline, solid, the block of a dimension",
         {"POLYLINE|66 1|10 0 0 0|70 1", "+VERTEX|10 300 300 0|42 1", "+VERTEX|10 350 300 0", "+SEQEND", "SOLID|10 10 400 0|11 20 400 0|12 10 410 0|13 20 410 0", "BLOCK *D1 0 0", "*D1: LINE|10 500 500 0|11 550 500 0", "DIMENSION|2 *D1|10 550 500 0|70 32"},
         {"M620.00 580.00 A50.00 50.00 0 0 0 720.00 580.00 L620.00 580.00 Z", "M40.00 380.00 L60.00 380.00 L60.00 360.00 L40.00 360.00 L40.00 380.00 Z\" " "fill=\"#000000\"", "M1020.00 180.00 L1120.00 180.00"},
         {}, ""},
        {"spline; followers owned by their space; layers not plotted; aligned text",
         {"SPLINE|71 2|40 0|40 0|40 0|40 1|40 1|40 1|10 0 0 0|10 100 200 0|10 200 0 0", "POLYLINE|10 0 0 0|70 0", "VERTEX|10 500 500 0", "VERTEX|10 550 550 0", "SEQEND", "LAYER|2 Bez wydruku|70 0|62 7|290 0", "LINE|8 Bez wydruku|10 0 0 0|11 5 5 0", "POINT|8 DEFPOINTS|10 3 3 0", "TEXT|10 100 50 0|40 5|1 Wyrównany|72 3|11 150 50 0"},
         {"M20.00 1180.00 L", " L220.00 980.00 ", "L420.00 1180.00\"", "M1020.00 180.00 L1120.00 80.00\"", "<text x=\"220.00\" y=\"1080.00\""},
         {"L30.00 1170.00", "cy=\"1174.00\""}, ""},
        {"bulges turning left sweep anticlockwise on the sheet, right clockwise; hidden layers",
         {"LWPOLYLINE|90 2|10 0 0 0|42 0.4|10 100 100 0", "LWPOLYLINE|90 2|10 0 0 0|42 -0.4|10 100 100 0", "LAYER|2 Off|70 0|62 -3", "CIRCLE|8 Off|10 100 200 0|40 5"},
         {"M20.00 1180.00 A205.06 205.06 0 0 0 220.00 980.00", "M20.00 1180.00 A205.06 205.06 0 0 1 220.00 980.00"}, {"cy=\"780.00\""}, ""},
        {"kinds not drawn, a missing block, a block that inserts itself",
         {"LEADER|10 0 0 0|10 5 5 0", "INSERT|2 NIEMA|10 0 0 0", "BLOCK LOOP 0 0", "LOOP: INSERT|2 LOOP|10 1 0 0", "LOOP: LINE|10 0 0 0|11 1 1 0", "INSERT|2 LOOP|10 0 0 0"},
         {"M20.00 1180.00 L22.00 1178.00", "M50.00 1180.00 L52.00 1178.00"}, {"M52.00 1180.00"},
         "INSERT 2, LEADER 1"},
        {"absurd numbers, given or made by scaling a block",
         {"LINE|10 0 0 0|11 1e300 0 0", "BLOCK BIG 0 0", "BIG: LINE|10 0 0 0|11 1e10 0 0", "INSERT|2 BIG|10 0 0 0|41 1e10|42 1e10", "LINE|10 0 0 0|11 580 0 0"},
         {"M20.00 1180.00 L1180.00 1180.00"}, {"e+", "inf", "nan"}, "LINE 2"},
        // clang-format on
    };
    for (const auto& c : cases) {
        const host::Database drawing = Foreign(c.drawing);
        host::LeftOut leftOut;
        const std::string svg = host::ExportSvg(drawing, &leftOut);
        SCOPED_TRACE(std::string(c.what) + "\n" + svg);
        EXPECT_NE(svg.find("viewBox=\"0 0 1200.00 1200.00\""), std::string::npos);
        for (const std::string& piece : c.drawn)
            EXPECT_NE(svg.find(piece), std::string::npos) << piece;
        for (const std::string& piece : c.absent)
            EXPECT_EQ(svg.find(piece), std::string::npos) << piece;
        EXPECT_EQ(host::LeftOutSummary(leftOut), c.leftOut);
    }
}

// A plot on white paper: each drawing (framed as Foreign says, so 1 unit is 2 px) gives
// these pieces. Texts stand on their base line, worked out from DejaVu Sans (capitals 1493
// of 2048 units high, descent 483): a text 10 high is set in 27.43 px and its base line lies
// 6.47 px above a bottom-aligned insertion point, 10 px below a middle one, 20 px below a top.
TEST(SvgPlot, ColoursPensTextsAndExtents) {
    const struct {
        const char* what;
        std::vector<std::string> drawing, drawn;
    } cases[] = {
        // clang-format off
        {"light colours darkened keeping their hue; dark ones and colour 7 as they are",
         {"LINE|62 2|10 0 0 0|11 9 0 0", "LINE|62 4|10 0 0 0|11 9 0 0", "LINE|62 1|10 0 0 0|11 9 0 0", "LINE|62 7|10 0 0 0|11 9 0 0", "LINE|62 255|10 0 0 0|11 9 0 0"},
         {"stroke=\"#7c7c00\"", "stroke=\"#009292\"", "stroke=\"#ff0000\"", "stroke=\"#000000\"", "stroke=\"#737373\""}},
        {"pens by colour (bar layers heaviest), a line weight of the entity or its layer wins",
         {"LAYER|2 Zbrojenie główne|70 0|62 2", "LAYER|2 Zbrojenie|70 0|62 5", "LAYER|2 Gruba|70 0|62 3|370 100", "LWPOLYLINE|8 Zbrojenie główne|90 2|10 0 0 0|10 9 0 0", "LWPOLYLINE|8 Zbrojenie|90 2|10 0 0 0|10 9 0 0", "LINE|10 0 0 0|11 9 0 0", "LINE|62 3|10 0 0 0|11 9 0 0", "LINE|8 Gruba|10 0 0 0|11 9 0 0", "LINE|8 Gruba|370 13|10 0 0 0|11 9 0 0", "LWPOLYLINE|90 2|43 5|10 0 0 0|10 9 0 0"},
         {"#7c7c00\" stroke-width=\"2.27\"", "#0000ff\" stroke-width=\"1.51\"", "#000000\" stroke-width=\"0.94\"", "#00a000\" stroke-width=\"0.68\"", "#00a000\" stroke-width=\"3.78\"", "#00a000\" stroke-width=\"0.49\"", "#000000\" stroke-width=\"10.00\""}},
        {"base lines by alignment; a turned text turns about its base point",
         {"TEXT|10 100 100 0|40 10|1 a<b & \"c\"", "TEXT|10 0 0 0|40 10|1 B|72 1|11 100 100 0|73 1", "TEXT|10 0 0 0|40 10|1 M|72 4|11 100 100 0", "TEXT|10 0 0 0|40 10|1 T|72 2|11 100 100 0|73 3", "TEXT|10 0 0 0|40 10|1 R|72 0|11 100 100 0|73 2|50 1.5707963267948966"},
         {"<text x=\"220.00\" y=\"980.00\" font-size=\"27.43\" fill=\"#000000\" text-anchor=\"start\">a&lt;b &amp; &quot;c&quot;</text>", "<text x=\"220.00\" y=\"973.53\" font-size=\"27.43\" fill=\"#000000\" text-anchor=\"middle\">B<", "<text x=\"220.00\" y=\"990.00\" font-size=\"27.43\" fill=\"#000000\" text-anchor=\"middle\">M<", "<text x=\"220.00\" y=\"1000.00\" font-size=\"27.43\" fill=\"#000000\" text-anchor=\"end\">T<", "<text x=\"230.00\" y=\"980.00\" font-size=\"27.43\" fill=\"#000000\" text-anchor=\"start\" transform=\"rotate(-90.00 230.00 980.00)\">R<"}},
        {"control codes as they mean; under- and overlining switched on and off",
         {"TEXT|10 0 0 0|40 2|1 %%c16 %%d %%p1 100%%% %%uL%%u=%%o5%%U0%%O", "TEXT|10 0 0 0|40 2|1 %%Ua%%Ob"},
         {">Ø16 ° ±1 100% <tspan text-decoration=\"underline\">L</tspan>=<tspan text-decoration=\"overline\">5</tspan><tspan text-decoration=\"underline overline\">0</tspan></text>", "><tspan text-decoration=\"underline\">a</tspan><tspan text-decoration=\"underline overline\">b</tspan></text>"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        const host::Database drawing = Foreign(c.drawing);
        const std::string svg = host::ExportSvg(drawing);
        SCOPED_TRACE(std::string(c.what) + "\n" + svg);
        for (const std::string& piece : c.drawn)
            EXPECT_NE(svg.find(piece), std::string::npos) << piece;
    }
}

// The view fits what the texts cover, measured by the font's advance widths: a text 10 high
// (font size 13.717) of 30 "W" (2025 of 2048 units each) at x = 900 reaches x = 1306.9, so
// the sheet 1160 px wide (plus margins) shows 580 units of height in 514.8 px; 30 "i" (569
// units each) reach 1014.3 and leave 663.3 px.
TEST(SvgPlot, ViewFitsTheTextsAsTheFontSetsThem) {
    const struct {
        const char* letter;
        const char* viewBox;
    } cases[] = {{"W", "viewBox=\"0 0 1200.00 554.81\""}, {"i", "viewBox=\"0 0 1200.00 703.29\""}};
    for (const auto& c : cases) {
        std::string text;
        for (int i = 0; i < 30; ++i)
            text += c.letter;
        const host::Database drawing = Foreign({"TEXT|10 900 100 0|40 10|1 " + text});
        const std::string svg = host::ExportSvg(drawing);
        EXPECT_NE(svg.find(c.viewBox), std::string::npos) << c.letter << "\n" << svg.substr(0, 300);
    }
}

TEST(SvgOtherPrograms, MtextFormattingCodes) {
    const struct {
        const char* formatted;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\\Pb\\P", {"a", "b", ""}},
        {"{\\H2.5x;\\C1;duży} \\fTimes|b1|i0;\\Opis\\o", {"duży pis"}},
        {"\\A1;\\pxi-3,l3;Tekst\\Nkolumna", {"Tekst", "kolumna"}},
        {"\\S1#2; \\S3^4; a\\\\b \\{x\\}", {"1/2 3/4 a\\b {x}"}},
        {"\\U+0141ódź\\U+00", {"ŁódźU+00"}},
        {"x^Jy^Iz^ ", {"x", "y z^"}},
        {"\\W0.8", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host::MtextParagraphs(c.formatted), c.lines) << c.formatted;
}

// Numbers no program should write (infinite, not a number) put into a drawing behind the
// database's back: EXPORT draws the rest, says what it left out, writes no such number and
// keeps the sheet finite; an export that cannot write says so and fails.
TEST(SvgScenario, BrokenNumbersNeverReachTheFile) {
    host::Database drawing = Foreign({"LINE|10 0 0 0|11 100 50 0", "CIRCLE|10 10 10 0|40 5",
                                      "TEXT|10 0 0 0|40 2|1 x", "MTEXT|10 5 5 0|40 2|1 y"});
    auto poke = [&](const char* type, int code, double value) {
        for (host::ObjectId id : drawing.EntityOrder()) {
            host::Object object = drawing.SlotState(id);
            if (drawing.TypeName(object) != type)
                continue;
            host::GroupList body;
            for (host::Group group : object.body) {
                if (group.code == code)
                    group.real = group.point[0] = value;
                body.Add(group);
            }
            object.body = body;
            drawing.Restore(id, object);
        }
    };
    poke("CIRCLE", 40, std::numeric_limits<double>::infinity());
    poke("TEXT", 10, std::nan(""));
    poke("MTEXT", 40, -std::numeric_limits<double>::infinity());
    poke("POINT", 10, 1e16);
    host::ReplaceDrawing(std::move(drawing));
    const std::string path = files_test::TempPath("broken numbers.svg");
    testkit::ScenarioOptions keep;
    keep.newDrawing = false;
    const std::string out =
        testkit::RunScenario({"EXPORT " + path, "EXPORT /nie/ma/takiego/folderu.svg"}, keep);
    EXPECT_NE(out.find("Wyeksportowano rysunek do " + path +
                       ".\nPominięto w SVG: CIRCLE 1, "
                       "MTEXT 1, POINT 2, TEXT 1\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Nie można wyeksportować rysunku do /nie/ma/takiego/folderu.svg"),
              std::string::npos)
        << out;
    const std::string svg = files_test::ReadFile(path);
    EXPECT_NE(svg.find("viewBox=\"0 0 1200.00 620.00\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("M20.00 600.00 L1180.00 20.00"), std::string::npos) << svg;
    for (const char* broken : {"inf", "nan", "INF", "NAN"})
        EXPECT_EQ(svg.find(broken), std::string::npos) << svg;
    EXPECT_FALSE(host::ExportDrawingSvg("/nie/ma/takiego/folderu.svg"));
    EXPECT_TRUE(host::ExportDrawingSvg(path));
}

}  // namespace
