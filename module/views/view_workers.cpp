// Workers of the view commands: each builds its rod-handling object for one command run.
#include "module/views/view_workers.h"

#include "module/rods/obsluga_preta.h"

void InsertProjectionWorker(CToolBarDlg& panel) {
    CObslugaPreta rod(&panel);
    rod.InsertProjection();
}

void InsertCrossSectionWorker(CToolBarDlg& panel) {
    CObslugaPreta rod(&panel);
    rod.InsertCrossSection();
}

void EditCrossSectionWorker(CToolBarDlg& panel) {
    CObslugaPreta rod(&panel);
    rod.EditCrossSection();
}
