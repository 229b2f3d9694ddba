// SPDX-License-Identifier: MIT
#pragma once

#include "app/klvn_main_app.h"
#include "dialogs/scripted_dialog_runner.h"
#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"

#include <string>
#include <utility>
#include <vector>

namespace kelvane::test {

// The application over services that tests script and inspect: message
// boxes recorded, file dialogs answered, repaints counted, dialogs run by
// `Runner`.
template <class Runner = ScriptedDialogRunner> struct AppWithFakes {
    explicit AppWithFakes(std::string moduleTable = "/nonexistent.ini")
        : app({messageBoxes, fileDialogs, repaint, profile, dialogs}, std::move(moduleTable)) {
        app.SetHelpHandler(
            [this](uint32_t data, uint32_t command) { helpRequests.emplace_back(data, command); });
    }

    // An open talvexNOVA project that reaches its ICE over Ethernet, without
    // its files: enough for the settings dialogs.
    void OpenEthernetProject() {
        ProjectSettings& settings = app.Settings();
        settings.m_bProjectLoaded = true;
        settings.m_nIceModel = ICE_TALVEX_NOVA;
        settings.m_nCommDevice = COMM_ETHERNET;
        settings.m_strIpAddress = "192.168.0.20";
        settings.m_strPort = "1f90";
        settings.m_strTimeout = "30";
    }

    MessageBoxRecorder messageBoxes;
    ScriptedFileDialogs fileDialogs;
    RepaintCounter repaint;
    MemoryProfile profile;
    Runner dialogs;
    CKLVN_MAINApp app;
    // What the application's help entry was asked: (data, command).
    std::vector<std::pair<uint32_t, uint32_t>> helpRequests;
};

} // namespace kelvane::test
