// Fault injection on WPP, EPP and WRP: each session cancelled at each answer in turn, and cut
// off there by the end of the input. The drawing comes back exactly; only a projection already
// dragged into place may stay, whole, and one U then gives the drawing back.
#include "host/drawing_access.h"
#include "tests/scenarios_views/views_kit.h"

namespace {

using namespace views_kit;

struct Session {
    const char* name;
    std::vector<std::string> lines;
    bool mayKeep;  // a projection stays once dragged
};

const Session kSessions[] = {
    {"WPP", {"WPP", "0,0", "100,0", "5", "2", "Rozstaw"}, false},
    {"EPP description",
     {"EPP", "Rysuj_opis", "Przejmij_nr_pręta", "0,200", "25.2,0", "25,50", "80,50"},
     false},
    {"EPP typed number", {"EPP", "", "", "12", "50.2,0", "50,50", "0,50"}, false},
    {"EPP change", {"EPP", "Zmień_średnicę/stal", "25.2,0"}, false},
    {"WRP", {"WRP", "", "0,200", "0,-100", "0,-150", "Tak", "0,-300", "5", "Tak", "0,-400"}, true},
};

std::vector<std::string> SectionAndBar() {
    std::vector<std::string> lines = TenMillimetreSection();
    lines.insert(lines.end(), {"WPR", "0,200", "200,200", ""});
    return lines;
}

TEST_F(ViewsTest, EscOrEndOfInputAtEveryAnswerLosesNothing) {
    RunWpr(SectionAndBar());
    const std::string before = Snapshot();
    for (const Session& session : kSessions) {
        SCOPED_TRACE(session.name);
        int kept = 0;
        for (size_t k = 0; k < session.lines.size(); ++k) {
            SCOPED_TRACE("answer " + std::to_string(k + 1));
            std::vector<std::string> withEsc = session.lines;
            withEsc[k] = "^C";
            std::vector<std::string> cut(session.lines.begin(),
                                         session.lines.begin() + static_cast<long>(k));
            for (const std::vector<std::string>* lines : {&withEsc, &cut}) {
                RunWpr(SectionAndBar());
                const std::string transcript = RunWpr(*lines, false);
                EXPECT_EQ(host::OpenUndoGroups(), 0);
                EXPECT_TRUE(PanelInputsEnabled());
                EXPECT_EQ(LinesOnLayerZero(), 0) << "temporary lines left";
                if (Snapshot() == before)
                    continue;
                ASSERT_TRUE(session.mayKeep) << transcript;
                ++kept;
                EXPECT_FALSE(Projections().empty()) << transcript;
                EXPECT_CLEAN_AUDIT();
                RunWpr({"U"}, false);
                EXPECT_EQ(Snapshot(), before) << "one U takes the projection back";
            }
        }
        // The whole session, to show that its answers do draw something (the panel starts
        // from its defaults, 4.5 mm, so a change rebuilds the disc).
        RunWpr(SectionAndBar());
        RunWpr(session.lines, false);
        EXPECT_NE(Snapshot(), before);
        EXPECT_CLEAN_AUDIT();
        if (session.mayKeep) {
            EXPECT_GT(kept, 0);
        }
    }
}

}  // namespace
