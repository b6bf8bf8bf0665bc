// Fault injection on EDPR: sessions that meet every kind of prompt of the command (the option
// prompt, the bar picker, the pick prompt of an operation) cancelled at each answer in turn,
// and cut off there by the end of the input. The drawing must come back exactly, with nothing
// left selected or highlighted and no undo group open.
#include <string>
#include <vector>

#include "tests/scenarios_edpr/edpr_kit.h"

namespace {

using namespace edpr_kit;

struct Session {
    const char* name;
    std::vector<std::string> lines;
};

const Session kSessions[] = {
    {"option prompt",
     {"EDPR", "", "Opis", "", "Dzielenie", "k", "Usuń", "zAmień_polilinię", "w", "^C"}},
    {"picker",
     {"SELECT", kStraightAt, kArcAt, kLineAt, "", "PROBA", "show", "click 1", "cell 1 1 5",
      "select 2", "click 1"}},
    {"pick prompt", {"PROBA", kTextAt, "500,500", "", kLineAt, kArcAt}},
};

TEST_F(EdprTest, EscOrEndOfInputAtEveryAnswerLeavesTheDrawing) {
    for (const Session& session : kSessions) {
        SCOPED_TRACE(session.name);
        MakeDrawing();
        InstallProbe();
        const std::string before = Snapshot();
        for (size_t k = 0; k < session.lines.size(); ++k) {
            SCOPED_TRACE("answer " + std::to_string(k + 1));
            std::vector<std::string> withEsc = session.lines;
            withEsc[k] = "^C";
            std::vector<std::string> cut(session.lines.begin(),
                                         session.lines.begin() + static_cast<long>(k));
            for (const std::vector<std::string>* lines : {&withEsc, &cut}) {
                MakeDrawing();
                InstallProbe();
                const std::string transcript = RunWpr(*lines, false);
                EXPECT_EQ(Snapshot(), before) << transcript;
                // A selection made by SELECT stays until an operation has used it.
                if (!Probe().bars.empty()) {
                    EXPECT_TRUE(SelectionCleared()) << transcript;
                }
                EXPECT_EQ(host::OpenUndoGroups(), 0);
                EXPECT_TRUE(PanelInputsEnabled());
            }
        }
    }
}

}  // namespace
