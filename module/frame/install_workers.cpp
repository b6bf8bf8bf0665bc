// Installs the workers of every subsystem of the module into the command table.
#include "module/audit/audit_workers.h"
#include "module/exchange/export_workers.h"
#include "module/frame/workers.h"
#include "module/rods/rod_workers.h"
#include "module/schedule/schedule_workers.h"
#include "module/ui/description_workers.h"
#include "module/views/view_workers.h"

void InstallCommandWorkers() {
    InstallRodWorkers();
    InstallViewWorkers();
    InstallScheduleWorkers();
    InstallDescriptionWorkers();
    InstallAuditWorkers();
    InstallExportWorkers();
}
