// Layouts of the parameters panel, the schedule dialog, the bar picker, the description
// editor and the about box, in dialog units; captions come from the string table.
#include "module/resources/templates.h"

#include <map>

#include "module/model/steel.h"
#include "module/resources/resource.h"
#include "module/resources/strings.h"

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::Rect;

namespace {

// Rectangles are written as x, y, width, height, the way dialog editors show them.
Rect R(int x, int y, int w, int h) {
    return Rect{x, y, x + w, y + h};
}

ControlTemplate Ctl(int id, ControlKind kind, std::string caption, Rect rect,
                    std::vector<std::string> items = {}) {
    ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.caption = std::move(caption);
    c.rect = rect;
    c.items = std::move(items);
    return c;
}

std::vector<std::string> DiameterItems() {
    return {kDiameterTexts.begin(), kDiameterTexts.end()};
}
std::vector<std::string> SteelItems() {
    return {kSteelNames.begin(), kSteelNames.end()};
}

// Three stacked sections; each label comes before its control so that a user can name the
// control by its label.
DialogTemplate ParametersPanel() {
    DialogTemplate t;
    t.id = IDD_PARAMETERS;
    t.caption = LoadUiString(123);
    t.rect = R(4, 30, 98, 145);
    t.visible = false;  // the panel shows itself once its stored settings are applied
    t.controls = {
        Ctl(IDC_GROUP_BAR, ControlKind::GroupBox, LoadUiString(139), R(3, 2, 92, 50)),
        Ctl(IDC_LABEL_DIAMETER, ControlKind::Static, LoadUiString(131), R(8, 14, 34, 8)),
        Ctl(IDC_DIAMETER, ControlKind::DropDownList, "", R(42, 12, 30, 80), DiameterItems()),
        Ctl(IDC_UNIT_DIAMETER, ControlKind::Static, LoadUiString(76), R(75, 14, 18, 8)),
        Ctl(IDC_LABEL_STEEL, ControlKind::Static, LoadUiString(132), R(8, 28, 34, 8)),
        Ctl(IDC_STEEL, ControlKind::DropDownList, "", R(42, 26, 48, 80), SteelItems()),
        Ctl(IDC_ROUNDED, ControlKind::CheckBox, LoadUiString(130), R(8, 40, 84, 10)),

        Ctl(IDC_GROUP_TEMPORARY, ControlKind::GroupBox, LoadUiString(133), R(3, 54, 92, 42)),
        Ctl(IDC_LABEL_SPACING, ControlKind::Static, LoadUiString(134), R(8, 67, 34, 8)),
        Ctl(IDC_SPACING, ControlKind::Edit, "", R(42, 65, 30, 12)),
        Ctl(IDC_UNIT_SPACING, ControlKind::Static, LoadUiString(78), R(75, 67, 18, 8)),
        Ctl(IDC_LABEL_COUNT, ControlKind::Static, LoadUiString(135), R(8, 81, 34, 8)),
        Ctl(IDC_COUNT, ControlKind::Edit, "", R(42, 79, 30, 12)),
        Ctl(IDC_UNIT_COUNT, ControlKind::Static, LoadUiString(79), R(75, 81, 18, 8)),

        Ctl(IDC_GROUP_TEXT_HEIGHTS, ControlKind::GroupBox, LoadUiString(136), R(3, 98, 92, 44)),
        Ctl(IDC_LABEL_LETTER, ControlKind::Static, LoadUiString(137), R(8, 111, 46, 8)),
        Ctl(IDC_LETTER, ControlKind::Edit, "", R(56, 109, 30, 12)),
        Ctl(IDC_LABEL_LETTER_DIMENSION, ControlKind::Static, LoadUiString(138), R(8, 125, 46, 8)),
        Ctl(IDC_LETTER_DIMENSION, ControlKind::Edit, "", R(56, 123, 30, 12)),
    };
    return t;
}

DialogTemplate ScheduleDialog() {
    DialogTemplate t;
    t.id = IDD_SCHEDULE;
    t.caption = "Wstaw wykaz";
    t.rect = R(0, 0, 335, 191);
    t.center = true;
    t.controls = {
        Ctl(platform::IDOK, ControlKind::DefaultButton, "Wstaw wykaz", R(223, 170, 52, 14)),
        Ctl(platform::IDCANCEL, ControlKind::Button, "Zamknij", R(278, 170, 50, 14)),
        Ctl(IDC_ADD_ROW, ControlKind::Button, "Dodaj", R(7, 170, 50, 14)),
        Ctl(IDC_DELETE_ROW, ControlKind::Button, "Usuń", R(59, 170, 50, 14)),
        Ctl(IDC_FULL_SCHEDULE, ControlKind::CheckBox, "Pełny wykaz", R(162, 172, 57, 10)),
        // The grid takes the place of the static frame that classic templates carry here.
        Ctl(IDC_GRID, ControlKind::Grid, "", R(6, 6, 324, 162)),
    };
    return t;
}

DialogTemplate SelectRodDialog() {
    DialogTemplate t;
    t.id = IDD_SELECT_ROD;
    t.caption = LoadUiString(140);
    t.rect = R(0, 0, 174, 89);
    t.center = true;
    t.controls = {
        Ctl(platform::IDOK, ControlKind::DefaultButton, "OK", R(117, 68, 50, 14)),
        Ctl(platform::IDCANCEL, ControlKind::Button, LoadUiString(141), R(7, 68, 50, 14)),
        Ctl(IDC_GRID, ControlKind::Grid, "", R(6, 6, 162, 54)),
    };
    return t;
}

DialogTemplate EditDescriptionDialog() {
    DialogTemplate t;
    t.id = IDD_EDIT_DESCRIPTION;
    t.caption = LoadUiString(146);
    t.rect = R(0, 0, 150, 136);
    t.center = true;
    t.controls = {
        Ctl(IDC_LABEL_ROD_NUMBER, ControlKind::Static, LoadUiString(147), R(7, 9, 44, 8)),
        Ctl(IDC_ROD_NUMBER, ControlKind::Edit, "", R(56, 7, 40, 12)),
        Ctl(IDC_LABEL_ROD_COUNT, ControlKind::Static, LoadUiString(135), R(7, 25, 44, 8)),
        Ctl(IDC_ROD_COUNT, ControlKind::Edit, "", R(56, 23, 40, 12)),
        Ctl(IDC_UNIT_ROD_COUNT, ControlKind::Static, LoadUiString(79), R(100, 25, 24, 8)),
        // The steel kinds are added when the dialog opens.
        Ctl(IDC_LABEL_KIND, ControlKind::Static, LoadUiString(132), R(7, 41, 44, 8)),
        Ctl(IDC_STEEL, ControlKind::DropDownList, "", R(56, 39, 60, 40)),
        Ctl(IDC_LABEL_ROD_DIAMETER, ControlKind::Static, LoadUiString(131), R(7, 57, 44, 8)),
        Ctl(IDC_DIAMETER, ControlKind::DropDownList, "", R(56, 55, 40, 80), DiameterItems()),
        Ctl(IDC_LABEL_ROD_SPACING, ControlKind::Static, LoadUiString(134), R(7, 73, 44, 8)),
        Ctl(IDC_SPACING, ControlKind::Edit, "", R(56, 71, 40, 12)),
        Ctl(IDC_UNIT_ROD_SPACING, ControlKind::Static, LoadUiString(78), R(100, 73, 24, 8)),
        Ctl(IDC_LABEL_ROD_LENGTH, ControlKind::Static, LoadUiString(148), R(7, 89, 44, 8)),
        Ctl(IDC_ROD_LENGTH, ControlKind::Edit, "", R(56, 87, 40, 12)),
        Ctl(IDC_UNIT_ROD_LENGTH, ControlKind::Static, LoadUiString(78), R(100, 89, 24, 8)),
        Ctl(platform::IDOK, ControlKind::DefaultButton, "OK", R(93, 115, 50, 14)),
        Ctl(platform::IDCANCEL, ControlKind::Button, LoadUiString(141), R(7, 115, 50, 14)),
    };
    return t;
}

DialogTemplate AboutBox() {
    DialogTemplate t;
    t.id = IDD_ABOUT;
    t.caption = "O programie ArmavoCAD";
    t.rect = R(0, 0, 200, 112);
    t.center = true;
    t.controls = {
        Ctl(IDC_ABOUT_BANNER, ControlKind::Picture, "", R(0, 0, 200, 30)),
        Ctl(IDC_ABOUT_PICTURE, ControlKind::Picture, "", R(10, 38, 40, 40)),
        Ctl(IDC_ABOUT_TEXT, ControlKind::Static, "", R(60, 50, 130, 10)),
        Ctl(platform::IDCANCEL, ControlKind::DefaultButton, "Zamknij", R(75, 90, 50, 14)),
    };
    return t;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    static const std::map<int, DialogTemplate> templates = [] {
        std::map<int, DialogTemplate> m;
        for (DialogTemplate t : {ParametersPanel(), ScheduleDialog(), SelectRodDialog(),
                                 EditDescriptionDialog(), AboutBox()}) {
            m.emplace(t.id, std::move(t));
        }
        return m;
    }();
    auto it = templates.find(id);
    return it == templates.end() ? nullptr : &it->second;
}
