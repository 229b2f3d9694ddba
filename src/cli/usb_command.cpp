#include "cli/console_output.h"
#include "cli/project_commands.h"
#include "dialogs/usb_access.h"

namespace kelvane {

int ListUsbDevices() {
    // The library the Comm setting dialog's Detect button loads.
    CUsbAccess usb;
    usb.Refresh();
    for (uint32_t i = 0; i < usb.Count(); ++i)
        PrintLine(usb.Text(i));
    return kExitDone;
}

} // namespace kelvane
