// SPDX-License-Identifier: MIT
#include "cli/comm_setting_script.h"

#include "cli/cli_session.h"
#include "cli/console_output.h"
#include "cli/ice_model_names.h"
#include "res/dialog_ids.h"

namespace kelvane {
namespace {

// The edit fields, in the order they are typed into.
struct TextSetting {
    std::optional<std::string> CommOptions::*value;
    int controlId;
    const char* option;
};

constexpr TextSetting kTextSettings[] = {
    {&CommOptions::ipAddress, IDC_IP_ADDRESS, "--ip"},
    {&CommOptions::port, IDC_PORT, "--port"},
    {&CommOptions::usbDevice, IDC_USB_DEVICE, "--usb-device"},
    {&CommOptions::timeout, IDC_TIMEOUT, "--timeout"},
    {&CommOptions::ipAddressMcs, IDC_MCS_IP_ADDRESS, "--mcs-ip"},
    {&CommOptions::portMcs, IDC_MCS_PORT, "--mcs-port"},
};

// Why the dialog keeps a control disabled, in the words of the options.
std::string WhyDisabled(int controlId, uint32_t model, const MemoryDialogControls& controls) {
    const bool etherOffered = controls.IsWindowEnabled(IDC_ETHER);
    const std::string usbOnly =
        model == ICE_TALVEX_BANTAM
            ? "this talvexBANTAM project connects by USB only"
            : "a project of " + IceModelText(model) + " connects by USB only";
    switch (controlId) {
    case IDC_ETHER:
        return usbOnly;
    case IDC_MCS_ENABLE:
        return "the Multi-Core Server cannot be used with " + IceModelText(model);
    case IDC_IP_ADDRESS:
    case IDC_PORT:
        return etherOffered ? "the connection is USB; choose --device ether as well" : usbOnly;
    case IDC_USB_DEVICE:
    case IDC_DETECT:
        return "the connection is Ethernet; choose --device usb as well";
    case IDC_MCS_IP_ADDRESS:
    case IDC_MCS_PORT:
        return "the Multi-Core Server is not used; choose --mcs on as well";
    default:
        return "the control is disabled";
    }
}

// What the script did; it runs inside the dialog's modal run.
struct ScriptOutcome {
    bool ran = false;
    bool pressedOk = false;
};

class CommSettingScript {
public:
    CommSettingScript(const CommOptions& options, Session& session, ScriptOutcome& outcome)
        : m_options(options), m_session(session), m_outcome(outcome) {}

    void operator()(CDialog& dialog, MemoryDialogControls& controls) const {
        m_outcome.ran = true;
        if (m_options.device) {
            const bool ether = *m_options.device == CommOptions::Device::Ether;
            if (!Act(controls, controls.Click(dialog, ether ? IDC_ETHER : IDC_USB),
                     ether ? IDC_ETHER : IDC_USB, ether ? "--device ether" : "--device usb"))
                return;
        }
        // The check box toggles, so it is clicked only to change its state.
        if (m_options.useMcs &&
            (controls.IsDlgButtonChecked(IDC_MCS_ENABLE) != 0) != *m_options.useMcs &&
            !Act(controls, controls.Click(dialog, IDC_MCS_ENABLE), IDC_MCS_ENABLE,
                 *m_options.useMcs ? "--mcs on" : "--mcs off"))
            return;
        for (const TextSetting& setting : kTextSettings) {
            const std::optional<std::string>& value = m_options.*setting.value;
            if (value && !Act(controls, controls.Type(setting.controlId, *value), setting.controlId,
                              setting.option))
                return;
        }
        if (m_options.detectUsb) {
            if (!Act(controls, controls.Click(dialog, IDC_DETECT), IDC_DETECT, "--detect-usb"))
                return;
            // A detection that finds nothing leaves the field as it was.
            if (m_session.app.UsbDevices().m_nUsbDeviceCount == 0) {
                PrintProblem("no USB device was detected");
                return;
            }
        }
        m_outcome.pressedOk =
            controls.Click(dialog, IDOK) && controls.Ended() && controls.Result() == IDOK;
        if (!m_outcome.pressedOk)
            PrintProblem("the communication settings dialog did not take the settings");
    }

private:
    // Reports a refused action; true when it was done.
    bool Act(const MemoryDialogControls& controls, bool done, int controlId,
             const std::string& option) const {
        if (!done)
            PrintProblem(option + ": " +
                         WhyDisabled(controlId, m_session.app.Settings().m_nIceModel, controls));
        return done;
    }

    const CommOptions& m_options;
    Session& m_session;
    ScriptOutcome& m_outcome;
};

} // namespace

bool ApplyCommOptions(Session& session, const CommOptions& options) {
    ScriptOutcome outcome;
    session.dialogs.SetScript(IDD_COMM_SETTING, CommSettingScript(options, session, outcome));
    // The device list opens with the first device selected: take it.
    session.dialogs.SetScript(
        IDD_USB_DEVICE_LIST,
        [](CDialog& dialog, MemoryDialogControls& controls) { controls.Click(dialog, IDOK); });
    session.app.OnCommSetting();
    // The script refers to this call's outcome: a later run only cancels.
    session.dialogs.SetScript(IDD_COMM_SETTING, [](CDialog&, MemoryDialogControls&) {});
    if (!outcome.ran)
        PrintProblem("the communication settings dialog could not be run");
    return outcome.ran && outcome.pressedOk;
}

} // namespace kelvane
