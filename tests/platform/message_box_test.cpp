// Message boxes: yes/no answers read from the user's lines; a dialog at the terminal.
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/message_box.h"
#include "test_support.h"

namespace platform {
namespace {

using testing::Session;

TEST(MessageBoxTest, QuestionsAreAskedUntilAnswered) {
    struct Case {
        std::vector<std::string> lines;
        int expected;
        size_t asked;  // how many times the question was shown
        unsigned type = MB_YESNO | MB_ICONQUESTION;
    } cases[] = {
        {{"yes"}, IDYES, 1},
        {{"TAK"}, IDYES, 1},
        {{" nie "}, IDNO, 1},
        {{"No"}, IDNO, 1},
        {{"^C"}, IDNO, 1},
        {{}, IDNO, 1},
        {{"może", "", "tak"}, IDYES, 3},
        {{"y", "t"}, IDNO, 3},
        {{"anuluj"}, IDCANCEL, 1, MB_YESNOCANCEL},
        {{}, IDCANCEL, 1, MB_YESNOCANCEL},
    };
    for (const Case& c : cases) {
        Session s(c.lines);
        EXPECT_EQ(MessageBox(MainWindow(), "Czy zmienić średnicę pręta na rysunku ?", "IntelliCAD",
                             c.type),
                  c.expected);
        size_t asked = 0;
        for (size_t p = 0; (p = s.Output().find("(tak/nie", p)) != std::string::npos; ++p) {
            ++asked;
        }
        EXPECT_EQ(asked, c.asked) << s.Output();
    }
}

TEST(BackendTest, TerminalPrintsTheWholeDialogWhenItOpens) {
    Session s({"click 2"});
    SetBackend(TerminalBackend());
    DialogTemplate t;
    t.caption = "O programie ArmavoCAD";
    t.rect = {0, 0, 100, 60};
    t.controls = {{2, ControlKind::Button, "Zamknij", {30, 40, 70, 54}},
                  {1041, ControlKind::Static, "ArmavoCAD 1.0.7", {5, 5, 95, 15}}};
    Dialog d;
    EXPECT_EQ(d.DoModal(t, nullptr), IDCANCEL);
    SetBackend(ScriptedBackend());
    EXPECT_TRUE(
        s.Printed("=== O programie ArmavoCAD ===\n  [2] przycisk \"Zamknij\"\n"
                  "  [1041] napis \"ArmavoCAD 1.0.7\"\n"));
    EXPECT_TRUE(s.Printed("zamknięte: 2]"));
}

}  // namespace
}  // namespace platform
