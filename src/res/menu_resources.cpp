// SPDX-License-Identifier: MIT
#include "res/menu_resources.h"

#include "res/command_ids.h"
#include "res/string_table.h"

#include <array>

namespace kelvane {
namespace {

using E = MenuEntry;

constexpr std::array kEnglishMenu = {
    E{E::PopupBegin, 0, "File(&F)"},
    E{E::Item, ID_PROJECT_OPEN, "Open Project Files(&O)...\tCtrl+O"},
    E{E::Item, ID_PROJECT_SAVE, "Save Project Files(&S)\tCtrl+S"},
    E{E::Item, ID_PROJECT_SAVE_AS, "Save Project Files As(&A)...\tShift+Ctrl+S"},
    E{E::Separator, 0, nullptr},
    E{E::Item, ID_APP_EXIT, "Exit(&X)"},
    E{E::PopupEnd, 0, nullptr},
    E{E::PopupBegin, 0, "Edit(&E)"},
    E{E::PopupBegin, 0, "Convert(&T)"},
    E{E::ConversionItems, 0, nullptr},
    E{E::PopupEnd, 0, nullptr},
    E{E::Item, ID_FILE_MODEL_SETTING, "Files && ICE model setting(&M)\tShift+Ctrl+M"},
    E{E::Item, ID_COMM_SETTING, "Comm setting(&C)\tShift+Ctrl+C"},
    E{E::PopupEnd, 0, nullptr},
    E{E::PopupBegin, 0, "View(&V)"},
    E{E::PopupBegin, 0, "Code page(&P)"},
    E{E::CheckItem, ID_CODE_PAGE_UTF8, "Unicode (UTF-8)(&U)"},
    E{E::CheckItem, ID_CODE_PAGE_CP932, "Japanese (CP932)(&J)"},
    E{E::CheckItem, ID_CODE_PAGE_CP936, "Chinese Simplified (CP936)(&S)"},
    E{E::CheckItem, ID_CODE_PAGE_CP950, "Chinese Traditional (CP950)(&T)"},
    E{E::CheckItem, ID_CODE_PAGE_CP949, "Korean (CP949)(&K)"},
    E{E::CheckItem, ID_CODE_PAGE_CP1250, "Central European (CP1250)(&C)"},
    E{E::CheckItem, ID_CODE_PAGE_CP1251, "Cyrillic (CP1251)(&Y)"},
    E{E::CheckItem, ID_CODE_PAGE_CP1252, "Western European (CP1252)(&W)"},
    E{E::PopupEnd, 0, nullptr},
    E{E::PopupEnd, 0, nullptr},
    E{E::PopupBegin, 0, "Help(&H)"},
    E{E::Item, ID_HELP, "Help(&H)...\tCtrl+H"},
    E{E::Item, ID_APP_ABOUT, "Version Infomation(&V)...\tCtrl+V"},
    E{E::PopupEnd, 0, nullptr},
};

constexpr std::array kJapaneseMenu = {
    E{E::PopupBegin, 0, "ファイル(&F)"},
    E{E::Item, ID_PROJECT_OPEN, "プロジェクトファイルを開く(&O)...\tCtrl+O"},
    E{E::Item, ID_PROJECT_SAVE, "プロジェクトファイルを上書き保存(&S)\tCtrl+S"},
    E{E::Item, ID_PROJECT_SAVE_AS, "名前を付けてプロジェクトファイルを保存(&A)...\tShift+Ctrl+S"},
    E{E::Separator, 0, nullptr},
    E{E::Item, ID_APP_EXIT, "終了(&X)"},
    E{E::PopupEnd, 0, nullptr},
    E{E::PopupBegin, 0, "編集(&E)"},
    E{E::PopupBegin, 0, "変換(&T)"},
    E{E::ConversionItems, 0, nullptr},
    E{E::PopupEnd, 0, nullptr},
    E{E::Item, ID_FILE_MODEL_SETTING, "ファイルと ICE モデルの設定(&M)\tShift+Ctrl+M"},
    E{E::Item, ID_COMM_SETTING, "通信設定(&C)\tShift+Ctrl+C"},
    E{E::PopupEnd, 0, nullptr},
    E{E::PopupBegin, 0, "表示(&V)"},
    E{E::PopupBegin, 0, "コードページ(&P)"},
    E{E::CheckItem, ID_CODE_PAGE_UTF8, "Unicode (UTF-8)(&U)"},
    E{E::CheckItem, ID_CODE_PAGE_CP932, "日本語 (CP932)(&J)"},
    E{E::CheckItem, ID_CODE_PAGE_CP936, "簡体字中国語 (CP936)(&S)"},
    E{E::CheckItem, ID_CODE_PAGE_CP950, "繁体字中国語 (CP950)(&T)"},
    E{E::CheckItem, ID_CODE_PAGE_CP949, "韓国語 (CP949)(&K)"},
    E{E::CheckItem, ID_CODE_PAGE_CP1250, "中央ヨーロッパ言語 (CP1250)(&C)"},
    E{E::CheckItem, ID_CODE_PAGE_CP1251, "キリル言語 (CP1251)(&Y)"},
    E{E::CheckItem, ID_CODE_PAGE_CP1252, "西ヨーロッパ言語 (CP1252)(&W)"},
    E{E::PopupEnd, 0, nullptr},
    E{E::PopupEnd, 0, nullptr},
    E{E::PopupBegin, 0, "ヘルプ(&H)"},
    E{E::Item, ID_HELP, "ヘルプ(&H)...\tCtrl+H"},
    E{E::Item, ID_APP_ABOUT, "バージョン情報(&V)...\tCtrl+V"},
    E{E::PopupEnd, 0, nullptr},
};

constexpr unsigned kCtrl = FVIRTKEY | FNOINVERT | FCONTROL;
constexpr unsigned kShiftCtrl = kCtrl | FSHIFT;

constexpr std::array kAccelerators = {
    AcceleratorEntry{'O', kCtrl, ID_PROJECT_OPEN},
    AcceleratorEntry{'S', kCtrl, ID_PROJECT_SAVE},
    AcceleratorEntry{'S', kShiftCtrl, ID_PROJECT_SAVE_AS},
    AcceleratorEntry{'M', kShiftCtrl, ID_FILE_MODEL_SETTING},
    AcceleratorEntry{'C', kShiftCtrl, ID_COMM_SETTING},
    AcceleratorEntry{'H', kCtrl, ID_HELP},
    AcceleratorEntry{'V', kCtrl, ID_APP_ABOUT},
};

constexpr std::array kToolbar = {
    ToolbarEntry{ID_PROJECT_OPEN},
    ToolbarEntry{ID_PROJECT_SAVE},
    ToolbarEntry{0},
    ToolbarEntry{ID_FILE_MODEL_SETTING},
    ToolbarEntry{ID_COMM_SETTING},
    ToolbarEntry{0},
    ToolbarEntry{ID_HELP},
};

constexpr std::array kEnglishCommandStrings = {
    CommandStringEntry{ID_PROJECT_OPEN, "Open Project File\nOpen"},
    CommandStringEntry{ID_PROJECT_SAVE, "Save Project File\nOverwrite"},
    CommandStringEntry{ID_PROJECT_SAVE_AS, "Save Project File As\nSave As"},
    CommandStringEntry{ID_FILE_MODEL_SETTING, "MPV setting\nMPV setting"},
    CommandStringEntry{ID_COMM_SETTING, "Comm setting\nComm setting"},
    CommandStringEntry{ID_HELP, "Display help\nHelp"},
};

constexpr std::array kJapaneseCommandStrings = {
    CommandStringEntry{ID_PROJECT_OPEN, "プロジェクトファイルを開きます\n開く"},
    CommandStringEntry{ID_PROJECT_SAVE, "プロジェクトファイルを上書き保存します\n上書き保存"},
    CommandStringEntry{ID_PROJECT_SAVE_AS,
                       "名前を付けてプロジェクトファイルを保存します\n名前を付けて保存"},
    CommandStringEntry{ID_FILE_MODEL_SETTING, "MPV の設定\nMPV の設定"},
    CommandStringEntry{ID_COMM_SETTING, "通信設定\n通信設定"},
    CommandStringEntry{ID_HELP, "ヘルプを表示します\nヘルプ"},
};

bool Japanese() {
    return CurrentResourceLanguage() == ResourceLanguage::Japanese;
}

} // namespace

std::span<const MenuEntry> MainMenu() {
    if (Japanese())
        return kJapaneseMenu;
    return kEnglishMenu;
}

std::span<const AcceleratorEntry> MainAccelerators() {
    return kAccelerators;
}

std::span<const ToolbarEntry> MainToolbar() {
    return kToolbar;
}

std::string CommandTooltip(uint32_t commandId) {
    const std::span<const CommandStringEntry> strings =
        Japanese() ? std::span<const CommandStringEntry>(kJapaneseCommandStrings)
                   : std::span<const CommandStringEntry>(kEnglishCommandStrings);
    for (const CommandStringEntry& entry : strings) {
        if (entry.commandId != commandId)
            continue;
        const std::string text = entry.text;
        const size_t newline = text.find('\n');
        return newline == std::string::npos ? std::string() : text.substr(newline + 1);
    }
    return {};
}

std::string MainWindowTitle() {
    return "Kelvane";
}

} // namespace kelvane
