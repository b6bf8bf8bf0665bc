// ERD on a leader description of a 12 mm ribbed bar 250 long (text height 5): the fields
// split from the texts, composed again on OK, checked as the user leaves them, and the shelf
// lengthened towards its own direction when the new texts need more room.
#include "module/ui/edit_description_dlg.h"
#include "tests/rods_reshape/reshape_kit.h"

namespace {

using namespace reshape_kit;

const std::vector<std::string> kPanel = {"PANEL diameter 12", "PANEL steel RB500W",
                                         "PANEL rounded 0", "PANEL spacing 15", "PANEL letter 5"};

std::vector<std::string> With(const std::vector<std::string>& l) {
    return Join(kPanel, l);
}

struct Leader {
    std::vector<std::string> texts;  // number, main, sign, count
    std::vector<CSDSPointExt> leader;
    double circleX = 0;
    double mainX = 0;
};

Leader ReadLeader() {
    Leader out;
    for (const Piece& p : Tagged(kLeaderTags)) {
        if (p.type == "TEXT") {
            out.texts.push_back(p.text);
            if (p.link.type == "OpisOdn-Dl") {
                out.mainX = p.at[0];
            }
        } else if (p.type == "CIRCLE") {
            out.circleX = p.at[0];
        } else {
            out.leader = p.vertices;
        }
    }
    return out;
}

TEST_F(WprTest, ErdRewritesTheLeaderTexts) {
    // Leaders to the right end their shelf at 218.4375 (circle at 223.4375), to the left at
    // 21.5625 (circle at 16.5625); the main text stands at 140.53125 and 42.09375. The room
    // needed is 5 (5 + D + 0.75 N) for D characters of the main text and N of the number.
    const struct {
        const char* name;
        const char* count;  // the panel's count when the leader is drawn
        bool left;
        std::vector<std::string> dialog;  // lines while the editor is open
        std::vector<std::string> texts;   // number, main, sign, count afterwards
        double grow;                      // along x
    } cases[] = {
        // clang-format off
        {"unchanged texts of 15 characters need 103.75: the shelf grows by 5.3125", "1", false, {"click 1"},
         {"1", "12 co 15 L= 250", "# ", ""}, 5.3125},
        {"a shelf running right to left grows to the left", "1", true, {"click 1"},
         {"1", "12 co 15 L= 250", "# ", ""}, -5.3125},
        {"count 1 empties the count text; no length: 12 co 15 fits", "2", false,
         {"set 1037 1", "set 1036 0", "click 1"}, {"1", "12 co 15", "# ", ""}, 0},
        {"no spacing: 12 L= 350; smooth steel; number 7", "1", true,
         {"set 1008 0", "set 1036 350", "set 1006 gładka", "set 1035 7", "click 1"},
         {"7", "12 L= 350", "%%c ", ""}, 0},
        {"neither: the diameter alone, 16 from the list; count 3", "1", false,
         {"set 1008 0", "set 1036 0", "set 1004 16", "set 1037 3", "click 1"}, {"1", "16", "# ", "3"}, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The count is set inside the command, at the description prompt, as the page's
        // panel does it: the command goes on at that prompt.
        const std::string out = RunWpr(
            With({"WPR", "0,0", "250,0", "", "EDPR", "Opis", std::string("'PANEL count ") + c.count,
                  "N", "100,0", "100,0", "120,40", c.left ? "0,40" : "200,40"}));
        EXPECT_NE(out.find(std::string("Panel: \"Ilość\" = ") + c.count + ".\n\nOpis <"),
                  std::string::npos)
            << out;
        const Leader before = ReadLeader();
        const std::string drawn = Snapshot();
        const std::vector<std::string> lines =
            Join({"ERD", c.left ? "16.5625,40" : "223.4375,40"}, c.dialog);
        RunWpr(lines, false);
        const Leader after = ReadLeader();
        EXPECT_EQ(after.texts, c.texts);
        EXPECT_NEAR(after.circleX - before.circleX, c.grow, 1e-9);
        EXPECT_NEAR(after.mainX - before.mainX, c.grow, 1e-9);
        std::vector<CSDSPointExt> grown = before.leader;
        ASSERT_EQ(grown.size(), 3u);
        grown.back().x += c.grow;
        EXPECT_EQ(Shape(after.leader), Shape(grown));
        EXPECT_CLEAN_AUDIT();
        RunWpr({"U"}, false);
        EXPECT_EQ(Snapshot(), drawn) << "one undo step";
    }
}

TEST_F(WprTest, ErdWarnsOnBadFieldsAndCancelsWithoutChange) {
    RunWpr(With(
        {"WPR", "0,0", "250,0", "", "EDPR", "Opis", "N", "100,0", "100,0", "120,40", "200,40"}));
    const std::string drawn = Snapshot();
    // A click on the bar, or on nothing, asks again; Cancel leaves everything.
    std::string out = RunWpr({"ERD", "50,0", "223.4375,40", "set 1035 0", "set 1037 2a",
                              "set 1036 -1", "set 1008 -2", "click 2"},
                             false);
    for (int id : {154, 152, 153}) {
        EXPECT_NE(out.find("[IntelliCAD] " + LoadUiString(id)), std::string::npos) << id;
    }
    EXPECT_EQ(out.find(LoadUiString(155)), std::string::npos) << "2a starts with 2";
    EXPECT_EQ(Snapshot(), drawn);
    // The number and the count keep only their leading whole number.
    RunWpr({"ERD", "223.4375,40", "set 1035 12a", "set 1037 2a", "click 1"}, false);
    EXPECT_EQ(ReadLeader().texts, (std::vector<std::string>{"12", "12 co 15 L= 250", "# ", "2"}));
    // Esc at the pick changes nothing.
    const std::string edited = Snapshot();
    RunWpr({"ERD", "^C"}, false);
    EXPECT_EQ(Snapshot(), edited);
}

// Each leader of a copy is a group of its own, as the bar's are: ERD on one changes that
// leader alone.
TEST_F(WprTest, ErdOnACopiedLeaderChangesThatLeaderAlone) {
    // clang-format off
    RunWpr(With({"WPR", "0,0", "350,0", "", "EDPR", "Opis", "Tylko_numer_na_odnośniku", "250,0",
                 "300,0", "310,30", "400,30", "", "250,0", "100,0", "90,-40", "0,-40", "^C",
                 "Kopiuj", "Wstaw_kopię", "250,0", "0,0", "0,-300", "^C", "^C"}));
    // clang-format on
    auto leaders = [] {
        std::vector<std::string> shapes;
        for (const Piece& p : Tagged({"OpisOdn"})) {
            if (p.type == "LWPOLYLINE") {
                shapes.push_back(Shape(p.vertices));
            }
        }
        return shapes;
    };
    const std::vector<std::string> before = leaders();
    ASSERT_EQ(before.size(), 4u);
    EXPECT_EQ(before[2], "300,-300 310,-270 320,-270");
    RunWpr({"ERD", "315,-270", "set 1036 350", "click 1"}, false);
    std::vector<std::string> expected = before;
    // The dialog offers the first diameter of its list: "4.5 L= 350" needs 5 (5 + 10 + 0.75).
    expected[2] = "300,-300 310,-270 " + Shape({CSDSPointExt(310 + 5 * (5 + 10 + 0.75), -270, 0)});
    EXPECT_EQ(leaders(), expected);
    std::vector<size_t> sizes;
    for (const auto& members : GroupMembers()) {
        sizes.push_back(members.size());
    }
    // The bar's two leaders, the copy's two, then the copy with all its pieces.
    EXPECT_EQ(sizes, (std::vector<size_t>{3, 3, 3, 3, 7}));
}

TEST(EditDescriptionSplit, PartsOfTheMainText) {
    const struct {
        const char* text;
        const char* diameter;
        const char* spacing;
        const char* length;
    } cases[] = {
        {"12 co 20 L= 350", "12", "20", "350"},
        {"12 L= 350", "12", "", "350"},
        {"12 co 15", "12", "15", ""},
        {"1 2", "12", "", ""},
        {"L= 350", "", "", "350"},  // "L=" first: nothing before it
        {"12 L=", "12", "", ""},    // "L=" last: nothing after it
        {"12 co ", "12", "", ""},   // " co " last
        {"12 L=350", "12", "", "350"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        CEditDescriptionDlg dialog;
        dialog.SetDescription("1", "", "# ", c.text);
        EXPECT_EQ(dialog.diameter + "|" + dialog.spacing + "|" + dialog.length,
                  std::string(c.diameter) + "|" + c.spacing + "|" + c.length)
            << c.text;
    }
}

}  // namespace
