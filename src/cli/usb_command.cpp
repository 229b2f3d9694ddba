// SPDX-License-Identifier: MIT
#include "cli/console_output.h"
#include "cli/project_commands.h"
#include "dialogs/usb_access.h"

namespace kelvane {

int ListUsbDevices() {
    // The library the Comm setting dialog's Detect button loads.
    CUsbAccess usb;
    usb.Refresh();
    // The dialog stays silent here; a listing says why it cannot list.
    if (!usb.Unusable().empty()) {
        PrintProblem("the USB access library cannot be used: " + usb.Unusable());
        return kExitFailed;
    }
    for (uint32_t i = 0; i < usb.Count(); ++i)
        PrintLine(usb.Text(i));
    return kExitDone;
}

} // namespace kelvane
