#include "res/string_ids.h"
#include "res/string_table.h"

namespace kelvane {
namespace {

const StringEntry kEnglish[] = {
    {IDS_CAPTION_CONFIRM, "Confirm"},
    {IDS_MCR_NOT_WRITABLE, "MCR file is not writable."},
    {IDS_MCR_WRITE_ERROR, "The error occurred during MCR file writing."},
    {IDS_SBU_NOT_WRITABLE, "SBU file is not writable."},
    {IDS_SBU_WRITE_ERROR, "The error occurred during SBU file writing."},
    {IDS_UER_NOT_WRITABLE, "UER file is not writable."},
    {IDS_UER_WRITE_ERROR, "The error occurred during UER file writing."},
    {IDS_CANNOT_READ, "Can not read."},
    {IDS_TOO_MANY_CATEGORIES, "Too many categories"},
    {IDS_TOO_LONG_CATEGORY_NAME, "Too long category name"},
    {IDS_TOO_MANY_DEFINITIONS, "Too many definitions"},
    {IDS_TOO_LONG_KEY_NAME, "Too long key name"},
    {IDS_TOO_LONG_SETTING_VALUE, "Too long setting value"},
    {IDS_WRITE_FAILED, "Write failed"},
    {IDS_DEFINITION_NOT_FOUND, "Data definition line %s not found."},
    {IDS_MAXPAGE_NOT_VALID, "MAXPAGE is not valid"},
    {IDS_VERSION_READ_FAILURE, "Version information read failure"},
    {IDS_HEADER_READ_FAILURE, "Header information read failure"},
    {IDS_HEADER_ID_NOT_VALID, "Header inforamtion(resource id) is not valid."},
    {IDS_HEADER_SIZE_NOT_VALID, "Header inforamtion(size information) is not valid."},
    {IDS_DATA_READ_FAILURE, "Data read failure."},
    {IDS_VERSION_WRITE_FAILURE, "Version information write failure"},
    {IDS_HEADER_INIT_FAILURE, "Header information initialization failure."},
    {IDS_DATA_WRITE_FAILURE, "Data write failure."},
    {IDS_HEADER_WRITE_FAILURE, "Header information write failure."},
    {IDS_VALUE_TOO_LONG_FOR_FIELD, "The value of %s is too long (at most %s characters)."},
    {IDS_PATH_TOO_LONG, "The path is too long for this system."},
    {IDS_FSR_RECORD_TOO_LARGE,
     "Record %s of the FSR file would be larger than 16384 bytes; the FSR file was not written."},
};

} // namespace

std::span<const StringEntry> EnglishStrings() {
    return kEnglish;
}

} // namespace kelvane
