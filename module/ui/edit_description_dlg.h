// The description editor of a leader description: number, count, steel kind, diameter,
// spacing and length, checked as the user leaves each field and composed back into texts.
#pragma once

#include <string>

#include "platform/dialog.h"

class CEditDescriptionDlg : public platform::Dialog {
  public:
    explicit CEditDescriptionDlg(platform::Window* parent = nullptr) : parent_(parent) {}

    // Fills the fields from the leader's texts; `text` is the main text, split into diameter,
    // spacing and length. A part the text does not hold is empty.
    void SetDescription(const std::string& number, const std::string& count,
                        const std::string& prefix, const std::string& text);

    // Template 144, modal over the parent: IDOK or IDCANCEL.
    int DoModal();

    bool OnInitDialog() override;
    void OnOK() override;
    void OnKillFocus(int id) override;

    // Fields, as read by the caller after OK. The count is empty for one bar.
    std::string number;
    std::string count;
    std::string prefix;
    std::string description;
    // The main text split by SetDescription.
    std::string diameter;
    std::string spacing;
    std::string length;

  private:
    platform::Window* parent_ = nullptr;
};
