// SPDX-License-Identifier: MIT
#include "app/app_with_fakes.h"
#include "dialogs/usb_access.h"
#include "res/dialog_ids.h"
#include "ui/context_help.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kelvane {
namespace {

// The application with a scripted user at its dialogs and a help entry that
// records what it is asked.
struct CommSettingTest : ::testing::Test, test::AppWithFakes<> {
    CommSettingTest() {
        OpenEthernetProject();
        ProjectSettings& settings = app.Settings();
        settings.m_strUsbDevice = "OLD0000001";
        settings.m_strIpAddressMcs = "10.0.0.1";
        settings.m_strPortMcs = "2000";
    }

    // Runs Edit > Comm setting with `script` as the user.
    void Run(ScriptedDialogRunner::Script script) {
        dialogs.SetScript(IDD_COMM_SETTING, std::move(script));
        app.OnCommand(ID_COMM_SETTING_COMMAND);
    }
    void UseLibrary(const char* name) {
        app.SetUsbLibrary(std::string(KELVANE_TEST_MODULE_DIR) + "/" + name +
                          KELVANE_MODULE_SUFFIX);
    }

    static constexpr uint32_t ID_COMM_SETTING_COMMAND = 32771;
};

TEST_F(CommSettingTest, DevicesOtherThanEthernetOpenAsUsbAndOkStoresUsb) {
    for (const uint32_t device : {COMM_GPIB, COMM_RS232C, COMM_UNRECOGNISED}) {
        app.Settings().m_nCommDevice = device;
        Run([](CDialog&, MemoryDialogControls& controls) {
            EXPECT_EQ(controls.IsDlgButtonChecked(IDC_ETHER), 0);
            EXPECT_EQ(controls.IsDlgButtonChecked(IDC_USB), 1);
        });
        EXPECT_EQ(app.Settings().m_nCommDevice, device) << "a closed dialog keeps the device";
        Run([](CDialog& dialog, MemoryDialogControls& controls) {
            EXPECT_TRUE(controls.Click(dialog, IDOK));
        });
        EXPECT_EQ(app.Settings().m_nCommDevice, COMM_USB);
        EXPECT_TRUE(app.IsModified()) << "the record changed";
    }
}

TEST_F(CommSettingTest, OkTakesEveryFieldAsTypedAndCancelNone) {
    const auto edit = [](CDialog& dialog, MemoryDialogControls& controls) {
        EXPECT_TRUE(controls.Click(dialog, IDC_MCS_ENABLE));
        EXPECT_TRUE(controls.Type(IDC_IP_ADDRESS, ""));
        EXPECT_TRUE(controls.Type(IDC_PORT, "AB12"));
        EXPECT_TRUE(controls.Type(IDC_TIMEOUT, "5"));
        EXPECT_TRUE(controls.Type(IDC_MCS_IP_ADDRESS, "10.1.1.1"));
        EXPECT_TRUE(controls.Type(IDC_MCS_PORT, "abcd"));
        EXPECT_FALSE(controls.Type(IDC_USB_DEVICE, "X")) << "disabled while ETHER is chosen";
    };
    Run([&](CDialog& dialog, MemoryDialogControls& controls) {
        edit(dialog, controls);
        controls.Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(app.Settings().m_strIpAddress, "192.168.0.20");
    EXPECT_EQ(app.Settings().m_bUseMcs, 0u);

    Run([&](CDialog& dialog, MemoryDialogControls& controls) {
        edit(dialog, controls);
        controls.Click(dialog, IDOK);
    });
    const ProjectSettings& settings = app.Settings();
    EXPECT_EQ(settings.m_nCommDevice, COMM_ETHERNET);
    EXPECT_EQ(settings.m_strIpAddress, "");
    EXPECT_EQ(settings.m_strPort, "AB12");
    EXPECT_EQ(settings.m_strTimeout, "5") << "clamped when written, not here";
    EXPECT_EQ(settings.m_bUseMcs, 1u);
    EXPECT_EQ(settings.m_strIpAddressMcs, "10.1.1.1");
    EXPECT_EQ(settings.m_strPortMcs, "abcd");
    EXPECT_EQ(settings.m_strUsbDevice, "OLD0000001");
}

// A port or time-out typed that would not convert is refused with the field
// named, instead of being saved as 0 or 10; what the dialog opened with is
// carried as it was, and a field left empty or disabled is not checked.
TEST_F(CommSettingTest, OkRefusesATypedPortOrTimeOutThatWouldNotConvert) {
    struct Case {
        int controlId;
        const char* typed;
        const char* message;
    };
    const Case refused[] = {
        {IDC_PORT, "port!x",
         "ICE connection, COM port: \"port!x\" is not a port in hexadecimal digits (0 to ffff)."},
        {IDC_PORT, "10000", "ICE connection, COM port: \"10000\""},
        {IDC_TIMEOUT, "30s", "Comm Timeout: \"30s\" is not a number of seconds in decimal digits."},
        {IDC_MCS_PORT, "g", "Multi-Core Server connection, COM port: \"g\""},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.typed);
        messageBoxes.shown.clear();
        Run([&](CDialog& dialog, MemoryDialogControls& controls) {
            if (controls.IsDlgButtonChecked(IDC_MCS_ENABLE) == 0)
                controls.Click(dialog, IDC_MCS_ENABLE);
            ASSERT_TRUE(controls.Type(c.controlId, c.typed));
            controls.Click(dialog, IDOK);
            EXPECT_FALSE(controls.Ended());
            ASSERT_EQ(messageBoxes.shown.size(), 1u);
            EXPECT_EQ(messageBoxes.shown[0].text.find(c.message), 0u) << messageBoxes.shown[0].text;
            EXPECT_EQ(messageBoxes.shown[0].style, unsigned{MB_OK | MB_ICONEXCLAMATION});
            // Mended, it is taken.
            controls.Type(c.controlId, "123");
            controls.Click(dialog, IDOK);
            EXPECT_TRUE(controls.Ended());
        });
        EXPECT_EQ(messageBoxes.shown.size(), 1u);
    }
    EXPECT_EQ(app.Settings().m_strPort, "123");
    EXPECT_EQ(app.Settings().m_strTimeout, "123");
    EXPECT_EQ(app.Settings().m_strPortMcs, "123");

    messageBoxes.shown.clear();
    app.Settings().m_strTimeout = "abc"; // as a project file had it
    Run([](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Type(IDC_MCS_PORT, "");
        controls.Type(IDC_PORT, "zz");
        controls.Click(dialog, IDC_USB);
        controls.Click(dialog, IDOK);
        EXPECT_TRUE(controls.Ended());
    });
    EXPECT_TRUE(messageBoxes.shown.empty());
    EXPECT_EQ(app.Settings().m_strTimeout, "abc");
    EXPECT_EQ(app.Settings().m_strPortMcs, "");
}

TEST_F(CommSettingTest, BantamShowsEtherDisabledAndCannotGoBackToIt) {
    app.Settings().m_nIceModel = ICE_TALVEX_BANTAM;
    Run([](CDialog& dialog, MemoryDialogControls& controls) {
        EXPECT_EQ(controls.IsDlgButtonChecked(IDC_ETHER), 1);
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_ETHER));
        EXPECT_TRUE(controls.IsWindowEnabled(IDC_MCS_ENABLE));
        EXPECT_TRUE(controls.IsWindowEnabled(IDC_IP_ADDRESS));
        EXPECT_TRUE(controls.IsWindowEnabled(IDC_PORT));
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_USB_DEVICE));
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_DETECT));
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_MCS_IP_ADDRESS));

        EXPECT_TRUE(controls.Click(dialog, IDC_USB));
        EXPECT_EQ(controls.IsDlgButtonChecked(IDC_ETHER), 0);
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_IP_ADDRESS));
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_PORT));
        EXPECT_TRUE(controls.IsWindowEnabled(IDC_USB_DEVICE));
        EXPECT_TRUE(controls.IsWindowEnabled(IDC_DETECT));
        EXPECT_FALSE(controls.Click(dialog, IDC_ETHER));
        EXPECT_TRUE(controls.Type(IDC_USB_DEVICE, "ABC12345DE"));
        controls.Click(dialog, IDOK);
    });
    EXPECT_EQ(app.Settings().m_nCommDevice, COMM_USB);
    EXPECT_EQ(app.Settings().m_strUsbDevice, "ABC12345DE");
}

TEST_F(CommSettingTest, AnUnknownModelOffersNeitherEtherNorTheServer) {
    app.Settings().m_nIceModel = 7;
    app.Settings().m_bUseMcs = 1;
    Run([](CDialog&, MemoryDialogControls& controls) {
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_ETHER));
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_MCS_ENABLE));
        EXPECT_TRUE(controls.IsWindowEnabled(IDC_USB));
        // The server's fields still follow the box as loaded.
        EXPECT_TRUE(controls.IsWindowEnabled(IDC_MCS_IP_ADDRESS));
        EXPECT_TRUE(controls.IsWindowEnabled(IDC_MCS_PORT));
    });
}

TEST_F(CommSettingTest, HelpOnAControlAsksForItsPopupAndNothingForNoControl) {
    Run([](CDialog& dialog, MemoryDialogControls&) {
        EXPECT_TRUE(dialog.OnHelpInfo(IDC_IP_ADDRESS));
        EXPECT_FALSE(dialog.OnHelpInfo(0));
        EXPECT_FALSE(dialog.OnHelpInfo(-1));
    });
    const std::vector<std::pair<uint32_t, uint32_t>> expected{{IDC_IP_ADDRESS, HELP_POPUP}};
    EXPECT_EQ(helpRequests, expected);
}

// --- Detect ---------------------------------------------------------------

// Presses Detect with the USB field enabled; `list` plays the device list.
void DetectThenOk(CommSettingTest& test, ScriptedDialogRunner::Script list) {
    test.app.Settings().m_nCommDevice = COMM_USB;
    test.dialogs.SetScript(IDD_USB_DEVICE_LIST, std::move(list));
    test.Run([](CDialog& dialog, MemoryDialogControls& controls) {
        EXPECT_TRUE(controls.Click(dialog, IDC_DETECT));
        controls.Click(dialog, IDOK);
    });
}

TEST_F(CommSettingTest, DetectListsTheDevicesInOrderAndPutsTheChosenNameInTheField) {
    UseLibrary("kelvane_test_usb_two");
    DetectThenOk(*this, [](CDialog& dialog, MemoryDialogControls& controls) {
        ASSERT_EQ(controls.GetCount(IDC_USB_DEVICE_LIST), 2);
        EXPECT_EQ(controls.GetItemText(IDC_USB_DEVICE_LIST, 0), "ABC12345DE unit-1");
        EXPECT_EQ(controls.GetItemText(IDC_USB_DEVICE_LIST, 1), "XYZ67890QR unit-2");
        EXPECT_EQ(controls.GetCurSel(IDC_USB_DEVICE_LIST), 0);
        EXPECT_TRUE(controls.Select(dialog, IDC_USB_DEVICE_LIST, 1));
        controls.Click(dialog, IDOK);
    });
    EXPECT_EQ(app.Settings().m_strUsbDevice, "XYZ67890QR");
    EXPECT_EQ(app.UsbDevices().m_nUsbDeviceCount, 2);
    EXPECT_EQ(app.UsbDevices().m_nUsbDeviceSel, 1);

    // Cancel in the list leaves the field; the second detection loads the
    // library again and overwrites the table.
    app.UsbDevices().m_astrUsbDevices[0] = "stale";
    DetectThenOk(*this, [](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(app.Settings().m_strUsbDevice, "XYZ67890QR");
    EXPECT_EQ(app.UsbDevices().m_astrUsbDevices[0], "ABC12345DE unit-1");
    EXPECT_EQ(dialogs.RunCount(IDD_USB_DEVICE_LIST), 2);
}

TEST_F(CommSettingTest, ANameIsCutAtItsFirstBlankAndAFailedRecordEmptiesTheField) {
    UseLibrary("kelvane_test_usb_blank");
    DetectThenOk(*this, [](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Click(dialog, IDOK);
    });
    EXPECT_EQ(app.Settings().m_strUsbDevice, "ABC");

    UseLibrary("kelvane_test_usb_fails");
    DetectThenOk(*this, [](CDialog& dialog, MemoryDialogControls& controls) {
        EXPECT_EQ(controls.GetItemText(IDC_USB_DEVICE_LIST, 1), "");
        controls.Select(dialog, IDC_USB_DEVICE_LIST, 1);
        controls.Click(dialog, IDOK);
    });
    EXPECT_EQ(app.Settings().m_strUsbDevice, "");
}

TEST_F(CommSettingTest, NoDevicesNoLibraryOrNoEntryPointShowNothingAndKeepTheField) {
    for (const char* library :
         {"kelvane_test_usb_none", "kelvane_test_usb_no_info", "kelvane_test_usb_missing"}) {
        UseLibrary(library);
        app.UsbDevices().m_nUsbDeviceCount = 5;
        app.UsbDevices().m_astrUsbDevices[0] = "KEPT kept";
        DetectThenOk(*this, [](CDialog&, MemoryDialogControls&) { ADD_FAILURE(); });
        EXPECT_EQ(app.Settings().m_strUsbDevice, "OLD0000001") << library;
        EXPECT_EQ(app.UsbDevices().m_nUsbDeviceCount, 0) << library;
        EXPECT_EQ(app.UsbDevices().m_astrUsbDevices[0], "KEPT kept") << library;
    }
    EXPECT_EQ(dialogs.RunCount(IDD_USB_DEVICE_LIST), 0);
    EXPECT_TRUE(messageBoxes.shown.empty());

    // The dialog is silent about it; a listing can say why (a library in a
    // host, as on Windows, once it was asked).
    const auto unusable = [](const char* name) {
        CUsbAccess usb(std::string(KELVANE_TEST_MODULE_DIR) + "/" + name + KELVANE_MODULE_SUFFIX);
        usb.Refresh();
        return usb.Unusable();
    };
    EXPECT_EQ(unusable("kelvane_test_usb_none"), "");
    EXPECT_NE(unusable("kelvane_test_usb_no_info").find("USB_GetDeviceInfo"), std::string::npos);
    EXPECT_NE(unusable("kelvane_test_usb_missing"), "");
}

TEST_F(CommSettingTest, MoreDevicesThanTheTableHoldsListTheFirst128) {
    UseLibrary("kelvane_test_usb_many");
    DetectThenOk(*this, [](CDialog& dialog, MemoryDialogControls& controls) {
        ASSERT_EQ(controls.GetCount(IDC_USB_DEVICE_LIST), 128);
        EXPECT_EQ(controls.GetItemText(IDC_USB_DEVICE_LIST, 127), "DEV127 more");
        controls.Select(dialog, IDC_USB_DEVICE_LIST, 127);
        controls.Click(dialog, IDOK);
    });
    EXPECT_EQ(app.UsbDevices().m_nUsbDeviceCount, 128);
    EXPECT_EQ(app.Settings().m_strUsbDevice, "DEV127");
}

} // namespace
} // namespace kelvane
