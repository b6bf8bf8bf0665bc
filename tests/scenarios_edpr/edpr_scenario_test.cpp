// EDPR's option prompt through the whole program: the default it offers, Enter repeating the
// last option, keyword abbreviations, each option running its operation, Esc ending.
#include <algorithm>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "module/resources/strings.h"
#include "tests/scenarios_edpr/edpr_kit.h"

namespace {

using namespace edpr_kit;

// The option each option prompt offered, in order.
std::vector<std::string> Defaults(const std::string& transcript) {
    static const std::regex prompt("Edycja pręta <([^>]*)>:");
    std::vector<std::string> found;
    for (std::sregex_iterator i(transcript.begin(), transcript.end(), prompt), end; i != end; ++i) {
        found.push_back((*i)[1]);
    }
    return found;
}

// The options run, in order, each known by the first prompt its operation asks.
std::vector<std::string> OptionsRun(const std::string& transcript) {
    // clang-format off
    static const std::vector<std::pair<int, std::string>> firstPrompts = {
        {57, "Dziel"}, {43, "Edycja_długości"}, {64, "Kopiuj"}, {63, "Przesuń"}, {59, "Usuń"},
        {68, "Zmień_średnicę/stal"}, {62, "Teksty_wymiarów(wstaw/usuń)"}, {5, "Opis"},
        {162, "zAmień_polilinię"}, {46, "Wyrzuć"}};
    // clang-format on
    std::vector<std::pair<size_t, std::string>> found;
    for (const auto& [id, option] : firstPrompts) {
        // The description's own prompt reads "Opis <default>:"; the others are whole texts.
        const std::string prompt = id == 5 ? "\nOpis <" : LoadUiString(id);
        for (size_t at = transcript.find(prompt); at != std::string::npos;
             at = transcript.find(prompt, at + 1)) {
            found.emplace_back(at, option);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> options;
    std::ranges::transform(found, std::back_inserter(options), [](auto& e) { return e.second; });
    return options;
}

TEST_F(EdprTest, OptionPromptOffersAndRepeatsTheLastOption) {
    using List = std::vector<std::string>;
    // Each option is given up with Esc at its first prompt, which brings the option prompt
    // back.
    const struct {
        List answers;
        List defaults;   // the option in angle brackets at each prompt
        List run;        // the options run, in order
        int status = 0;  // 1 when an answer was refused
    } cases[] = {
        // Enter at the first prompt ejects.
        {{"", "^C", "^C"}, {"Wyrzuć", "Wyrzuć"}, {"Wyrzuć"}},
        {{"Opis", "^C", "", "^C", "^C"}, {"Wyrzuć", "Opis", "Opis"}, {"Opis", "Opis"}},
        // Capital letters abbreviate, in any case; the full keyword is remembered.
        {{"a", "^C", "", "^C", "k", "^C", "^C"},
         {"Wyrzuć", "zAmień_polilinię", "zAmień_polilinię", "Kopiuj"},
         {"zAmień_polilinię", "zAmień_polilinię", "Kopiuj"}},
        {{"Teksty_wymiarów(wstaw/usuń)", "^C", "z", "^C", "^C"},
         {"Wyrzuć", "Teksty_wymiarów(wstaw/usuń)", "Zmień_średnicę/stal"},
         {"Teksty_wymiarów(wstaw/usuń)", "Zmień_średnicę/stal"}},
        {{"Usuń", "^C", "p", "^C", "^C"}, {"Wyrzuć", "Usuń", "Przesuń"}, {"Usuń", "Przesuń"}},
        // A word that is no keyword is asked again by the host; nothing runs for it.
        {{"Dzielenie", "d", "^C", "^C"}, {"Wyrzuć", "Wyrzuć", "Dziel"}, {"Dziel"}, 1},
        // Each command starts from the first default again; the end of the input ends it.
        {{"p", "^C", "^C", "EDPR", "", "^C", "e"},
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
        EXPECT_EQ(Defaults(transcript), c.defaults);
        EXPECT_EQ(OptionsRun(transcript), c.run);
        EXPECT_EQ(testkit::LastScenarioStatus(), c.status);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_EQ(host::OpenUndoGroups(), 0);
        EXPECT_TRUE(PanelInputsEnabled());
    }
}

}  // namespace
