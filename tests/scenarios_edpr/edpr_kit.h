// What the EDPR scenario tests add to the WPR kit: a drawing of two bars (one with an arc), a
// line and a description text, and a probe: an edit operation typed at the command line that
// only takes its bar and the bar's group the way every edit operation does, and notes what it
// got, so that the selection protocol can be watched through the whole program.
#pragma once

#include <string>
#include <vector>

#include "host/drawing/drawing_access.h"
#include "tests/scenarios_wpr/wpr_kit.h"

namespace edpr_kit {

using namespace wpr_kit;

// Where the entities are picked.
inline const char* const kStraightAt = "100,0";  // bar 1: (0,0) to (250,0)
inline const char* const kArcAt = "0,100";       // bar 2: half circle (0,100) to (200,100)
inline const char* const kLineAt = "300,50";     // a plain line
inline const char* const kTextAt = "0,-50";      // the number text of bar 1's description
inline const char* const kProbePrompt = "Wskaż pręt próbny:";

struct Drawing {
    Entity straight;
    Entity arc;
    Entity line;
    Entity text;
};

// Bar 1 is 250 long; bar 2 is a half circle over a chord of 200, 100π ≈ 314 long.
inline Drawing MakeDrawing() {
    RunWpr({}, true);
    Drawing d;
    d.straight = MakeBarOf({{0, 0, 0}, {250, 0, 0}}, 1, 10, 15);
    CSDSPointExt arcStart(0, 100, 0);
    arcStart.bulge = -1.0;
    d.arc = MakeBarOf({arcStart, {200, 100, 0}}, 2, 10, 15);
    const sds_point a = {300, 0, 0};
    const sds_point b = {300, 100, 0};
    EXPECT_EQ(CSDSLine().Create(a, b, "0", "CONTINUOUS", 256, 1.0), RTNORM);
    sds_entlast(d.line.name);
    d.text = LinkText("1", "Opis-Nr", d.straight.name);
    return d;
}

// What the probe got, one entry per run: the handle of the bar ("-" for none) and the size
// of its group.
struct ProbeLog {
    std::vector<std::string> bars;
    std::vector<long> groupSizes;
};

inline ProbeLog& Probe() {
    static ProbeLog log;
    return log;
}

// Registers the probe as the command PROBA and clears its log.
inline void InstallProbe() {
    Probe() = {};
    host::RegisterVerb("PROBA", [](const std::vector<std::string>&) {
        CObslugaPreta rod(ModulePanel());
        sds_name bar = {0, 0};
        sds_name group = {0, 0};
        if (rod.PickRod(std::string("\n") + kProbePrompt, bar)) {
            Probe().groupSizes.push_back(rod.CollectRodGroup(bar, group));
            Probe().bars.push_back(EntityHandle(bar));
        } else {
            Probe().bars.push_back("-");
        }
        rod.EndRodOperation({group});
        return true;
    });
}

// Nothing is selected or highlighted any more.
inline bool SelectionCleared() {
    resbuf* grips = nullptr;
    resbuf* picks = nullptr;
    sds_ssgetfirst(&grips, &picks);
    const bool none = picks == nullptr;
    if (picks != nullptr && picks->restype == RTPICKS) {
        sds_ssfree(picks->resval.rlname);
    }
    sds_relrb(grips);
    sds_relrb(picks);
    for (const testkit::EntityDump& entity : testkit::LiveEntities()) {
        sds_name name = {0, 0};
        if (sds_handent(entity.handle.c_str(), name) == RTNORM && host::IsHighlighted(name)) {
            return false;
        }
    }
    return none;
}

}  // namespace edpr_kit
