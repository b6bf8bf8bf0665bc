// The module's side of the host's EXPORT for .csv and .abs, as the module frame installs it.
#pragma once

#include <string>

#include "module/frame/workers.h"

// The schedule as OPR would collect it, without changing the drawing: CSV, or BVBS records.
bool ExportScheduleCsv(const std::string& path, std::string& bytes);
bool ExportBendingRecords(const std::string& path, std::string& bytes);

inline void InstallExportWorkers() {
    SetExportWorker(kExportCsv, ExportScheduleCsv);
    SetExportWorker(kExportAbs, ExportBendingRecords);
}
