// libFuzzer target: any bytes as the lines a user types into an open dialog with one control
// of every kind (edits, a drop-down list, check boxes, buttons, a disabled and a hidden one, a
// grid with list cells and a refused column); a dialog that ends is opened again for the
// lines left.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/console.h"
#include "platform/dialog.h"

namespace {

// At most this many lines are read.
constexpr size_t kMaxDialogLines = 200;

class Lines : public platform::LineInput {
  public:
    Lines(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}
    std::optional<std::string> Next(std::string_view) override {
        if (rest_.empty() || read_ == kMaxDialogLines)
            return std::nullopt;
        ++read_;
        const size_t end = rest_.find('\n');
        std::string line(rest_.substr(0, end));
        rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
        return line;
    }
    bool Done() const { return rest_.empty() || read_ == kMaxDialogLines; }

  private:
    std::string_view rest_;
    size_t read_ = 0;
};

platform::DialogTemplate Template() {
    using platform::ControlKind;
    platform::DialogTemplate t;
    t.id = 300;
    t.caption = "Próba";
    t.rect = {0, 0, 300, 200};
    t.controls = {
        {1, ControlKind::DefaultButton, "OK", {5, 180, 45, 194}},
        {2, ControlKind::Button, "&Anuluj", {50, 180, 90, 194}},
        {-1, ControlKind::Static, "Średnica:", {5, 5, 40, 15}},
        {1004,
         ControlKind::DropDownList,
         "",
         {45, 5, 95, 60},
         platform::kStyleNone,
         {"4.5", "6", "12"}},
        {-1, ControlKind::Static, "Rozstaw:", {5, 20, 40, 30}},
        {1008, ControlKind::Edit, "", {45, 20, 95, 30}},
        {1017, ControlKind::CheckBox, "Wyokrąglenia", {5, 35, 95, 45}, platform::kStyleChecked},
        {1020, ControlKind::Button, "Usuń", {5, 50, 45, 64}, platform::kStyleDisabled},
        {1030, ControlKind::Edit, "", {50, 50, 90, 64}, platform::kStyleHidden},
        {1040, ControlKind::Button, "Dodaj", {100, 50, 140, 64}},
        {0, ControlKind::GroupBox, "Wykaz", {100, 5, 295, 170}},
        {1012, ControlKind::Grid, "", {105, 70, 290, 165}},
    };
    return t;
}

// A dialog whose handlers change it the way the program's dialogs do: a button adds a grid
// row, another deletes the current one, column 0 takes no edits, column 1 digits only.
class Probe : public platform::Dialog {
  public:
    bool OnInitDialog() override {
        platform::GridData* g = Grid(1012);
        g->SetColumns({{"Nr", "", 25}, {"Długość", "[cm]", 70}, {"Stal", "", 70}});
        for (int i = 0; i < 3; ++i)
            AddRow();
        g->Cell(2, 1)->enabled = false;
        SetDlgItemText(1008, "20");
        return true;
    }
    void OnCommand(int id) override {
        if (id == 1040) {
            AddRow();
        } else if (id == 1017) {
            EnableControl(1020, GetCheck(1017) == false);
        } else if (id == 1020) {
            Grid(1012)->DeleteRow(Grid(1012)->CurrentRow());
            Grid(1012)->RenumberColumn(0);
        }
    }
    void OnEditChange(int id) override { ShowControl(1030, GetDlgItemText(id).empty()); }
    bool OnGridBeginEdit(int id, int row, int col) override {
        return col != 0 && Dialog::OnGridBeginEdit(id, row, col);
    }
    bool OnGridEditChanging(int, int, int col, std::string& text) override {
        return col != 1 || text.find_first_not_of("0123456789.") == std::string::npos;
    }
    void OnGridSelect(int id, int row) override { Grid(id)->SetBackground(row, 0, row, 2, 0xFF); }

  private:
    void AddRow() {
        platform::GridData* g = Grid(1012);
        const int row = g->AddRow();
        g->Cell(row, 0)->text = std::to_string(row);
        g->Cell(row, 2)->items = {"St0S", "RB500W", "-"};
        g->Cell(row, 2)->text = "St0S";
    }
};

void Discard(std::string_view, void*) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Lines lines(data, size);
    platform::LineInput* previous = platform::GetLineInput();
    platform::SetLineInput(&lines);
    platform::SetOutputSink(Discard, nullptr);
    platform::SetBackend(platform::ScriptedBackend());
    const platform::DialogTemplate templ = Template();
    do {
        Probe dialog;
        dialog.DoModal(templ, nullptr);
    } while (!lines.Done());
    platform::SetOutputSink(nullptr, nullptr);
    platform::SetLineInput(previous);
    return 0;
}
