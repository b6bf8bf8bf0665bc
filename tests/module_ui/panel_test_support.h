// A fresh settings file per test and a panel made the way the module makes it at load.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "module/ui/toolbar_dlg.h"
#include "panel_settings.h"
#include "platform/registry.h"

class PanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings_ = std::filesystem::temp_directory_path() /
                    (std::string("armavo-ui-") + std::to_string(getpid()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
                     "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove(settings_);
        platform::SetSettingsFile(settings_.string());
    }
    void TearDown() override {
        panel_.reset();
        std::filesystem::remove(settings_);
    }

    // Makes the panel window as the module's load does.
    CToolBarDlg& MakePanel() {
        panel_ = std::make_unique<CToolBarDlg>();
        EXPECT_EQ(panel_->TogglePanel(0), 1);
        return *panel_;
    }

    static void Store(const std::string& name, const std::string& value) {
        platform::RegKey key;
        ASSERT_EQ(platform::RegCreateKey(CToolBarDlg::kRegistryKey, key), platform::RegResult::Ok);
        ASSERT_EQ(platform::RegSetValue(key, name, value), platform::RegResult::Ok);
    }
    static std::string Stored(const std::string& name) { return StoredPanelValue(name); }

    std::filesystem::path settings_;
    std::unique_ptr<CToolBarDlg> panel_;
};
