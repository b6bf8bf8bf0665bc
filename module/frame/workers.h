// Where the drawing commands' workers plug into the command frame. The frame shows the panel,
// disables its inputs and answers the host; the worker does the command's own work, building
// its rod-handling object on its stack with the panel it is given.
//
// A subsystem installs its workers with SetCommandWorker. The frame calls the install
// functions of the subsystems that exist at build time when the module loads:
//   module/rods/rod_workers.h         void InstallRodWorkers();       (WPR, EDPR)
//   module/views/view_workers.h       void InstallViewWorkers();      (WRP, WPP, EPP)
//   module/schedule/schedule_workers.h void InstallScheduleWorkers(); (OPR)
//   module/ui/description_workers.h   void InstallDescriptionWorkers(); (ERD)
#pragma once

class CToolBarDlg;

// Function codes of the ten commands: the index of each in the command table.
enum CommandCode : int {
    kCmdPPR = 0,
    kCmdWPR = 1,
    kCmdEDPR = 2,
    kCmdOPR = 3,
    kCmdWRP = 4,
    kCmdWPP = 5,
    kCmdEPP = 6,
    kCmdERD = 7,
    kCmdHPR = 8,
    kCmdORA_ABOUT = 9,
    kCommandCount = 10,
};

using CommandWorker = void (*)(CToolBarDlg& panel);

// Installs (or, with null, removes) the worker of a drawing command. Codes of commands that
// the frame serves itself (PPR, HPR, ORA_ABOUT) and codes outside the table are ignored;
// the result says whether the worker was taken.
bool SetCommandWorker(int code, CommandWorker worker);
// The installed worker, or null.
CommandWorker GetCommandWorker(int code);
// Calls the install functions of the subsystems present in this build.
void InstallCommandWorkers();
