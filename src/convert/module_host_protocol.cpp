// SPDX-License-Identifier: MIT
#include "convert/module_host_protocol.h"

#include "convert/protocol_fields.h"

#include <algorithm>
#include <cstring>

namespace kelvane {
namespace {

constexpr char kRequestMagic[4] = {'K', 'L', 'V', 'Q'};
constexpr char kAnswerMagic[4] = {'K', 'L', 'V', 'A'};
constexpr uint32_t kProtocolVersion = 2;

} // namespace

std::optional<std::string> EncodeModuleRequest(const ModuleHostRequest& request) {
    if (request.modulePath.size() > kModulePathLimit)
        return std::nullopt;
    std::string out(kRequestMagic, sizeof kRequestMagic);
    PutWord(out, kProtocolVersion);
    PutWord(out, static_cast<uint32_t>(request.call));
    // A listing has neither direction nor block.
    if (request.call == ModuleHostCall::ListUsbDevices) {
        PutText(out, request.modulePath);
        return out;
    }
    PutWord(out, static_cast<uint32_t>(request.direction));
    PutText(out, request.modulePath);
    out.append(request.block.data(), request.block.size());
    return out;
}

std::string EncodeModuleAnswer(const ModuleHostAnswer& answer) {
    std::string out(kAnswerMagic, sizeof kAnswerMagic);
    PutWord(out, kProtocolVersion);
    PutWord(out, static_cast<uint32_t>(answer.status));
    PutWord(out, answer.hasInfoGet ? 1 : 0);
    PutWord(out, answer.mask);
    PutWord(out, static_cast<uint32_t>(answer.result));
    out.append(answer.block.data(), answer.block.size());
    PutText(out, std::string_view(answer.errorText).substr(0, kModuleErrorTextSize));
    PutText(out, std::string_view(answer.detail).substr(0, kModuleDetailLimit));
    PutWord(out, answer.leftProcesses);
    return out;
}

std::optional<ModuleHostRequest> DecodeModuleRequest(std::string_view bytes, std::string& why) {
    FieldReader reader(bytes);
    ModuleHostRequest request;
    uint32_t version = 0, call = 0, direction = 0;
    if (!reader.Magic(kRequestMagic) || !reader.Word(version))
        return Refuse(why, "not a module host request");
    if (version != kProtocolVersion)
        return Refuse(why, "another version of the request");
    if (!reader.Word(call))
        return Refuse(why, "a request of the wrong size");
    if (call == static_cast<uint32_t>(ModuleHostCall::ListUsbDevices)) {
        if (!reader.Text(request.modulePath, kModulePathLimit) || !reader.AtEnd())
            return Refuse(why, "a request of the wrong size");
    } else if (!reader.Word(direction) || !reader.Text(request.modulePath, kModulePathLimit) ||
               !reader.Bytes(request.block.data(), request.block.size()) || !reader.AtEnd()) {
        return Refuse(why, "a request of the wrong size");
    }
    if (call != static_cast<uint32_t>(ModuleHostCall::Probe) &&
        call != static_cast<uint32_t>(ModuleHostCall::Convert) &&
        call != static_cast<uint32_t>(ModuleHostCall::ListUsbDevices))
        return Refuse(why, "an unknown call");
    request.call = static_cast<ModuleHostCall>(call);
    request.direction = static_cast<int32_t>(direction);
    return request;
}

std::optional<ModuleHostAnswer> DecodeModuleAnswer(std::string_view bytes, std::string& why) {
    FieldReader reader(bytes);
    ModuleHostAnswer answer;
    uint32_t version = 0, status = 0, hasInfoGet = 0, result = 0;
    if (!reader.Magic(kAnswerMagic) || !reader.Word(version))
        return Refuse(why, "not a module host answer");
    if (version != kProtocolVersion)
        return Refuse(why, "another version of the answer");
    if (!reader.Word(status) || !reader.Word(hasInfoGet) || !reader.Word(answer.mask) ||
        !reader.Word(result) || !reader.Bytes(answer.block.data(), answer.block.size()) ||
        !reader.Text(answer.errorText, kModuleErrorTextSize) ||
        !reader.Text(answer.detail, kModuleDetailLimit) || !reader.Word(answer.leftProcesses) ||
        !reader.AtEnd())
        return Refuse(why, "an answer of the wrong size");
    if (status > static_cast<uint32_t>(ModuleHostStatus::Crashed) || hasInfoGet > 1)
        return Refuse(why, "an answer with an unknown status");
    answer.status = static_cast<ModuleHostStatus>(status);
    answer.hasInfoGet = hasInfoGet == 1;
    answer.result = static_cast<int32_t>(result);
    return answer;
}

std::optional<size_t> ModuleAnswerLength(std::string_view received) {
    // Magic, version, status, info flag, mask, result, block; then two texts,
    // each a length and its bytes; then the count of processes left.
    size_t length = 24 + kModuleBlockSize;
    for (const size_t limit : {kModuleErrorTextSize, kModuleDetailLimit}) {
        uint32_t textLength = 0;
        FieldReader reader(received.substr(std::min(length, received.size())));
        if (!reader.Word(textLength))
            return std::nullopt;
        if (textLength > limit)
            return received.size();
        length += 4 + textLength;
    }
    return length + 4;
}

} // namespace kelvane
