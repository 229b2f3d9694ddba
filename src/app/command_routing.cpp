// SPDX-License-Identifier: MIT
// The application's command table: which handler a command id reaches and
// when it is enabled.
#include "app/klvn_main_app.h"

#include "res/command_ids.h"

namespace kelvane {

bool CKLVN_MAINApp::IsCommandEnabled(uint32_t commandId) const {
    if (const ConversionCommand* command = FindConversionCommand(commandId))
        return IsConvertEnabled(*command);
    if (OfferedCodePageOf(commandId) != nullptr)
        return OnUpdateProjectCommand();
    switch (commandId) {
    case ID_PROJECT_OPEN:
    case ID_APP_EXIT:
    case ID_HELP:
    case ID_APP_ABOUT:
        return true;
    case ID_PROJECT_SAVE:
    case ID_PROJECT_SAVE_AS:
    case ID_FILE_MODEL_SETTING:
    case ID_COMM_SETTING:
    case ID_MODEL_SELECT:
        return OnUpdateProjectCommand();
    default:
        return false;
    }
}

bool CKLVN_MAINApp::OnCommand(uint32_t commandId) {
    if (!IsCommandEnabled(commandId))
        return false;
    if (const ConversionCommand* command = FindConversionCommand(commandId)) {
        OnConvert(*command);
        return true;
    }
    if (const char* codePage = OfferedCodePageOf(commandId)) {
        SetCodePage(codePage);
        return true;
    }
    switch (commandId) {
    case ID_PROJECT_OPEN:
        OnOpenProject();
        return true;
    case ID_PROJECT_SAVE:
        OnSaveProject();
        return true;
    case ID_PROJECT_SAVE_AS:
        OnSaveProjectAs();
        return true;
    case ID_COMM_SETTING:
        OnCommSetting();
        return true;
    case ID_FILE_MODEL_SETTING:
        OnFileModelSetting();
        return true;
    case ID_MODEL_SELECT:
        OnModelSelect();
        return true;
    default:
        return false;
    }
}

} // namespace kelvane
