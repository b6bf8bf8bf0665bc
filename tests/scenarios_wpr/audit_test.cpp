// The drawing audit itself: a drawing made by WPR is clean, and each kind of fault put into
// it by hand is found and numbered.
#include <functional>
#include <string>
#include <vector>

#include "module/entities/layer_group.h"
#include "tests/scenarios_wpr/wpr_kit.h"

namespace {

using namespace wpr_kit;
using Name = Entity;

void Rewrite(const Name& bar, const std::function<void(CRodXDataParameters&)>& change) {
    CSDSXDataPret xdata;
    CRodXDataParameters record;
    xdata.ReadRodRecord(bar.name, kKey, record);
    change(record);
    sds_name dictionary;
    ASSERT_EQ(xdata.ResetExtensionDictionary(bar.name, dictionary), RTNORM);
    ASSERT_EQ(xdata.WriteRodRecord(dictionary, kKey, record), RTNORM);
}

Name MakeLine() {
    sds_point a = {0, -50, 0};
    sds_point b = {10, -50, 0};
    EXPECT_EQ(CSDSLine().Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    Name made;
    sds_entlast(made.name);
    return made;
}

// The 360 group of an entity: its extension dictionary.
Name DictionaryOf(const Name& entity) {
    Name dictionary;
    resbuf* list = sds_entget(entity.name);
    for (const resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 360) {
            dictionary.name[0] = rb->resval.rlname[0];
            dictionary.name[1] = rb->resval.rlname[1];
        }
    }
    sds_relrb(list);
    return dictionary;
}

TEST(DrawingAudit, FindsEachKindOfFault) {
    const struct {
        const char* what;
        std::function<void(const std::vector<Bar>&)> spoil;
        std::string finding;  // empty: the drawing stays clean
    } cases[] = {
        // clang-format off
        {"gap in the numbers",
         [](const std::vector<Bar>& bars) { Rewrite(bars[1], [](auto& r) { r.number = 3; }); },
         "A04 bar numbers skip 2"},
        {"copies sharing a number are no gap",
         [](const std::vector<Bar>& bars) { Rewrite(bars[1], [](auto& r) { r.number = 1; }); }, ""},
        {"hook code out of range",
         [](const std::vector<Bar>& bars) { Rewrite(bars[0], [](auto& r) { r.hooks = 4; }); },
         ": bar hook code 4"},
        {"steel index out of range",
         [](const std::vector<Bar>& bars) { Rewrite(bars[0], [](auto& r) { r.steel = 16; }); },
         ": bar steel index 16"},
        {"no diameter",
         [](const std::vector<Bar>& bars) { Rewrite(bars[0], [](auto& r) { r.diameter = 0.0; }); },
         ": bar diameter 0"},
        {"ordinal never given",
         [](const std::vector<Bar>& bars) { Rewrite(bars[0], [](auto& r) { r.ordinal = 0; }); },
         ": bar ordinal 0"},
        {"description of an erased bar",
         [](const std::vector<Bar>& bars) {LinkText("1", "Opis-Nr", bars[1].name); ASSERT_EQ(sds_entdel(bars[1].name), RTNORM);},
         "A05 "},
        {"description of a live bar is fine",
         [](const std::vector<Bar>& bars) { LinkText("1", "Opis-Nr", bars[1].name); }, ""},
        {"group with an erased member",
         [](const std::vector<Bar>&) {Name line = MakeLine(); sds_name set; ASSERT_EQ(sds_ssadd(line.name, nullptr, set), RTNORM); CSDSGroup group; ASSERT_EQ(group.Create(set, "", 1, 1), RTNORM); sds_ssfree(set); ASSERT_EQ(sds_entdel(line.name), RTNORM);},
         "A06 group *A0 lists "},
        {"extension dictionary shared with another entity",
         [](const std::vector<Bar>& bars) {
             Name line = MakeLine();
             Name dictionary = DictionaryOf(bars[0]);
             resbuf* list = sds_entget(line.name);
             resbuf* groups =
                 sds_buildlist(102, "{ACAD_XDICTIONARY", 360, dictionary.name, 102, "}", RTNONE);
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
         [](const std::vector<Bar>& bars) {
             resbuf* record = sds_dictsearch(DictionaryOf(bars[0]).name, kKey, 0);
             ASSERT_NE(record, nullptr);
             // The owner is the first 330 outside the reactor brackets.
             bool inside = false;
             for (resbuf* rb = record; rb != nullptr; rb = rb->rbnext) {
                 if (rb->restype == 102)
                     inside = rb->resval.rstring[0] == '{';
                 if (rb->restype == 330 && !inside) {
                     rb->resval.rlname[0] = bars[1].name[0];
                     rb->resval.rlname[1] = bars[1].name[1];
                     break;
                 }
             }
             EXPECT_EQ(sds_entmod(record), RTNORM);
             sds_relrb(record);
         },
         "A02 "},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunWpr(DrawBars(2));
        const std::vector<Bar> bars = Polylines();
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
