// What the OPR scenario tests add to the WPR kit: bars of any diameter made by hand, the
// schedule grid read back from what `show` printed, and the table's entities read back.
#pragma once

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scenarios_wpr/wpr_kit.h"

namespace opr_kit {

using namespace wpr_kit;

inline const char* const kTableLayer = "Tabela_stali_zbrojeniowej";

// A straight bar of `length` along y = `y`.
inline Entity StraightBar(double length, double y, int number, double diameterMm = 10,
                          int steel = 15) {
    return MakeBarOf({{0, y, 0}, {length, y, 0}}, number, diameterMm, steel);
}

inline std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    const size_t b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// The grid rows of the last dialog print in the transcript: the cells after the row number,
// joined by "|" (a disabled cell in braces), an empty remark left off.
inline std::vector<std::string> GridRows(const std::string& transcript) {
    std::vector<std::string> rows;
    const size_t at = transcript.rfind("] siatka ");
    std::istringstream in(at == std::string::npos ? "" : transcript.substr(at));
    std::string line;
    std::getline(in, line);  // the grid's heading, then its column titles
    std::getline(in, line);
    while (std::getline(in, line) && line.rfind("    ", 0) == 0 && line.find(": ") != line.npos) {
        std::string rest = line.substr(line.find(": ") + 2);
        std::vector<std::string> cells;
        for (size_t bar; (bar = rest.find(" | ")) != rest.npos; rest.erase(0, bar + 3)) {
            cells.push_back(Trim(rest.substr(0, bar)));
        }
        cells.push_back(Trim(rest));
        if (cells.back().empty()) {
            cells.pop_back();
        }
        std::string joined;
        for (size_t i = 1; i < cells.size(); ++i) {
            joined += (i > 1 ? "|" : "") + cells[i];
        }
        rows.push_back(joined);
    }
    return rows;
}

struct TableText {
    std::string text;
    double x = 0, y = 0, height = 0;
};
struct TableLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
struct Table {
    std::vector<TableText> texts;
    std::vector<TableLine> lines;
    std::vector<std::vector<CSDSPointExt>> shapes;  // open polylines
    std::vector<CSDSPointExt> frame;                // the closed polyline
    int frames = 0;
};

// Every entity on the table's layer.
inline Table ReadTable() {
    Table t;
    for (const testkit::EntityDump& e : testkit::LiveEntities()) {
        sds_name name;
        sds_handent(e.handle.c_str(), name);
        if (CSDSBaseClass::GetLayer(name) != kTableLayer) {
            continue;
        }
        rblist::Owned owned(sds_entget(name));
        const resbuf* list = owned.get();
        auto point = [list](int group) { return rblist::Find(list, group)->resval.rpoint; };
        if (e.type == "TEXT") {
            const resbuf* horizontal = rblist::Find(list, 72);
            const double* at =
                point(horizontal != nullptr && horizontal->resval.rint != 0 ? 11 : 10);
            t.texts.push_back({rblist::Text(rblist::Find(list, 1)), at[0], at[1],
                               rblist::Find(list, 40)->resval.rreal});
        } else if (e.type == "LINE") {
            t.lines.push_back({point(10)[0], point(10)[1], point(11)[0], point(11)[1]});
        } else if (e.type == "LWPOLYLINE") {
            std::vector<CSDSPointExt> vertices;
            CSDSPolyLine::GetVertices(name, vertices);
            const resbuf* flags = rblist::Find(list, 70);
            if (flags != nullptr && (flags->resval.rint & 1) != 0) {
                t.frame = vertices;
                ++t.frames;
            } else {
                t.shapes.push_back(vertices);
            }
        }
    }
    return t;
}

inline bool Near(double a, double b) {
    return std::fabs(a - b) < 1e-6;
}

// The text at (x, y), "" when there is none.
inline std::string TextAt(const Table& t, double x, double y) {
    for (const TableText& text : t.texts) {
        if (Near(text.x, x) && Near(text.y, y)) {
            return text.text;
        }
    }
    return "";
}

// Texts at height y, left to right.
inline std::vector<std::string> TextsOnLine(const Table& t, double y) {
    std::vector<TableText> on;
    for (const TableText& text : t.texts) {
        if (Near(text.y, y)) {
            on.push_back(text);
        }
    }
    std::sort(on.begin(), on.end(),
              [](const TableText& a, const TableText& b) { return a.x < b.x; });
    std::vector<std::string> texts;
    for (const TableText& text : on) {
        texts.push_back(text.text);
    }
    return texts;
}

// The panel's description text height: the table's unit h.
inline double TextUnit() {
    return ModulePanel() != nullptr ? ModulePanel()->GetDescriptionFontSize() : 0.0;
}

// OPR, the dialog lines, then "Wstaw wykaz" at the origin.
inline std::vector<std::string> Opr(std::vector<std::string> dialog, bool insert = true) {
    std::vector<std::string> lines = {"OPR"};
    lines.insert(lines.end(), dialog.begin(), dialog.end());
    if (insert) {
        lines.insert(lines.end(), {"click 1", "0,0"});
    }
    return lines;
}

}  // namespace opr_kit
