#include "res/string_ids.h"
#include "res/string_table.h"

namespace kelvane {
namespace {

const StringEntry kEnglish[] = {
    {IDS_CANNOT_READ, "Can not read."},
    {IDS_TOO_MANY_CATEGORIES, "Too many categories"},
    {IDS_TOO_LONG_CATEGORY_NAME, "Too long category name"},
    {IDS_TOO_MANY_DEFINITIONS, "Too many definitions"},
    {IDS_TOO_LONG_KEY_NAME, "Too long key name"},
    {IDS_TOO_LONG_SETTING_VALUE, "Too long setting value"},
    {IDS_WRITE_FAILED, "Write failed"},
    {IDS_DEFINITION_NOT_FOUND, "Data definition line %s not found."},
    {IDS_MAXPAGE_NOT_VALID, "MAXPAGE is not valid"},
    {IDS_VALUE_TOO_LONG_FOR_FIELD, "The value of %s is too long (at most %s characters)."},
    {IDS_PATH_TOO_LONG, "The path is too long for this system."},
};

} // namespace

std::span<const StringEntry> EnglishStrings() {
    return kEnglish;
}

} // namespace kelvane
