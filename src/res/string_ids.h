#pragma once

namespace kelvane {

// Ids of the string table entries.
enum StringId : unsigned {
    IDS_CANNOT_READ = 61255,
    IDS_TOO_MANY_CATEGORIES = 61256,
    IDS_TOO_LONG_CATEGORY_NAME = 61257,
    IDS_TOO_MANY_DEFINITIONS = 61258,
    IDS_TOO_LONG_KEY_NAME = 61259,
    IDS_TOO_LONG_SETTING_VALUE = 61260,
    IDS_WRITE_FAILED = 61261,
    IDS_DEFINITION_NOT_FOUND = 61262,
    IDS_MAXPAGE_NOT_VALID = 61263,

    // Messages of this program beyond the original table.
    IDS_VALUE_TOO_LONG_FOR_FIELD = 61300,
    IDS_PATH_TOO_LONG = 61301,
};

} // namespace kelvane
