// What the WPR scenario tests share: running the module in the host with a leak check, reading
// the drawing's polylines back with their records, and making bars and linked texts by hand.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/sds/resbuf_count.h"
#include "module/audit/audit_scan.h"
#include "module/entities/resbuf_util.h"
#include "module/entities/xdata.h"
#include "module/frame/entry_point.h"
#include "module/frame/frame.h"
#include "module/rods/obsluga_preta.h"
#include "module/ui/toolbar_dlg.h"
#include "platform/script_panel.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace wpr_kit {

inline const char* const kKey = "ORV_ARMAVO";
inline const double kPi = std::acos(-1.0);

// An entity name that can be returned and stored.
struct Entity {
    sds_name name = {0, 0};
};

// The entity of the handle, in `name`.
inline sds_name& NameOf(const std::string& handle, sds_name& name) {
    sds_handent(handle.c_str(), name);
    return name;
}

// Runs the lines with the module loaded (on a fresh drawing unless `fresh` is off), as a
// script or, with `typed`, as typed at the terminal (a failed command does not end the
// session then); every result-buffer list the session made must be released by its end.
inline std::string RunWpr(const std::vector<std::string>& lines, bool fresh = true,
                          bool typed = false, const std::string& settingsFile = {}) {
    testkit::ScenarioOptions options;
    options.settingsFile = settingsFile;
    options.entry = SDS_EntryPoint;
    options.newDrawing = fresh;
    options.typed = typed;
    // The program wires the PANEL verb to the window framework; the kit leaves it to us.
    host::RegisterVerb("PANEL", platform::HandlePanelCommand);
    const long live = host::LiveResbufCount();
    std::string transcript = testkit::RunScenario(lines, options);
    EXPECT_EQ(host::LiveResbufCount(), live) << "a result buffer leaked";
    return transcript;
}

// Lines that draw `count` two-point 10 mm ribbed bars, one above the other.
inline std::vector<std::string> DrawBars(int count) {
    std::vector<std::string> lines = {"PANEL steel RB500W", "PANEL diameter 10"};
    for (int i = 0; i < count; ++i) {
        const std::string y = std::to_string(100 * i);
        lines.insert(lines.end(), {"WPR", "0," + y, "200," + y, ""});
    }
    return lines;
}

struct Bar : Entity {
    std::string layer;
    std::vector<CSDSPointExt> vertices;
    CRodXDataParameters record;  // empty type for a polyline drawn by hand
};

// Every polyline of the drawing in creation order.
inline std::vector<Bar> Polylines() {
    std::vector<Bar> bars;
    sds_name all = {0, 0};
    if (sds_ssget("X", nullptr, nullptr, nullptr, all) != RTNORM) {
        return bars;
    }
    long length = 0;
    sds_sslength(all, &length);
    for (long i = 0; i < length; ++i) {
        Bar bar;
        sds_ssname(all, i, bar.name);
        resbuf* list = sds_entget(bar.name);
        const bool polyline = CSDSBaseClass::GetTypeName(list) == "LWPOLYLINE";
        sds_relrb(list);
        if (polyline) {
            bar.layer = CSDSBaseClass::GetLayer(bar.name);
            CObslugaPreta::LoadRodVertices(bar.name, bar.vertices);
            CSDSXDataPret().ReadRodRecord(bar.name, kKey, bar.record);
            bars.push_back(bar);
        }
    }
    sds_ssfree(all);
    return bars;
}

// The record's fields in their stored order, for one-line comparisons.
inline std::string RecordText(const CRodXDataParameters& r) {
    std::ostringstream out;
    out << r.type << " " << r.ordinal << " " << r.diameter << " " << r.hooks << " " << r.number
        << " " << r.steel << " " << r.rounded << " " << r.flag;
    return out.str();
}

inline std::vector<int> Numbers() {
    std::vector<int> numbers;
    for (const Bar& bar : Polylines()) {
        numbers.push_back(bar.record.number);
    }
    return numbers;
}

// Gives the bars new numbers (or another field of their records) by hand, as no command would.
inline void SetNumbers(const std::vector<int>& values,
                       int CRodXDataParameters::*field = &CRodXDataParameters::number) {
    std::vector<Bar> bars = Polylines();
    ASSERT_EQ(bars.size(), values.size());
    for (size_t i = 0; i < bars.size(); ++i) {
        bars[i].record.*field = values[i];
        sds_name dictionary;
        ASSERT_EQ(CSDSXDataPret().ResetExtensionDictionary(bars[i].name, dictionary), RTNORM);
        ASSERT_EQ(CSDSXDataPret().WriteRodRecord(dictionary, kKey, bars[i].record), RTNORM);
    }
}

// The bars of the drawing (polylines with a bar's record), in drawing order.
inline std::vector<Bar> RodBars() {
    std::vector<Bar> bars;
    for (const Bar& polyline : Polylines()) {
        if (polyline.record.type == "Pręt") {
            bars.push_back(polyline);
        }
    }
    return bars;
}

// The panel's inputs that a running command locks, all enabled again.
inline bool PanelInputsEnabled() {
    CToolBarDlg* panel = ModulePanel();
    if (panel == nullptr) {
        return false;
    }
    for (int id : {1004, 1006, 1017, 1008, 1015, 1011, 1012}) {
        if (!panel->IsControlEnabled(id)) {
            return false;
        }
    }
    return true;
}

// A bar on "Zbrojenie" with its record, made without the command: diameter in millimetres,
// steel index.
inline Entity MakeBarOf(const std::vector<CSDSPointExt>& vertices, int number, double diameterMm,
                        int steel, int hooks = 0, int rounded = 0) {
    Entity bar;
    EXPECT_EQ(CSDSPolyLine().Create(vertices, false, "Zbrojenie", "CONTINUOUS", 256), RTNORM);
    sds_entlast(bar.name);
    CRodXDataParameters record;
    record.type = "Pręt";
    record.ordinal = number;
    record.diameter = diameterMm / 10.0;
    record.hooks = hooks;
    record.number = number;
    record.steel = steel;
    record.rounded = rounded;
    record.flag = 0;
    sds_name dictionary;
    CSDSXDataPret().EnsureExtensionDictionary(bar.name, dictionary);
    CSDSXDataPret().WriteRodRecord(dictionary, kKey, record);
    return bar;
}

// A text at (0,-50) linked to the bar as a description piece with the tag.
inline Entity LinkText(const std::string& content, const std::string& tag, const sds_name bar) {
    Entity made;
    sds_point at = {0, -50, 0};
    EXPECT_EQ(CSDSText().Create(content, at, 5, 0, "STANDARD", 0, 0, at, 0, "0", 256), RTNORM);
    sds_entlast(made.name);
    sds_name dictionary;
    CSDSXDataPret().EnsureExtensionDictionary(made.name, dictionary);
    CSDSXDataPret().WriteDescriptionLink(dictionary, kKey, tag, EntityHandle(bar), at);
    return made;
}

// One entity read back: what a description, dimension or leader piece is made of.
struct Piece {
    std::string type, text, style, layer, handle;
    double at[3] = {0, 0, 0};  // insertion point, centre
    double height = 0;         // text height, circle radius
    double rotation = 0;
    int horizontal = -1, vertical = -1, colour = -1;
    std::vector<CSDSPointExt> vertices;  // of a polyline
    CRodDescriptionLink link;
};

inline Piece Read(const sds_name entity) {
    Piece p;
    rblist::Owned list(sds_entget(entity));
    p.type = CSDSBaseClass::GetTypeName(list.get());
    p.handle = CSDSBaseClass::GetHandle(list.get());
    const bool polyline = p.type == "LWPOLYLINE";
    for (const resbuf* node = list.get(); node != nullptr; node = node->rbnext) {
        const int g = node->restype;
        std::string* text = g == 1 ? &p.text : g == 7 ? &p.style : g == 8 ? &p.layer : nullptr;
        int* code = g == 62 ? &p.colour : g == 72 ? &p.horizontal : g == 73 ? &p.vertical : nullptr;
        if (text != nullptr)
            *text = rblist::Text(node);
        if (code != nullptr)
            *code = node->resval.rint;
        if (g == 10 && !polyline)
            rblist::CopyPoint(node->resval.rpoint, p.at);
        if ((g == 40 && !polyline) || g == 50)
            (g == 40 ? p.height : p.rotation) = node->resval.rreal;
    }
    if (p.type == "LWPOLYLINE") {
        CObslugaPreta::LoadRodVertices(entity, p.vertices);
    }
    CSDSXDataPret().ReadDescriptionLink(entity, kKey, p.link);
    return p;
}

// The live entities whose record carries one of the tags, in the order of making.
inline std::vector<Piece> Tagged(const std::vector<std::string>& tags) {
    std::vector<Piece> found;
    for (const std::string& handle : testkit::LiveHandles()) {
        sds_name entity;
        sds_handent(handle.c_str(), entity);
        Piece p = Read(entity);
        for (const std::string& tag : tags) {
            if (p.link.type == tag) {
                found.push_back(p);
                break;
            }
        }
    }
    return found;
}

// The texts of the entities whose record carries the tag, in the order of making.
inline std::vector<std::string> TextsTagged(const std::string& tag) {
    std::vector<std::string> texts;
    for (const Piece& p : Tagged({tag})) {
        texts.push_back(p.text);
    }
    return texts;
}

// Entities, their records and the named objects: what a cancelled command must leave exactly.
inline std::string Snapshot() {
    return testkit::DumpDrawing() + "\n--\n" + testkit::DumpNamedObjects();
}

// How often `part` occurs in `text`.
inline int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// The findings the AUDIT command would list, one a line; "" when it finds nothing.
inline std::string ModuleAuditText() {
    std::string text;
    for (const audit::Finding& finding : audit::FindingsOfDrawing()) {
        text += finding.text + "\n";
    }
    return text;
}

// Every scenario ends on a drawing that passes the audit, the test kit's and the AUDIT
// command's, unless the test built a faulty one on purpose.
class WprTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (auditAtEnd_) {
            EXPECT_CLEAN_AUDIT();
            EXPECT_EQ(ModuleAuditText(), "");
        }
    }
    bool auditAtEnd_ = true;
};
using EdprTest = WprTest;
using OprTest = WprTest;
using ViewsTest = WprTest;

}  // namespace wpr_kit
