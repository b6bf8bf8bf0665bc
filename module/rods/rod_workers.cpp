// Workers of the rod commands: each builds its rod-handling object for one command run.
#include "module/rods/rod_workers.h"

#include "module/rods/obsluga_preta.h"

void InsertBarWorker(CToolBarDlg& panel) {
    CObslugaPreta rod(&panel);
    rod.InsertBar();
}

void EditRodWorker(CToolBarDlg& panel) {
    CObslugaPreta rod(&panel);
    rod.EditRod();
}
