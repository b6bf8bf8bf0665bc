// Installs the workers of the subsystems that this build contains; a subsystem joins by
// providing its install header (see workers.h). A compiler cache in direct mode does not see
// a header appear, so a subsystem that joins names itself here too: rods, views, audit,
// exchange.
#include "module/frame/workers.h"

#if __has_include("module/rods/rod_workers.h")
#include "module/rods/rod_workers.h"
#define ARMAVO_HAVE_ROD_WORKERS 1
#endif
#if __has_include("module/views/view_workers.h")
#include "module/views/view_workers.h"
#define ARMAVO_HAVE_VIEW_WORKERS 1
#endif
#if __has_include("module/schedule/schedule_workers.h")
#include "module/schedule/schedule_workers.h"
#define ARMAVO_HAVE_SCHEDULE_WORKERS 1
#endif
#if __has_include("module/ui/description_workers.h")
#include "module/ui/description_workers.h"
#define ARMAVO_HAVE_DESCRIPTION_WORKERS 1
#endif
#if __has_include("module/audit/audit_workers.h")
#include "module/audit/audit_workers.h"
#define ARMAVO_HAVE_AUDIT_WORKERS 1
#endif
#if __has_include("module/exchange/export_workers.h")
#include "module/exchange/export_workers.h"
#define ARMAVO_HAVE_EXPORT_WORKERS 1
#endif

void InstallCommandWorkers() {
#ifdef ARMAVO_HAVE_ROD_WORKERS
    InstallRodWorkers();
#endif
#ifdef ARMAVO_HAVE_VIEW_WORKERS
    InstallViewWorkers();
#endif
#ifdef ARMAVO_HAVE_SCHEDULE_WORKERS
    InstallScheduleWorkers();
#endif
#ifdef ARMAVO_HAVE_DESCRIPTION_WORKERS
    InstallDescriptionWorkers();
#endif
#ifdef ARMAVO_HAVE_AUDIT_WORKERS
    InstallAuditWorkers();
#endif
#ifdef ARMAVO_HAVE_EXPORT_WORKERS
    InstallExportWorkers();
#endif
}
