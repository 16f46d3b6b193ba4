#include "frame/host_services.h"

// Identifies the service table this module asks for; the host fills in dword 1.
extern "C" {
GAUGE_EXPORT constinit frame::ImportTableRecord ImportTable = {
    frame::kImportTableId, nullptr, {0, 0}};
}
