// The schedule table through the whole program: its geometry by steel kinds, grades and the
// full form, the shapes of drawing rows, every total and mass recomputed from the bars of the
// saved drawing.
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "module/model/steel.h"
#include "tests/scenarios_opr/opr_kit.h"

namespace {

using namespace opr_kit;

struct RowSpec {
    double length;
    double diameterMm;
    int steel;
};

TEST_F(OprTest, TableGeometry) {
    const struct {
        std::vector<RowSpec> bars;  // one mark each
        std::vector<std::string> dialog;
        bool full;
        int kinds;
        int columns;  // W
        std::vector<std::string> kindSigns;
        std::vector<std::string> headerDiameters;  // at y0 - 10h, left to right
        int shapes;
    } cases[] = {
        // clang-format off
        {{{200, 10, 15}}, {}, false, 1, 4, {"#"}, {"#10"}, 0},
        {{{200, 10, 0}, {300, 12, 15}}, {}, false, 2, 8, {"%%c", "#"}, {"%%c10", "#12"}, 0},
        // Six rows of one grade with two diameters: six columns, two headed.
        {{{100, 10, 14}, {110, 12, 14}, {120, 10, 14}, {130, 12, 14}, {140, 10, 14}, {150, 12, 14}}, {},
         false, 1, 6, {"#"}, {"#10", "#12"}, 0},
        {{{150, 4.5, 2}}, {}, false, 1, 4, {"%%c"}, {"%%c4.5"}, 0},
        // Full form: shapes of drawing rows only, not of a hand row.
        {{{200, 10, 15}, {300, 12, 15}}, {"click Dodaj", "cell 3 2 RB500W"}, true, 1, 4, {"#"},
         {"#6", "#10", "#12"}, 2},
        // clang-format on
    };
    for (const auto& c : cases) {
        RunWpr({}, true);
        int number = 0;
        for (const RowSpec& bar : c.bars) {
            MakeBarOf({{0, 500.0 + 100 * number, 0},
                       {bar.length, 500.0 + 100 * number, 0},
                       {bar.length, 550.0 + 100 * number, 0}},
                      number + 1, bar.diameterMm, bar.steel);
            ++number;
        }
        std::vector<std::string> dialog = c.dialog;
        if (!c.full) {
            dialog.push_back("check 1039 0");
        }
        const std::string transcript = RunWpr(Opr(dialog), false);
        SCOPED_TRACE(transcript);
        const double h = TextUnit();
        ASSERT_GT(h, 0.0);
        const int n = static_cast<int>(c.bars.size() + (c.dialog.empty() ? 0 : 1));
        const double rh = c.full ? 12 * h : 4 * h;
        const double m = c.full ? 18 * h : 0;
        const double tw = 24 * h + 8 * h * c.kinds + 8 * h * c.columns;
        const double th = 48 * h + n * rh;
        const Table t = ReadTable();
        ASSERT_EQ(t.frames, 1);
        ASSERT_EQ(t.frame.size(), 4u);
        EXPECT_TRUE(Near(t.frame[2].x, m + tw) && Near(t.frame[2].y, -th))
            << t.frame[2].x << "," << t.frame[2].y << " want " << m + tw << "," << -th;
        const double L = m;
        EXPECT_EQ(TextsOnLine(t, -9 * h), c.kindSigns);
        EXPECT_EQ(TextsOnLine(t, -10 * h), c.headerDiameters);
        EXPECT_EQ(TextAt(t, L + 4 * h, -6 * h), "Nr");
        EXPECT_EQ(TextAt(t, L + 8 * h + 4 * h * c.kinds, -1.5 * h), "Średnica");
        EXPECT_EQ(TextAt(t, L + 22 * h + 8 * h * c.kinds + 4 * h * c.columns, -2 * h),
                  "Długość całkowita [m]");
        EXPECT_EQ(TextAt(t, 0, 4 * h), "WYKAZ STALI ZBROJENIOWEJ");
        EXPECT_EQ(TextAt(t, 0, -th - 4 * h), "BETON KONSTRUKCYJNY");
        EXPECT_EQ(TextAt(t, m / 2, -6 * h), c.full ? "Kształt" : "");
        EXPECT_EQ(static_cast<int>(t.shapes.size()), c.shapes);
        // Each row's diameter stands in the sub-column of its kind.
        for (int r = 0; r < static_cast<int>(c.bars.size()); ++r) {
            const double y = -12 * h - (r + 0.5) * rh;
            const bool second = c.kinds == 2 && !IsSmoothSteel(c.bars[r].steel);
            EXPECT_EQ(TextAt(t, L + (second ? 20 : 12) * h, y),
                      FormatDiameter(c.bars[r].diameterMm));
            EXPECT_EQ(TextAt(t, L + 4 * h, y), std::to_string(r + 1));
        }
        // Shapes lie inside their cells.
        for (size_t s = 0; s < t.shapes.size(); ++s) {
            for (const CSDSPointExt& v : t.shapes[s]) {
                const double bottom = -12 * h - (s + 1) * rh;
                EXPECT_TRUE(v.x > 0 && v.x < m && v.y > bottom && v.y < bottom + rh);
            }
        }
        // No line runs past the frame, and no line lies on its right edge.
        for (const TableLine& l : t.lines) {
            EXPECT_LE(std::max(l.x1, l.x2), m + tw + 1e-6);
            EXPECT_FALSE(Near(l.x1, m + tw) && Near(l.x2, m + tw));
        }
    }
}

// A shape on one line is scaled by its other extent; one on a single point draws nothing.
TEST_F(OprTest, FlatShapes) {
    RunWpr({}, true);
    MakeBarOf({{0, 0, 0}, {0, 300, 0}}, 1, 10, 15);
    MakeBarOf({{0, 500, 0}, {400, 500, 0}}, 2, 10, 15);
    MakeBarOf({{50, 50, 0}, {50, 50, 0}}, 3, 10, 15);
    const std::string transcript = RunWpr(Opr({}), false);
    SCOPED_TRACE(transcript);
    const double h = TextUnit();
    const Table t = ReadTable();
    ASSERT_EQ(t.shapes.size(), 2u);
    const double box = 0.9 * 12 * h;
    // Vertical: its height fills the box; horizontal: its width fills 0.9 of the shape column.
    EXPECT_NEAR(std::fabs(t.shapes[0][1].y - t.shapes[0][0].y), box, 1e-6);
    EXPECT_NEAR(std::fabs(t.shapes[1][1].x - t.shapes[1][0].x), 0.9 * 18 * h, 1e-6);
    auditAtEnd_ = true;
}

// Developed length of a polyline read back from the file, arcs along their curve.
double DevelopedLength(const std::vector<CSDSPointExt>& v) {
    double total = 0;
    for (size_t i = 0; i + 1 < v.size(); ++i) {
        const double chord = std::hypot(v[i + 1].x - v[i].x, v[i + 1].y - v[i].y);
        const double angle = 4 * std::atan(std::fabs(v[i].bulge));
        total += angle < 1e-9 ? chord : chord / 2 / std::sin(angle / 2) * angle;
    }
    return total;
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

TEST_F(OprTest, TotalsAndMassesEqualARecomputationFromTheSavedDrawing) {
    const std::string file =
        (std::filesystem::temp_directory_path() / "armavo_opr_recompute.dxf").string();
    // Smooth bars with hooks and rounded corners, ribbed bars sharing marks, a hand row.
    // clang-format off
    RunWpr({"PANEL steel St0S", "PANEL diameter 8", "PANEL rounded 1",
            "WPR", "0,0", "150,0", "150,80", "", "0,10", "140,80",
            "PANEL steel RB500W", "PANEL diameter 12", "WPR", "0,200", "333,200", "",
            "PANEL diameter 16", "WPR", "0,300", "120,300", "120,390", "",
            "PANEL steel St3S", "PANEL diameter 10", "PANEL rounded 0",
            "WPR", "0,500", "77,500", "", "0,510", "77,510"});
    // clang-format on
    SetNumbers({1, 2, 3, 4});
    // Two more bars of mark 2: its row counts three.
    RunWpr({"COPY", "100,200", "", "0,0", "0,50", "COPY", "100,200", "", "0,0", "0,80"}, false);
    const std::string transcript =
        RunWpr({"OPR", "click Dodaj", "cell 5 2 -", "cell 5 3 500", "cell 5 4 2", "check 1039 0",
                "click 1", "0,-100", "SAVE " + file},
               false);
    SCOPED_TRACE(transcript);

    RunWpr({"OPEN " + file}, true);
    std::filesystem::remove(file);
    // Marks from the bars in the file: each bar's length rounded as its row shows it.
    std::map<int, std::pair<double, int>> marks;  // number -> (rounded length, count)
    std::map<int, std::pair<int, double>> kinds;  // number -> (steel, diameter mm)
    for (const Bar& bar : Polylines()) {
        if (bar.record.type != "Pręt") {
            continue;
        }
        auto& mark = marks[bar.record.number];
        if (mark.second++ == 0) {
            mark.first = std::stod(Fixed(DevelopedLength(bar.vertices), 0));
        }
        kinds[bar.record.number] = {bar.record.steel, bar.record.diameter * 10};
    }
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_EQ(marks[2].second, 3);
    // Per grade, per diameter ascending: total metres; the hand row of "-" adds nothing.
    std::map<int, std::map<double, double>> totals;
    for (const auto& [number, mark] : marks) {
        totals[kinds[number].first][kinds[number].second] += mark.first * mark.second / 100.0;
    }
    std::vector<std::string> lengths, units, masses, sums;
    for (const auto& [steel, perDiameter] : totals) {
        double sum = 0;
        for (const auto& [d, metres] : perDiameter) {
            lengths.push_back(Fixed(metres, 2));
            units.push_back(Fixed(UnitMass(d), 3));
            masses.push_back(Fixed(UnitMass(d) * metres, 2));
            sum += UnitMass(d) * metres;
        }
        sums.push_back(Fixed(sum, 2));
    }
    const double h = TextUnit();
    const Table t = ReadTable();
    ASSERT_EQ(t.frame.size(), 4u);
    const double yN = t.frame[0].y - 12 * h - 5 * 4 * h;
    lengths.insert(lengths.begin(), "Długość ogółem [m]");
    EXPECT_EQ(TextsOnLine(t, yN - 22 * h), lengths);
    units.insert(units.begin(), "Masa jednostkowa [kg/m]");
    EXPECT_EQ(TextsOnLine(t, yN - 26 * h), units);
    masses.insert(masses.begin(), "Masa ogółem [kg]");
    EXPECT_EQ(TextsOnLine(t, yN - 30 * h), masses);
    sums.insert(sums.begin(), "Masa razem [kg]");
    EXPECT_EQ(TextsOnLine(t, yN - 34 * h), sums);
    // Each row's own total stands in its line; the "-" row has none.
    int row = 0;
    for (const auto& [number, mark] : marks) {
        const double y = t.frame[0].y - 12 * h - (row + 0.5) * 4 * h;
        const std::vector<std::string> line = TextsOnLine(t, y);
        ASSERT_EQ(line.size(), 5u);
        EXPECT_EQ(line[2], Fixed(mark.first, 0));
        EXPECT_EQ(line[3], std::to_string(mark.second));
        EXPECT_EQ(line[4], Fixed(mark.first * mark.second / 100.0, 2));
        ++row;
    }
    EXPECT_EQ(TextsOnLine(t, t.frame[0].y - 12 * h - 4.5 * 4 * h).size(), 4u);
    EXPECT_EQ(TextAt(t, t.frame[0].x, t.frame[3].y - 8 * h), "STAL ZBROJENIOWA St0S St3S RB500W ");
}

}  // namespace
