// SPDX-License-Identifier: MIT
#include "convert/usb_host_protocol.h"

#include "convert/protocol_fields.h"

#include <algorithm>

namespace kelvane {
namespace {

constexpr char kUsbAnswerMagic[4] = {'K', 'L', 'V', 'U'};
constexpr uint32_t kUsbAnswerVersion = 1;
// Magic, version, status, devices reported, devices sent.
constexpr size_t kHeaderSize = 20;
constexpr size_t kDeviceSize = 4 + kUsbDeviceRecordSize;

} // namespace

std::string EncodeUsbAnswer(const UsbHostAnswer& answer) {
    const size_t sent = std::min(answer.devices.size(), size_t{kMaxUsbDevices});
    std::string out(kUsbAnswerMagic, sizeof kUsbAnswerMagic);
    PutWord(out, kUsbAnswerVersion);
    PutWord(out, static_cast<uint32_t>(answer.status));
    PutWord(out, std::max(answer.reported, static_cast<uint32_t>(sent)));
    PutWord(out, static_cast<uint32_t>(sent));
    for (size_t i = 0; i < sent; ++i) {
        PutWord(out, answer.devices[i].filled ? 1 : 0);
        out.append(reinterpret_cast<const char*>(answer.devices[i].record.data()),
                   kUsbDeviceRecordSize);
    }
    PutText(out, std::string_view(answer.detail).substr(0, kModuleDetailLimit));
    return out;
}

std::optional<UsbHostAnswer> DecodeUsbAnswer(std::string_view bytes, std::string& why) {
    FieldReader reader(bytes);
    UsbHostAnswer answer;
    uint32_t version = 0, status = 0, sent = 0;
    if (!reader.Magic(kUsbAnswerMagic) || !reader.Word(version))
        return Refuse(why, "not a USB listing answer");
    if (version != kUsbAnswerVersion)
        return Refuse(why, "another version of the answer");
    if (!reader.Word(status) || !reader.Word(answer.reported) || !reader.Word(sent))
        return Refuse(why, "an answer of the wrong size");
    if (status > static_cast<uint32_t>(UsbHostStatus::Crashed))
        return Refuse(why, "an answer with an unknown status");
    if (sent > kMaxUsbDevices || sent > answer.reported)
        return Refuse(why, "an answer with too many devices");
    answer.status = static_cast<UsbHostStatus>(status);
    answer.devices.resize(sent);
    for (UsbHostDevice& device : answer.devices) {
        uint32_t filled = 0;
        if (!reader.Word(filled) ||
            !reader.Bytes(reinterpret_cast<char*>(device.record.data()), kUsbDeviceRecordSize))
            return Refuse(why, "an answer of the wrong size");
        if (filled > 1)
            return Refuse(why, "an answer with an unknown status");
        device.filled = filled == 1;
    }
    if (!reader.Text(answer.detail, kModuleDetailLimit) || !reader.AtEnd())
        return Refuse(why, "an answer of the wrong size");
    return answer;
}

std::optional<size_t> UsbAnswerLength(std::string_view received) {
    FieldReader header(received.substr(std::min(kHeaderSize - 4, received.size())));
    uint32_t sent = 0;
    if (!header.Word(sent))
        return std::nullopt;
    if (sent > kMaxUsbDevices)
        return received.size();
    const size_t length = kHeaderSize + sent * kDeviceSize;
    FieldReader detail(received.substr(std::min(length, received.size())));
    uint32_t detailLength = 0;
    if (!detail.Word(detailLength))
        return std::nullopt;
    if (detailLength > kModuleDetailLimit)
        return received.size();
    return length + 4 + detailLength;
}

} // namespace kelvane
