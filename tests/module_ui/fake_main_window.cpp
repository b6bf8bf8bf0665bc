// The host calls the panel makes on its own: the host's main window, which the window
// framework keeps, and printing, which goes to the framework's output.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "host/sds.h"
#include "platform/console.h"
#include "platform/window.h"

extern "C" sds_hwnd sds_getmainhwnd(void) {
    return platform::MainWindow();
}

extern "C" int sds_printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char text[1024];
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    platform::WriteOutput(n < 0 ? "" : text);
    return RTNORM;
}
