// SPDX-License-Identifier: MIT
// The conversion of the open project by a conversion module.
#include "app/klvn_main_app.h"

#include "convert/kelvane_module.h"
#include "convert/module_discovery.h"
#include "convert/module_host_client.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/fixed_text.h"
#include "store/path_helpers.h"

#include <cstring>
#include <iterator>
#include <string>

namespace kelvane {
namespace {

constexpr unsigned kConfirmStyle = MB_YESNO | MB_ICONEXCLAMATION;
constexpr unsigned kFailedStyle = MB_OK | MB_ICONEXCLAMATION;
constexpr unsigned kCompleteStyle = MB_OK | MB_ICONINFORMATION;
static_assert(kConfirmStyle == 0x34 && kFailedStyle == 0x30 && kCompleteStyle == 0x40);

constexpr uint32_t kPurgeKeys = 16;

} // namespace

bool CKLVN_MAINApp::OnConvert(const ConversionCommand& command) {
    return ConvertProject(command.direction);
}

bool CKLVN_MAINApp::IsConvertEnabled(const ConversionCommand& command) const {
    return IsConversionEnabled(command, m_settings);
}

void CKLVN_MAINApp::ShowConversionMessage(const std::string& text, unsigned captionId,
                                          unsigned style) {
    m_services.messageBoxes.MessageBox(text, LoadResourceString(captionId), style);
}

bool CKLVN_MAINApp::ConvertProject(int32_t direction) {
    const ConversionCommand* const command = FindConversionDirection(direction);
    if (command == nullptr)
        return false;

    bool applied = false;
    if (m_services.messageBoxes.MessageBox(LoadResourceString(command->confirmationId),
                                           LoadResourceString(IDS_CAPTION_CONFIRM),
                                           kConfirmStyle) == IDYES) {
        const ModuleLocation module = LocateModule(FieldText(m_settings.m_szConvertModule));

        // The module sees the bare file name; the folder is put back after.
        const ConversionBlock blockBefore = m_settings.Block();
        ConversionBlock request = blockBefore;
        const std::string_view mpdFile = FieldText(blockBefore.m_szMpdFile);
        const size_t separatorAt = FindLastSeparator(mpdFile);
        std::string directory;
        char separator = '\\';
        if (separatorAt != std::string_view::npos) {
            directory = std::string(mpdFile.substr(0, separatorAt));
            separator = mpdFile[separatorAt];
            CopyToField(request.m_szMpdFile, mpdFile.substr(separatorAt + 1));
        }
        // A module that does not write the mask must not purge by the last
        // conversion's; the host puts in the error buffer's address.
        request.m_wPurgeMask = 0;
        request.m_pszConvertError = 0;
        ModuleBlockBytes requestBytes;
        std::memcpy(requestBytes.data(), &request, sizeof request);

        const ModuleHostOutcome outcome =
            CallModuleHost(module, ModuleHostCall::Convert, direction, requestBytes, *m_wait);
        // No answer, or none to believe: the project stays exactly as it was.
        if (const std::string problem = ModuleHostFailureMessage(outcome, module);
            !problem.empty()) {
            ShowConversionMessage(problem, IDS_CAPTION_CONVERSION_FAILED, kFailedStyle);
            return false;
        }
        if (const std::string warning = ModuleHostWarningMessage(outcome, module); !warning.empty())
            ShowConversionMessage(warning, IDS_CAPTION_CONVERSION_MODULE,
                                  MB_OK | MB_ICONEXCLAMATION);
        const ModuleHostAnswer& answer = outcome.answer;
        switch (answer.status) {
        case ModuleHostStatus::CannotLoad:
            ShowConversionMessage(LoadResourceString(IDS_MODULE_CANNOT_OPEN), IDS_CAPTION_CONFIRM,
                                  MB_OK);
            return false;
        case ModuleHostStatus::NoConvertExport:
            ShowConversionMessage(LoadResourceString(IDS_MODULE_INVALID), IDS_CAPTION_CONFIRM,
                                  MB_OK);
            return false;
        case ModuleHostStatus::NoErrorBuffer:
            ShowConversionMessage(LoadResourceString(IDS_NO_ERROR_BUFFER),
                                  IDS_CAPTION_CONVERSION_FAILED, kFailedStyle);
            break;
        default:
            std::memcpy(&m_settings.Block(), answer.block.data(), sizeof(ConversionBlock));
            m_settings.m_pszConvertError = 0; // the buffer went with the host
            if (answer.result != 0) {
                std::memcpy(m_settings.m_szMpdFile, blockBefore.m_szMpdFile,
                            sizeof m_settings.m_szMpdFile);
                ShowConversionMessage(answer.errorText, IDS_CAPTION_CONVERSION_FAILED,
                                      kFailedStyle);
            } else {
                applied = ApplyConversionResult(direction, directory, separator, blockBefore);
            }
            break;
        }
    }
    if (applied)
        m_bModified = true;
    FindConversionModule();
    m_services.repaint.Repaint();
    return applied;
}

bool CKLVN_MAINApp::ApplyConversionResult(int32_t direction, const std::string& directory,
                                          char separator, const ConversionBlock& blockBefore) {
    const ConversionCommand& command = *FindConversionDirection(direction);
    // The module may leave the field without its terminating zero.
    const std::string newName(m_settings.m_szMpdFile,
                              strnlen(m_settings.m_szMpdFile, sizeof m_settings.m_szMpdFile));
    const std::string rebuilt = directory.empty() ? newName : directory + separator + newName;
    if (newName.size() >= sizeof m_settings.m_szMpdFile ||
        !CopyToField(m_settings.m_szMpdFile, rebuilt)) {
        // A cut name would select some other MPU information file; the
        // project stays as it was before the call.
        m_settings.Block() = blockBefore;
        ShowConversionMessage(FormatResourceString(IDS_CONVERTED_NAME_TOO_LONG, {rebuilt}),
                              IDS_CAPTION_CONVERSION_FAILED, kFailedStyle);
        return false;
    }

    // The page table holds pages 0 to 15; a project saved with any other
    // highest page would not open again.
    const int32_t maxPage = m_settings.m_nMaxPage;
    if (maxPage < 0 || maxPage >= static_cast<int32_t>(std::size(m_settings.m_anMpCount))) {
        m_settings.Block() = blockBefore;
        ShowConversionMessage(
            FormatResourceString(IDS_CONVERTED_MAX_PAGE_INVALID, {std::to_string(maxPage)}),
            IDS_CAPTION_CONVERSION_FAILED, kFailedStyle);
        return false;
    }

    m_settings.m_nIceModel = command.to;
    if (command.to == ICE_TALVEX_BANTAM)
        m_settings.m_nCommDevice = COMM_USB;
    for (uint32_t key = 0; key < kPurgeKeys; ++key)
        if ((m_settings.m_wPurgeMask >> key) & 1u)
            m_fsr.PurgeItems(key);
    ShowConversionMessage(LoadResourceString(IDS_CONVERSION_COMPLETE), IDS_CAPTION_INFORMATION,
                          kCompleteStyle);
    return true;
}

} // namespace kelvane
