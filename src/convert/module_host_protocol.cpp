// SPDX-License-Identifier: MIT
#include "convert/module_host_protocol.h"

#include <algorithm>
#include <cstring>

namespace kelvane {
namespace {

constexpr char kRequestMagic[4] = {'K', 'L', 'V', 'Q'};
constexpr char kAnswerMagic[4] = {'K', 'L', 'V', 'A'};
constexpr uint32_t kProtocolVersion = 2;

void PutWord(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutText(std::string& out, std::string_view text) {
    PutWord(out, static_cast<uint32_t>(text.size()));
    out.append(text);
}

// Reads little-endian fields off the front of a message, never past its end.
class FieldReader {
public:
    explicit FieldReader(std::string_view bytes) : m_rest(bytes) {}

    bool Word(uint32_t& value) {
        if (m_rest.size() < 4)
            return false;
        value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<uint32_t>(static_cast<unsigned char>(m_rest[i])) << (8 * i);
        m_rest.remove_prefix(4);
        return true;
    }
    bool Bytes(char* out, size_t size) {
        if (m_rest.size() < size)
            return false;
        std::memcpy(out, m_rest.data(), size);
        m_rest.remove_prefix(size);
        return true;
    }
    bool Text(std::string& out, size_t limit) {
        uint32_t size = 0;
        if (!Word(size) || size > limit || m_rest.size() < size)
            return false;
        out.assign(m_rest.substr(0, size));
        m_rest.remove_prefix(size);
        return true;
    }
    bool Magic(const char (&magic)[4]) {
        char seen[4];
        return Bytes(seen, sizeof seen) && std::memcmp(seen, magic, sizeof seen) == 0;
    }
    bool AtEnd() const { return m_rest.empty(); }

private:
    std::string_view m_rest;
};

std::nullopt_t Refuse(std::string& why, const char* reason) {
    why = reason;
    return std::nullopt;
}

} // namespace

std::optional<std::string> EncodeModuleRequest(const ModuleHostRequest& request) {
    if (request.modulePath.size() > kModulePathLimit)
        return std::nullopt;
    std::string out(kRequestMagic, sizeof kRequestMagic);
    PutWord(out, kProtocolVersion);
    PutWord(out, static_cast<uint32_t>(request.call));
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
    if (!reader.Word(call) || !reader.Word(direction) ||
        !reader.Text(request.modulePath, kModulePathLimit) ||
        !reader.Bytes(request.block.data(), request.block.size()) || !reader.AtEnd())
        return Refuse(why, "a request of the wrong size");
    if (call != static_cast<uint32_t>(ModuleHostCall::Probe) &&
        call != static_cast<uint32_t>(ModuleHostCall::Convert))
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
