// The about box: template 147 with the product text put into its static 1041.
#include "module/ui/about_dlg.h"

#include "module/resources/resource.h"
#include "module/resources/templates.h"

int CAboutDlg::DoModal() {
    const platform::DialogTemplate* templ = FindDialogTemplate(IDD_ABOUT);
    if (templ == nullptr) {
        return platform::IDCANCEL;
    }
    return Dialog::DoModal(*templ, parent_);
}

bool CAboutDlg::OnInitDialog() {
    SetDlgItemText(IDC_ABOUT_TEXT, product_);
    return true;
}
