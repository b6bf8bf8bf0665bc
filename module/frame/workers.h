// Where the drawing commands' workers plug into the command frame. The frame shows the panel,
// disables its inputs and answers the host; the worker does the command's own work, building
// its rod-handling object on its stack with the panel it is given.
//
// A subsystem installs its workers with SetCommandWorker. The frame calls the install
// functions of the subsystems when the module loads:
//   module/rods/rod_workers.h         void InstallRodWorkers();       (WPR, EDPR)
//   module/views/view_workers.h       void InstallViewWorkers();      (WRP, WPP, EPP)
//   module/schedule/schedule_workers.h void InstallScheduleWorkers(); (OPR)
//   module/ui/description_workers.h   void InstallDescriptionWorkers(); (ERD)
//   module/audit/audit_workers.h      void InstallAuditWorkers();     (AUDIT)
//   module/exchange/export_workers.h  void InstallExportWorkers();    (EXPORT .csv, .abs)
#pragma once

#include <string>

class CToolBarDlg;

// Function codes of the commands: the index of each in the command table.
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
    kCmdAUDIT = 10,
    kCommandCount = 11,
};

using CommandWorker = void (*)(CToolBarDlg& panel);

// Installs (or, with null, removes) the worker of a drawing command. Codes of commands that
// the frame serves itself (PPR, HPR, ORA_ABOUT) and codes outside the table are ignored;
// the result says whether the worker was taken.
bool SetCommandWorker(int code, CommandWorker worker);
// The installed worker, or null.
CommandWorker GetCommandWorker(int code);
// A worker whose command did not do what it was asked (a wrong argument, a file it could
// not make) says so; the frame then answers the host with a failure, which stops a script.
void ReportCommandFailed();
// Whether the worker that ran last reported a failure; taking it clears it.
bool TakeCommandFailure();

// The file kinds the module writes for the host's EXPORT: each is registered with the host
// under its extension, with the function code kFirstExportCode + kind.
enum ExportKind : int {
    kExportCsv = 0,
    kExportAbs = 1,
    kExportCount = 2,
};
inline constexpr const char* kExportExtensions[kExportCount] = {"csv", "abs"};
inline constexpr int kFirstExportCode = static_cast<int>(kCommandCount);

// Makes the file's content for `path` into `bytes`; false, having told the user why, when
// there is nothing right to write.
using ExportWorker = bool (*)(const std::string& path, std::string& bytes);
bool SetExportWorker(int kind, ExportWorker worker);
ExportWorker GetExportWorker(int kind);

// Calls the install functions of every subsystem.
void InstallCommandWorkers();
