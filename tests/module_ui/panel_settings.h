// The panel's stored values as tests read them back: the names it writes, in its order, and
// one value from the current settings file.
#pragma once

#include <string>

#include "module/ui/toolbar_dlg.h"
#include "platform/registry.h"

// clang-format off
inline constexpr const char* kPanelValueNames[] = {
    "Round", "Rozstaw", "Letter", "LetterDimension", "RodNumber", "Diameter", "Steel", "IsVisible",
    "ParametryPretowZwiniete", "ParametryChwiloweZwiniete", "WielkoscCzcionkiZwinieta", "X", "Y",
    "CX", "CY"};
// clang-format on

// The stored text, or "<missing>" when the key or the value is not there.
inline std::string StoredPanelValue(const std::string& name) {
    platform::RegKey key;
    std::string value;
    if (platform::RegOpenKey(CToolBarDlg::kRegistryKey, platform::RegAccess::Read, key) !=
            platform::RegResult::Ok ||
        platform::RegGetString(key, name, value) != platform::RegResult::Ok) {
        return "<missing>";
    }
    return value;
}
