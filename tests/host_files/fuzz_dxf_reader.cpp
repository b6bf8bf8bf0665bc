// libFuzzer target of the DXF reader: any bytes are read into a drawing built aside; a file
// that is accepted is written and read again. Built and run by fuzz.sh.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/dxf_reader.h"
#include "host/dxf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    host::Database drawing = host::Database::Empty();
    host::DxfReadResult result = host::ReadDxf(bytes, drawing);
    if (!result.ok)
        return 0;
    drawing.CheckInvariants();
    const std::string written = host::WriteDxf(host::PrepareForFile(drawing));
    host::Database again = host::Database::Empty();
    if (!host::ReadDxf(written, again).ok)
        __builtin_trap();
    again.CheckInvariants();
    return 0;
}
