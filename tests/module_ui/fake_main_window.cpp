// The one host call the panel makes on its own: the host's main window, which the window
// framework keeps.
#include "host/sds.h"
#include "platform/window.h"

extern "C" sds_hwnd sds_getmainhwnd(void) {
    return platform::MainWindow();
}
