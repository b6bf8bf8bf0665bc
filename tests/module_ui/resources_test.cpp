// The string table and the dialog templates: the table's shape and lookups, and templates that
// the framework can build with the controls the module's code addresses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "module/resources/resource.h"
#include "module/resources/strings.h"
#include "module/resources/templates.h"

namespace {

TEST(StringTable, IdsAreAscendingAndTextsNonEmpty) {
    int last = 0;
    for (const UiStringEntry& e : UiStringTable()) {
        EXPECT_GT(e.id, last);
        EXPECT_NE(e.text[0], '\0') << e.id;
        EXPECT_EQ(LoadUiString(e.id), e.text);
        last = e.id;
    }
    EXPECT_EQ(UiStringTable().size(), 210u);
    for (int id : {0, -1, 12, 66, 117, 142, 158, 164, 905, 973, 989, 100000}) {
        EXPECT_EQ(LoadUiString(id), "") << id;  // ids between and beyond the entries
    }
}

TEST(DialogTemplates, EveryTemplateBuildsWithItsControls) {
    const std::pair<int, std::vector<int>> templates[] = {
        // clang-format off
        {IDD_PARAMETERS,
         {IDC_DIAMETER, IDC_STEEL, IDC_ROUNDED, IDC_SPACING, IDC_COUNT, IDC_LETTER, IDC_LETTER_DIMENSION, IDC_GROUP_BAR, IDC_GROUP_TEMPORARY, IDC_GROUP_TEXT_HEIGHTS}},
        {IDD_SCHEDULE,
         {platform::IDOK, platform::IDCANCEL, IDC_ADD_ROW, IDC_DELETE_ROW, IDC_FULL_SCHEDULE, IDC_GRID}},
        {IDD_SELECT_ROD, {platform::IDOK, platform::IDCANCEL, IDC_GRID}},
        {IDD_EDIT_DESCRIPTION,
         {IDC_ROD_NUMBER, IDC_ROD_COUNT, IDC_STEEL, IDC_DIAMETER, IDC_SPACING, IDC_ROD_LENGTH, platform::IDOK, platform::IDCANCEL}},
        {IDD_ABOUT, {IDC_ABOUT_PICTURE, IDC_ABOUT_TEXT, platform::IDCANCEL}},
        // clang-format on
    };
    for (const auto& [id, controls] : templates) {
        SCOPED_TRACE(id);
        const platform::DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->id, id);
        platform::Dialog d;
        ASSERT_TRUE(d.Create(*t, nullptr));  // refused when two controls share an id
        for (int c : controls) {
            EXPECT_TRUE(d.HasControl(c)) << c;
        }
        // Every control lies inside the dialog.
        for (const platform::ControlTemplate& c : t->controls) {
            if (c.kind == platform::ControlKind::DropDownList) {
                continue;  // a list's rectangle includes its dropped-down part
            }
            EXPECT_GE(c.rect.left, 0) << c.id;
            EXPECT_GE(c.rect.top, 0) << c.id;
            EXPECT_LE(c.rect.right, t->rect.Width()) << c.id;
            EXPECT_LE(c.rect.bottom, t->rect.Height()) << c.id;
        }
        d.DestroyWindow();
    }
    EXPECT_EQ(FindDialogTemplate(104), nullptr);
}

TEST(DialogTemplates, MenuFileOffersTheTenCommands) {
    std::ifstream menu(ARMAVO_SOURCE_DIR "/module/resources/ArmavoApp.mnu");
    ASSERT_TRUE(menu.good());
    std::stringstream text;
    text << menu.rdbuf();
    EXPECT_NE(text.str().find("***MENUGROUP=ArmavoApp"), std::string::npos);
    for (const char* command :
         {"PPR", "WPR", "EDPR", "OPR", "WRP", "WPP", "EPP", "ERD", "HPR", "ORA_ABOUT"}) {
        EXPECT_NE(text.str().find(std::string("^C^C") + command + "\n"), std::string::npos)
            << command;
    }
}

}  // namespace
