// The about box of ArmavoCAD: the product text beside the module's picture.
#pragma once

#include <string>

#include "platform/dialog.h"

class CAboutDlg : public platform::Dialog {
  public:
    explicit CAboutDlg(platform::Window* parent = nullptr) : parent_(parent) {}

    void SetProductText(std::string text) { product_ = std::move(text); }
    const std::string& ProductText() const { return product_; }

    // Shows the box modally over the parent; the result is the framework's (IDCANCEL for
    // "Zamknij").
    int DoModal();

    bool OnInitDialog() override;

  private:
    platform::Window* parent_ = nullptr;
    std::string product_;
};
