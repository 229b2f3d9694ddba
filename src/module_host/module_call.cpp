// SPDX-License-Identifier: MIT
#include "module_host/module_call.h"

#include "convert/kelvane_module.h"
#include "platform/process/dynamic_library.h"
#include "platform/process/low_address_buffer.h"

#include <cstring>
#include <vector>

namespace kelvane {
namespace {

static_assert(sizeof(KelvaneConversionBlock) == kModuleBlockSize);
static_assert(KELVANE_CONVERT_ERROR_SIZE == kModuleErrorTextSize);

// Bytes on either side of the block that a well-behaved module never touches.
constexpr size_t kGuardSize = 4096;
constexpr unsigned char kGuardByte = 0xA5;

// The block between two guard areas, aligned as the module expects it.
class GuardedBlock {
public:
    explicit GuardedBlock(const ModuleBlockBytes& block)
        : m_area(kGuardSize * 2 + kModuleBlockSize, kGuardByte) {
        std::memcpy(Block(), block.data(), block.size());
    }
    KelvaneConversionBlock* Block() {
        return reinterpret_cast<KelvaneConversionBlock*>(m_area.data() + kGuardSize);
    }
    bool GuardsIntact() const {
        for (size_t i = 0; i < m_area.size(); ++i) {
            if (i == kGuardSize)
                i += kModuleBlockSize;
            if (i < m_area.size() && m_area[i] != kGuardByte)
                return false;
        }
        return true;
    }
    void CopyOut(ModuleBlockBytes& block) { std::memcpy(block.data(), Block(), block.size()); }

private:
    std::vector<unsigned char> m_area; // new[] alignment suits every field
};

ModuleHostAnswer Probe(DynamicLibrary& module, ModuleHostAnswer answer) {
    const auto infoGet =
        reinterpret_cast<KelvaneInfoGetFunction>(module.Symbol(KELVANE_INFO_GET_NAME));
    answer.hasInfoGet = infoGet != nullptr;
    if (infoGet != nullptr) {
        // Modules must write the mask; zero keeps a careless one from
        // enabling directions at random.
        uint32_t mask = 0;
        infoGet(&mask);
        answer.mask = mask;
    }
    return answer;
}

ModuleHostAnswer Convert(DynamicLibrary& module, const ModuleHostRequest& request,
                         ModuleHostAnswer answer) {
    const auto convert =
        reinterpret_cast<KelvaneConvertFunction>(module.Symbol(KELVANE_CONVERT_NAME));
    if (convert == nullptr) {
        answer.status = ModuleHostStatus::NoConvertExport;
        return answer;
    }
    LowAddressBuffer errorText(kModuleErrorTextSize);
    if (!errorText.IsValid()) {
        answer.status = ModuleHostStatus::NoErrorBuffer;
        return answer;
    }
    GuardedBlock guarded(request.block);
    guarded.Block()->m_pszConvertError = errorText.Address();
    answer.result = convert(request.direction, guarded.Block());
    if (!guarded.GuardsIntact()) {
        answer.status = ModuleHostStatus::WroteOutsideBlock;
        return answer;
    }
    guarded.CopyOut(answer.block);
    answer.errorText.assign(errorText.Data(), strnlen(errorText.Data(), errorText.Size()));
    return answer;
}

} // namespace

ModuleHostAnswer AnswerModuleRequest(const ModuleHostRequest& request) {
    ModuleHostAnswer answer;
    answer.block = request.block;
    DynamicLibrary module;
    if (!module.Load(request.modulePath)) {
        answer.status = ModuleHostStatus::CannotLoad;
        answer.detail = module.Error();
        return answer;
    }
    answer = request.call == ModuleHostCall::Probe ? Probe(module, std::move(answer))
                                                   : Convert(module, request, std::move(answer));
    module.Unload();
    return answer;
}

} // namespace kelvane
