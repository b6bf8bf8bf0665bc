// Esc, and the end of the input, at every answer of a scenario of each command and each edit
// option: the drawing is left as it was, or holding one sound change that one U takes back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fault_injection.h"
#include "tests/support/undo_property.h"

namespace {

using Lines = std::vector<std::string>;

Lines Join(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Two ribbed 10 mm bars as the sample drawing has them, and its polyline.
const Lines kPanel = {"PANEL steel RB500W", "PANEL diameter 10", "PANEL letter 5",
                      "PANEL letterdim 4"};
const Lines kBars = Join(kPanel, {"WPR", "0,0", "300,0", "", "WPR", "0,100", "300,100", "300,200",
                                  "", "PLINE", "0,500", "200,500", "200,600", ""});
// Smooth steel asks for the hook sides.
const Lines kSmooth = {"PANEL steel St0S", "PANEL diameter 10", "PANEL rounded 1",
                       "PANEL letter 5"};
// A cross-section of five 10 mm bars over (0,0)-(100,0) and a bar above it.
// clang-format off
const Lines kSection = {"PANEL diameter 10", "PANEL steel RB500W", "PANEL count 5", "WPP", "0,0",
                        "100,0", "0", "0", "Ilość", "WPR", "0,200", "200,200", ""};
// Two bars, a projection of bar 2 described on a leader, a section whose leader names bar 2.
const Lines kViews = {"PANEL diameter 10", "PANEL steel RB500W", "PANEL count 5", "WPR", "0,0",
                      "100,0", "", "WPR", "0,100", "100,100", "", "WRP", "", "50,100", "0,100",
                      "0,200", "Nie", "Nie", "^C", "EDPR", "Opis", "Na_odnośniku", "50,200",
                      "50,200", "60,230", "120,230", "^C", "^C", "WPP", "0,-200", "100,-200", "0",
                      "0", "Ilość", "EPP", "", "", "2", "0.2,-200", "10,-250", "60,-250", "^C"};
// clang-format on

TEST(FaultInjection, EveryAnswerOfEveryCommand) {
    const Lines kSample = testkit::SampleDrawing();
    // Name, setup, command lines; then, where they differ from the defaults: the U that take
    // the whole run back, the answer where the selection made by SELECT is used, the first
    // answer whose fault may leave a change.
    const testkit::FaultScenario scenarios[] = {
        // clang-format off
        // Points, the offset option with its base and both offsets, the Enter that ends the
        // points, both hook sides.
        {"WPR", Join(kSmooth, {"WPR", "0,200", "200,200", "", "", "", "CIRCLE", "300,300", "10"}),
         {"WPR", "0,0", "Odsuń", "0,0", "50", "0", "100,50", "150,50", "", "60,10", "140,60"},
         1, 0, 5},
        {"EDPR dimension texts", kSample, {"EDPR", "Teksty_wymiarów(wstaw/usuń)", "10,100"}},
        {"EDPR description", kSample, {"EDPR", "Opis", "", "10,100"}},
        {"EDPR leader", kSample,
         {"EDPR", "Opis", "Tylko_numer_na_odnośniku", "10,0", "100,0", "120,-40", "200,-40"}},
        {"EDPR move", kSample, {"EDPR", "Przesuń", "10,0", "0,0", "50,50"}},
        {"EDPR copy", kSample, {"EDPR", "Kopiuj", "", "10,0", "0,0", "500,0"}},
        {"EDPR copy, new number", kSample,
         {"EDPR", "Kopiuj", "Nowy_nr_pręta", "10,100", "0,100", "500,100"}},
        {"EDPR eject", kSample, {"EDPR", "Wyrzuć", "10,0", "0,0", "500,0"}},
        {"EDPR delete", kSample, {"EDPR", "Usuń", "10,0", "Tak"}},
        {"EDPR delete, views renumbered", kViews, {"EDPR", "Usuń", "50,0", "Tak"}},
        {"AUDIT Napraw, views renumbered", Join(kViews, {"ERASE", "50,0", ""}), {"AUDIT Napraw"},
         1, 0, SIZE_MAX, false},
        {"WPR closing a gap, views renumbered", Join(kViews, {"ERASE", "50,0", ""}),
         {"PANEL diameter 12", "WPR", "0,300", "100,300", ""}, 1, 0, 4, false},
        // Esc at an offset keeps the offset shown, at a hook side the side offered.
        {"EDPR divide", kSample, {"EDPR", "Dziel", "200,0", "Odsuń", "100,0", "50", "0"}, 1, 0, 5},
        {"EDPR divide, smooth", Join(kSmooth, {"WPR", "0,0", "300,0", "", "0,-10", "300,-10"}),
         {"EDPR", "Dziel", "200,0", "100,0", "100,-10", "200,-10"}, 1, 0, 4},
        {"EDPR length", kSample, {"EDPR", "Edycja_długości", "Przedłuż", "30", "290,100"}},
        {"EDPR diameter and steel", kSample,
         {"PANEL diameter 16", "PANEL steel St0S", "EDPR", "Zmień_średnicę/stal", "10,100",
          "0,90", "310,200"}, 1, 0, 5},
        {"EDPR replace polyline", Join(kSmooth, {"PLINE", "0,300", "200,300", "200,400", ""}),
         {"EDPR", "zAmień_polilinię", "100,300", "0,310", "210,400"}, 1, 0, 3},
        {"EDPR picker", kSample,
         {"SELECT", "10,0", "10,100", "", "EDPR", "Przesuń", "show", "select 2", "click 1",
          "0,0", "0,-50"}, 1, 6},
        {"WPP", kBars, {"WPP", "0,-300", "100,-300", "5", "2", "Rozstaw"}},
        {"EPP description", kSection,
         {"EPP", "Rysuj_opis", "Przejmij_nr_pręta", "0,200", "25.2,0", "25,50", "80,50"}},
        {"EPP typed number", kSection, {"EPP", "", "", "1", "50.2,0", "50,50", "0,50"}},
        {"EPP change", kSection, {"PANEL diameter 12", "EPP", "Zmień_średnicę/stal", "25.2,0"}},
        // A projection once dragged into place stays.
        {"WRP", kSection,
         {"WRP", "", "0,200", "0,-100", "0,-150", "Tak", "0,-300", "5", "Tak", "0,-400"}, 1, 0, 5},
        {"ERD", Join(kSmooth, {"WPR", "0,0", "250,0", "", "", "", "EDPR", "Opis", "Na_odnośniku",
                               "100,0", "100,0", "120,40", "200,40", "^C", "^C"}),
         {"ERD", "200,40", "set 1037 3", "set 1035 4", "click 1"}},
        // Picks that take the nearest object the prompt uses, a transparent 'PANEL inside a
        // command, a copy's group kept live when the copy is divided, each leader of a copy
        // edited alone.
        {"EPP change, a disc under a bar", Join(kSection, {"WPR", "0,0", "100,0", ""}),
         {"PANEL diameter 12", "EPP", "Zmień_średnicę/stal", "25,0"}},
        {"EDPR leader, panel set inside", kSample,
         {"EDPR", "Opis", "'PANEL count 3", "Na_odnośniku", "10,0", "100,0", "120,-40", "200,-40"}},
        {"EDPR divide, a copy in its group",
         Join(kSample, {"EDPR", "Kopiuj", "", "10,0", "0,0", "0,-100", "^C", "^C"}),
         {"EDPR", "Dziel", "10,-100", "150,-100"}},
        {"ERD, a copied leader", Join(kPanel, {"WPR", "0,0", "350,0", "", "EDPR", "Opis",
                                               "Tylko_numer_na_odnośniku", "250,0", "300,0",
                                               "310,30", "400,30", "", "250,0", "100,0", "90,-40",
                                               "0,-40", "^C", "Kopiuj", "Wstaw_kopię", "250,0",
                                               "0,0", "0,-300", "^C", "^C"}),
         {"ERD", "315,-270", "set 1036 350", "click 1"}},
        // A count and remark typed for a mark, its diameter changed, a hand row: one step.
        {"OPR", kBars,
         {"OPR", "cell 1 4 7", "cell 1 5 uwaga", "cell 2 1 16", "yes", "click Dodaj", "cell 3 2 -",
          "cell 3 3 500", "cell 3 4 2", "click 1", "0,-100"}, 1, 0, 1},
        {"OPR deleting a mark", kSample, {"OPR", "select 2", "click Usuń", "yes", "yes", "click 2"},
         1, 0, 1},
        // clang-format on
    };
    for (const testkit::FaultScenario& scenario : scenarios) {
        if (const std::string failures = testkit::SweepFaults(scenario); !failures.empty())
            ADD_FAILURE() << failures;
    }
}

}  // namespace
