// The drawing audit itself: a drawing made by WPR is clean, and each kind of fault put into
// it by hand is found and numbered.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/host.h"
#include "module/entities/layer_group.h"
#include "module/entities/line_circle.h"
#include "module/entities/text.h"
#include "module/entities/xdata.h"
#include "module/frame/entry_point.h"
#include "platform/script_panel.h"
#include "tests/support/audit.h"
#include "tests/support/scenario.h"

namespace {

const char* const kKey = "ORV_ARMAVO";

struct Name {
    sds_name n = {0, 0};
};

// Two ribbed bars, numbered 1 and 2.
std::vector<Name> TwoBars() {
    testkit::ScenarioOptions options;
    options.entry = SDS_EntryPoint;
    host::RegisterVerb("PANEL", platform::HandlePanelCommand);
    testkit::RunScenario(
        {"PANEL steel RB500W", "WPR", "0,0", "200,0", "", "WPR", "0,100", "200,100", ""}, options);
    std::vector<Name> bars;
    sds_name all;
    if (sds_ssget("X", nullptr, nullptr, nullptr, all) != RTNORM)
        return bars;
    long length = 0;
    sds_sslength(all, &length);
    for (long i = 0; i < length; ++i) {
        Name bar;
        sds_ssname(all, i, bar.n);
        bars.push_back(bar);
    }
    sds_ssfree(all);
    return bars;
}

void Rewrite(const Name& bar, const std::function<void(CRodXDataParameters&)>& change) {
    CSDSXDataPret xdata;
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar.n, kKey, record);
    change(record);
    sds_name dictionary;
    ASSERT_EQ(xdata.ResetExtensionDictionary(bar.n, dictionary), RTNORM);
    ASSERT_EQ(xdata.WriteRodRecord(dictionary, kKey, record), RTNORM);
}

std::string HandleOf(const Name& entity) {
    resbuf* list = sds_entget(entity.n);
    std::string handle;
    for (const resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 5)
            handle = rb->resval.rstring;
    }
    sds_relrb(list);
    return handle;
}

Name MakeLine() {
    CSDSLine line;
    sds_point a = {0, -50, 0};
    sds_point b = {10, -50, 0};
    EXPECT_EQ(line.Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    Name made;
    sds_entlast(made.n);
    return made;
}

// A text linked to a bar as a piece of its description.
Name LinkText(const Name& bar) {
    CSDSText text;
    sds_point at = {0, -20, 0};
    EXPECT_EQ(text.Create("1", at, 5, 0, "STANDARD", 0, 0, at, 0, "0", 256), RTNORM);
    Name made;
    sds_entlast(made.n);
    CSDSXDataPret xdata;
    sds_name dictionary;
    EXPECT_EQ(xdata.EnsureExtensionDictionary(made.n, dictionary), RTNORM);
    EXPECT_EQ(xdata.WriteDescriptionLink(dictionary, kKey, "Opis-Nr", HandleOf(bar), at), RTNORM);
    return made;
}

// The 360 group of an entity: its extension dictionary.
Name DictionaryOf(const Name& entity) {
    Name dictionary;
    resbuf* list = sds_entget(entity.n);
    for (const resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 360) {
            dictionary.n[0] = rb->resval.rlname[0];
            dictionary.n[1] = rb->resval.rlname[1];
        }
    }
    sds_relrb(list);
    return dictionary;
}

TEST(DrawingAudit, FindsEachKindOfFault) {
    const struct {
        const char* what;
        std::function<void(const std::vector<Name>&)> spoil;
        std::string finding;  // empty: the drawing stays clean
    } cases[] = {
        {"bars as WPR made them", [](const std::vector<Name>&) {}, ""},
        {"gap in the numbers",
         [](const std::vector<Name>& bars) { Rewrite(bars[1], [](auto& r) { r.number = 3; }); },
         "A04 bar numbers skip 2"},
        {"copies sharing a number are no gap",
         [](const std::vector<Name>& bars) { Rewrite(bars[1], [](auto& r) { r.number = 1; }); },
         ""},
        {"hook code out of range",
         [](const std::vector<Name>& bars) { Rewrite(bars[0], [](auto& r) { r.hooks = 4; }); },
         ": bar hook code 4"},
        {"steel index out of range",
         [](const std::vector<Name>& bars) { Rewrite(bars[0], [](auto& r) { r.steel = 16; }); },
         ": bar steel index 16"},
        {"no diameter",
         [](const std::vector<Name>& bars) { Rewrite(bars[0], [](auto& r) { r.diameter = 0.0; }); },
         ": bar diameter 0"},
        {"ordinal never given",
         [](const std::vector<Name>& bars) { Rewrite(bars[0], [](auto& r) { r.ordinal = 0; }); },
         ": bar ordinal 0"},
        {"description of an erased bar",
         [](const std::vector<Name>& bars) {
             LinkText(bars[1]);
             ASSERT_EQ(sds_entdel(bars[1].n), RTNORM);
         },
         "A05 "},
        {"description of a live bar is fine",
         [](const std::vector<Name>& bars) { LinkText(bars[1]); }, ""},
        {"group with an erased member",
         [](const std::vector<Name>&) {
             Name line = MakeLine();
             sds_name set;
             ASSERT_EQ(sds_ssadd(line.n, nullptr, set), RTNORM);
             CSDSGroup group;
             ASSERT_EQ(group.Create(set, "", 1, 1), RTNORM);
             sds_ssfree(set);
             ASSERT_EQ(sds_entdel(line.n), RTNORM);
         },
         "A06 group *A0 lists "},
        {"extension dictionary shared with another entity",
         [](const std::vector<Name>& bars) {
             Name line = MakeLine();
             Name dictionary = DictionaryOf(bars[0]);
             resbuf* list = sds_entget(line.n);
             resbuf* groups =
                 sds_buildlist(102, "{ACAD_XDICTIONARY", 360, dictionary.n, 102, "}", RTNONE);
             resbuf* tail = groups;
             while (tail->rbnext != nullptr)
                 tail = tail->rbnext;
             tail->rbnext = list->rbnext->rbnext->rbnext;  // after (-1) (0) (5)
             list->rbnext->rbnext->rbnext = groups;
             ASSERT_EQ(sds_entmod(list), RTNORM);
             sds_relrb(list);
         },
         "A01 "},
        {"record owned elsewhere",
         [](const std::vector<Name>& bars) {
             resbuf* record = sds_dictsearch(DictionaryOf(bars[0]).n, kKey, 0);
             ASSERT_NE(record, nullptr);
             // The owner is the first 330 outside the reactor brackets.
             bool inside = false;
             for (resbuf* rb = record; rb != nullptr; rb = rb->rbnext) {
                 if (rb->restype == 102)
                     inside = rb->resval.rstring[0] == '{';
                 if (rb->restype == 330 && !inside) {
                     rb->resval.rlname[0] = bars[1].n[0];
                     rb->resval.rlname[1] = bars[1].n[1];
                     break;
                 }
             }
             EXPECT_EQ(sds_entmod(record), RTNORM);
             sds_relrb(record);
         },
         "A02 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Name> bars = TwoBars();
        ASSERT_EQ(bars.size(), 2u);
        ASSERT_EQ(testkit::AuditText(), "");
        c.spoil(bars);
        const std::string findings = testkit::AuditText();
        if (c.finding.empty()) {
            EXPECT_EQ(findings, "");
        } else {
            EXPECT_NE(findings.find(c.finding), std::string::npos) << findings;
        }
    }
}

}  // namespace
