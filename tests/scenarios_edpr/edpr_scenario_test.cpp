// EDPR's option prompt through the whole program: the default it offers, Enter repeating the
// last option, keyword abbreviations, options not in this build saying so, Esc ending.
#include <string>
#include <vector>

#include "tests/scenarios_edpr/edpr_kit.h"

namespace {

using namespace edpr_kit;

// Every text between `open` and the next `close`, in order.
std::vector<std::string> AllBetween(const std::string& text, const std::string& open,
                                    const std::string& close) {
    std::vector<std::string> found;
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        const size_t start = at + open.size();
        const size_t end = text.find(close, start);
        if (end == std::string::npos) {
            break;
        }
        found.push_back(text.substr(start, end - start));
    }
    return found;
}

TEST_F(EdprTest, OptionPromptOffersAndRepeatsTheLastOption) {
    using List = std::vector<std::string>;
    const struct {
        List answers;
        List defaults;  // the option in angle brackets at each prompt
        List run;       // the options run, in order
        int status = 0;  // 1 when an answer was refused
    } cases[] = {
        // Enter at the first prompt ejects.
        {{"", "^C"}, {"Wyrzuć", "Wyrzuć"}, {"Wyrzuć"}},
        {{"Usuń", "", "^C"}, {"Wyrzuć", "Usuń", "Usuń"}, {"Usuń", "Usuń"}},
        // Capital letters abbreviate, in any case; the full keyword is remembered.
        {{"a", "", "k", "^C"},
         {"Wyrzuć", "zAmień_polilinię", "zAmień_polilinię", "Kopiuj"},
         {"zAmień_polilinię", "zAmień_polilinię", "Kopiuj"}},
        {{"Edycja_długości", "z", "^C"},
         {"Wyrzuć", "Edycja_długości", "Zmień_średnicę/stal"},
         {"Edycja_długości", "Zmień_średnicę/stal"}},
        // A word that is no keyword is asked again by the host; nothing runs for it.
        {{"Dzielenie", "d", "^C"}, {"Wyrzuć", "Wyrzuć", "Dziel"}, {"Dziel"}, 1},
        // Each command starts from the first default again; the end of the input ends it.
        {{"p", "^C", "EDPR", "", "e"},
         {"Wyrzuć", "Przesuń", "Wyrzuć", "Wyrzuć", "Edycja_długości"},
         {"Przesuń", "Wyrzuć", "Edycja_długości"}},
        {{"^C"}, {"Wyrzuć"}, {}},
    };
    for (const auto& c : cases) {
        MakeDrawing();
        const std::string before = Snapshot();
        std::vector<std::string> lines = {"EDPR"};
        lines.insert(lines.end(), c.answers.begin(), c.answers.end());
        const std::string transcript = RunWpr(lines, false);
        SCOPED_TRACE(transcript);
        EXPECT_EQ(AllBetween(transcript, "Edycja pręta <", ">:"), c.defaults);
        EXPECT_EQ(AllBetween(transcript, "Opcja ", " nie jest dostępna w tej wersji modułu."),
                  c.run);
        EXPECT_EQ(testkit::LastScenarioStatus(), c.status);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(host::OpenUndoGroups(), 0);
        EXPECT_TRUE(PanelInputsEnabled());
    }
}

// Esc at the option prompt gives the command line back: the next command runs.
TEST_F(EdprTest, EscAtTheOptionPromptEndsTheCommand) {
    MakeDrawing();
    const std::string transcript = RunWpr({"EDPR", "^C", "LIST", kLineAt}, false);
    EXPECT_NE(transcript.find("(0 . \"LINE\")"), std::string::npos) << transcript;
    EXPECT_EQ(Count(transcript, "Edycja pręta <"), 1) << transcript;
}

}  // namespace
