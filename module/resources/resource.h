// Ids of the module's dialog templates, their controls, window commands and bitmaps. The
// numbers are fixed: dialogs, the PANEL verb and stored files refer to them.
#pragma once

// Dialog templates.
constexpr int IDD_PARAMETERS = 103;        // the parameters panel
constexpr int IDD_SCHEDULE = 141;          // "Wstaw wykaz"
constexpr int IDD_SELECT_ROD = 143;        // the bar picker
constexpr int IDD_EDIT_DESCRIPTION = 144;  // "Edycja opisu"
constexpr int IDD_ABOUT = 147;             // "O programie ArmavoCAD"

// Bitmaps of the about box.
constexpr int IDB_ABOUT_PICTURE = 148;
constexpr int IDB_ABOUT_BANNER = 149;

// Controls shared by the panel and the description editor.
constexpr int IDC_DIAMETER = 1004;
constexpr int IDC_STEEL = 1006;
constexpr int IDC_SPACING = 1008;

// Parameters panel.
constexpr int IDC_LETTER = 1011;
constexpr int IDC_LETTER_DIMENSION = 1012;
constexpr int IDC_COUNT = 1015;
constexpr int IDC_ROUNDED = 1017;
constexpr int IDC_GROUP_TEXT_HEIGHTS = 1019;
constexpr int IDC_GROUP_BAR = 1026;
constexpr int IDC_GROUP_TEMPORARY = 1027;
constexpr int IDC_LABEL_DIAMETER = 1050;
constexpr int IDC_UNIT_DIAMETER = 1051;
constexpr int IDC_LABEL_STEEL = 1052;
constexpr int IDC_LABEL_SPACING = 1053;
constexpr int IDC_UNIT_SPACING = 1054;
constexpr int IDC_LABEL_COUNT = 1055;
constexpr int IDC_UNIT_COUNT = 1056;
constexpr int IDC_LABEL_LETTER = 1057;
constexpr int IDC_LABEL_LETTER_DIMENSION = 1058;
// Window commands that collapse or expand the panel's sections.
constexpr int ID_TOGGLE_BAR_SECTION = 1023;
constexpr int ID_TOGGLE_TEMPORARY_SECTION = 1024;
constexpr int ID_TOGGLE_TEXT_SECTION = 1025;

// Schedule dialog and bar picker: the grid takes the place of control 1012.
constexpr int IDC_GRID = 1012;
constexpr int IDC_ADD_ROW = 1013;
constexpr int IDC_DELETE_ROW = 1020;
constexpr int IDC_FULL_SCHEDULE = 1039;

// Description editor.
constexpr int IDC_ROD_NUMBER = 1035;
constexpr int IDC_ROD_LENGTH = 1036;
constexpr int IDC_ROD_COUNT = 1037;
constexpr int IDC_LABEL_ROD_NUMBER = 1060;
constexpr int IDC_LABEL_ROD_COUNT = 1061;
constexpr int IDC_UNIT_ROD_COUNT = 1062;
constexpr int IDC_LABEL_KIND = 1063;
constexpr int IDC_LABEL_ROD_DIAMETER = 1064;
constexpr int IDC_LABEL_ROD_SPACING = 1065;
constexpr int IDC_UNIT_ROD_SPACING = 1066;
constexpr int IDC_LABEL_ROD_LENGTH = 1067;
constexpr int IDC_UNIT_ROD_LENGTH = 1068;

// About box.
constexpr int IDC_ABOUT_PICTURE = 1040;
constexpr int IDC_ABOUT_TEXT = 1041;
constexpr int IDC_ABOUT_BANNER = 1042;
