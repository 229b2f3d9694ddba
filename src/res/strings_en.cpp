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
    {IDS_FILTER_PROJECT, "Project file(*.fsp)"},
    {IDS_TITLE_OPEN_PROJECT, "Open Project File"},
    {IDS_TITLE_SAVE_PROJECT_AS, "Save Project File As"},
    {IDS_FILTER_MPV, "MPU specific information file(*.mpv)"},
    {IDS_TITLE_MPV, "Specify MPV file "},
    {IDS_OVERWRITE_QUESTION, "Overwrite %s OK?"},
    {IDS_FSP_READ_FAILURE, "FSP file read failure.\n"},
    {IDS_CAPTION_REPORT, "Report"},
    {IDS_FSR_READ_FAILURE, "FSR file read failure.\n"},
    {IDS_FSR_NOT_IN_SYNC, "FSR file is not in sync.\n"},
    {IDS_FSP_FILE_NAME, "FSP file name: "},
    {IDS_FSR_FILE_NAME, "FSR file name: "},
    {IDS_SAVE_ABORTED, "Abort the saving for incorrect settings\n"},
    {IDS_ICE_IP_UNDEFINED, "ICE connection (IP address undefined.)"},
    {IDS_ICE_PORT_UNDEFINED, "ICE connection (COM port undefined.)"},
    {IDS_ICE_USB_UNDEFINED, "ICE connection (USB device undefined.)"},
    {IDS_ICE_USB_INVALID, "ICE connection (USB device setting invalid.)"},
    {IDS_MCS_IP_UNDEFINED, "Multi-Core Server connection (IP address undefined.)"},
    {IDS_MCS_PORT_UNDEFINED, "Multi-Core Server connection (COM port undefined.)"},
    {IDS_MPV_UNDEFINED, "MPV file location undefined."},
    {IDS_FILTER_MCI, "Device configuration definition file (*.mci)"},
    {IDS_TITLE_MCI, "Specify MCI file"},
    {IDS_FILTER_FRD, "Flash memory definition file (*.frd)"},
    {IDS_TITLE_FRD, "Specify FRD file"},
    {IDS_PROJECT_FILE_NOT_SAVED, "The project file %s was not saved.\n"},
    {IDS_FSR_FILE_NOT_SAVED, "The FSR file %s was not saved.\n"},
    {IDS_VIEW_OPENED_PROJECT, "Opened project: %s"},
    {IDS_VIEW_TARGET_SYSTEM, "Target system: "},
    {IDS_VIEW_NOT_SUPPORTED, "not supported"},
    {IDS_VIEW_MODEL_NAME, "Model name: "},
    {IDS_VIEW_FSP_FILE, " FSP file: %s"},
    {IDS_VIEW_COMPANION_FILE, " %s file: %s"},
    {IDS_VIEW_FILE_NOT_EXIST, "(File is not exist.)"},
    {IDS_VIEW_SYNC, "[SYNC]"},
    {IDS_VIEW_NOT_SYNC, "[NOT SYNC]"},
};

} // namespace

std::span<const StringEntry> EnglishStrings() {
    return kEnglish;
}

} // namespace kelvane
