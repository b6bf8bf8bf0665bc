// What the view scenarios share: the discs, projection lines and leader pieces of the drawing
// read back with their records, and a settings file with panel values that PANEL refuses.
#pragma once

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/rods_dims/dims_kit.h"

namespace views_kit {

using namespace dims_kit;

struct Disc {
    std::string type, layer, handle;
    double x = 0, y = 0, r = 0;
    CRodProfileXDataParameters record;
};

// Every CIRCLE and HATCH with a section record, by place; a hatch's centre and radius from
// its two boundary vertices.
inline std::vector<Disc> Discs() {
    std::vector<Disc> discs;
    for (const testkit::EntityDump& e : testkit::LiveEntities()) {
        if (e.type != "CIRCLE" && e.type != "HATCH")
            continue;
        sds_name name;
        NameOf(e.handle, name);
        Disc d;
        CSDSXDataPret().ReadProfileRecord(name, kKey, d.record);
        if (d.record.type != "Przekrój")
            continue;
        d.type = e.type;
        d.handle = e.handle;
        d.layer = CSDSBaseClass::GetLayer(name);
        sds_point c = {0, 0, 0};
        if (e.type == "CIRCLE") {
            CSDSCircle::GetCenter(name, c);
            d.r = Read(name).height;
        } else {
            CSDSCircleHatch::GetCenter(name, c);
            rblist::Owned list(sds_entget(name));
            const resbuf* count = rblist::Find(list.get(), 93);
            const resbuf* first = rblist::Find(count->rbnext, 10);
            d.r = std::fabs(first->resval.rpoint[0] - c[0]);
        }
        d.x = c[0];
        d.y = c[1];
        discs.push_back(d);
    }
    // Along the row, the circle before the hatch of each disc, whatever the order of making.
    std::stable_sort(discs.begin(), discs.end(), [](const Disc& a, const Disc& b) {
        return std::tie(a.x, a.y, a.type) < std::tie(b.x, b.y, b.type);
    });
    return discs;
}

struct Projection {
    std::string layer, handle;
    int colour = 0;
    double from[3] = {0, 0, 0}, to[3] = {0, 0, 0};
    CRodXDataParameters record;
};

// Every LINE with a projection record, in the order of making.
inline std::vector<Projection> Projections() {
    std::vector<Projection> lines;
    for (const testkit::EntityDump& e : testkit::LiveEntities()) {
        if (e.type != "LINE")
            continue;
        sds_name name;
        NameOf(e.handle, name);
        Projection p;
        CSDSXDataPret().ReadRodRecord(name, kKey, p.record);
        if (p.record.type.rfind("Rzut", 0) != 0)
            continue;
        p.handle = e.handle;
        p.layer = CSDSBaseClass::GetLayer(name);
        p.colour = Read(name).colour;
        CSDSLine::GetPoints(name, p.from, p.to);
        lines.push_back(p);
    }
    return lines;
}

// A settings file whose panel holds `spacing` and `count` as stored texts, which PANEL would
// refuse; the next scenario run with it starts from them.
inline std::string SettingsWith(const std::string& spacing, const std::string& count) {
    const std::string path = ::testing::TempDir() + "views-settings";
    std::ofstream(path) << "armavo-settings 1\n"
                           "key Software\\\\Pellicon\\\\IntelliCAD\\sArmavo\\\\Data\n"
                           "value sz Rozstaw "
                        << spacing << "\\0\nvalue sz RodNumber " << count << "\\0\n";
    return path;
}

// A section of `count` 10 mm bars over (0,0)-(100,0), no covers, count governing.
inline std::vector<std::string> TenMillimetreSection(int count = 5) {
    // clang-format off
    return {"PANEL diameter 10", "PANEL steel RB500W", "PANEL count " + std::to_string(count),
            "WPP", "0,0", "100,0", "0", "0", "Ilość"};
    // clang-format on
}

}  // namespace views_kit
