// libFuzzer target of the DXF reader: any bytes are read into a drawing built aside; a file
// that is refused must say why, one that is accepted is written and must read back whole.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/files/dxf_reader.h"
#include "host/files/dxf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    host::Database drawing = host::Database::Empty();
    host::DxfReadResult result = host::ReadDxf(bytes, drawing);
    if (!result.ok) {
        if (result.error.empty())
            __builtin_trap();
        return 0;
    }
    drawing.CheckInvariants();
    const std::string written = host::WriteDxf(host::PrepareForFile(drawing));
    host::Database again = host::Database::Empty();
    const host::DxfReadResult second = host::ReadDxf(written, again);
    if (!second.ok || second.refused != 0)
        __builtin_trap();
    again.CheckInvariants();
    return 0;
}
