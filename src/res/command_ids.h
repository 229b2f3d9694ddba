// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kelvane {

// Command ids of the menu, accelerators and toolbar. The conversion commands
// have their own table (convert/conversion_commands.h).
enum CommandId : uint32_t {
    ID_PROJECT_OPEN = 33000,
    ID_PROJECT_SAVE = 33001,
    ID_PROJECT_SAVE_AS = 33002,
    ID_APP_EXIT = 57665,
    ID_FILE_MODEL_SETTING = 32777,
    ID_COMM_SETTING = 32771,
    ID_MODEL_SELECT = 32783,
    ID_HELP = 32773,
    ID_APP_ABOUT = 57664,
    // View > Code page: the code pages a project's texts may be read in.
    ID_CODE_PAGE_UTF8 = 32800,
    ID_CODE_PAGE_CP932 = 32801,
    ID_CODE_PAGE_CP936 = 32802,
    ID_CODE_PAGE_CP949 = 32803,
    ID_CODE_PAGE_CP950 = 32804,
    ID_CODE_PAGE_CP1250 = 32805,
    ID_CODE_PAGE_CP1251 = 32806,
    ID_CODE_PAGE_CP1252 = 32807,
};

// The resource id of the main window, its menu, icon and toolbar.
inline constexpr uint32_t IDR_MAINFRAME = 128;

} // namespace kelvane
