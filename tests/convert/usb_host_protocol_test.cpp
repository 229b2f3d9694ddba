// SPDX-License-Identifier: MIT
#include "convert/usb_host_protocol.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane {
namespace {

UsbHostAnswer AnswerOf(uint32_t reported, size_t sent) {
    UsbHostAnswer answer;
    answer.reported = reported;
    answer.devices.resize(sent);
    for (size_t i = 0; i < sent; ++i) {
        answer.devices[i].filled = i % 3 != 1;
        for (size_t at = 0; at < kUsbDeviceRecordSize; ++at)
            answer.devices[i].record[at] = static_cast<unsigned char>(i * 31 + at);
    }
    answer.detail = "detail";
    return answer;
}

// A listing request carries the library alone, and a conversion request
// still its direction and block; each comes back as it went.
TEST(UsbHostProtocolTest, AListingRequestHoldsThePathAloneAndConversionsKeepTheirShape) {
    ModuleHostRequest listing;
    listing.call = ModuleHostCall::ListUsbDevices;
    listing.modulePath = "Z:\\opt\\tvxUSB.dll";
    const std::string encoded = *EncodeModuleRequest(listing);
    EXPECT_EQ(encoded.size(), 12 + 4 + listing.modulePath.size());
    std::string why;
    const auto decoded = DecodeModuleRequest(encoded, why);
    ASSERT_TRUE(decoded) << why;
    EXPECT_EQ(decoded->call, ModuleHostCall::ListUsbDevices);
    EXPECT_EQ(decoded->modulePath, listing.modulePath);
    for (size_t length = 0; length < encoded.size(); ++length)
        EXPECT_FALSE(DecodeModuleRequest(encoded.substr(0, length), why)) << length;
    EXPECT_FALSE(DecodeModuleRequest(encoded + '\0', why));
    listing.modulePath.assign(kModulePathLimit + 1, 'x');
    EXPECT_FALSE(EncodeModuleRequest(listing));

    ModuleHostRequest probe;
    probe.call = ModuleHostCall::Probe;
    probe.direction = 7;
    probe.modulePath = "conv.so";
    const std::string probeBytes = *EncodeModuleRequest(probe);
    EXPECT_EQ(probeBytes.size(), 16 + 4 + probe.modulePath.size() + kModuleBlockSize);
    // A conversion request named a listing is refused, not read as one.
    std::string relabelled = probeBytes;
    relabelled[8] = 3;
    EXPECT_FALSE(DecodeModuleRequest(relabelled, why));
}

// Answers of 0, 1 and the full 128 devices come back record for record;
// every cut, a byte too many, more than 128 devices, more sent than
// reported and unknown values are refused, and the length the reader waits
// for is the answer's own as soon as it can be told.
TEST(UsbHostProtocolTest, AcceptsOnlyAWholeAnswerOfAtMost128Devices) {
    std::string why;
    for (const size_t sent : {size_t{0}, size_t{1}, size_t{kMaxUsbDevices}}) {
        SCOPED_TRACE(sent);
        const UsbHostAnswer answer = AnswerOf(static_cast<uint32_t>(sent + 72), sent);
        const std::string encoded = EncodeUsbAnswer(answer);
        EXPECT_LE(encoded.size(), kUsbAnswerLimit);
        const auto decoded = DecodeUsbAnswer(encoded, why);
        ASSERT_TRUE(decoded) << why;
        EXPECT_EQ(decoded->status, UsbHostStatus::Listed);
        EXPECT_EQ(decoded->reported, sent + 72);
        ASSERT_EQ(decoded->devices.size(), sent);
        for (size_t i = 0; i < sent; ++i) {
            EXPECT_EQ(decoded->devices[i].filled, answer.devices[i].filled) << i;
            EXPECT_EQ(decoded->devices[i].record, answer.devices[i].record) << i;
        }
        EXPECT_EQ(decoded->detail, "detail");
        // Every cut of the small answers; of the largest every 61st, and
        // the one short of the last byte.
        std::vector<size_t> cuts;
        for (size_t length = 0; length < encoded.size(); length += sent == kMaxUsbDevices ? 61 : 1)
            cuts.push_back(length);
        cuts.push_back(encoded.size() - 1);
        for (const size_t length : cuts) {
            EXPECT_FALSE(DecodeUsbAnswer(encoded.substr(0, length), why)) << length;
            const auto told = UsbAnswerLength(encoded.substr(0, length));
            EXPECT_TRUE(!told || *told == encoded.size()) << length;
        }
        EXPECT_EQ(UsbAnswerLength(encoded), encoded.size());
        EXPECT_FALSE(DecodeUsbAnswer(encoded + '\0', why));
        EXPECT_EQ(why, "an answer of the wrong size");
    }

    // The encoder never sends more than the table holds.
    EXPECT_EQ(DecodeUsbAnswer(EncodeUsbAnswer(AnswerOf(200, 200)), why)->devices.size(),
              kMaxUsbDevices);

    std::string encoded = EncodeUsbAnswer(AnswerOf(2, 2));
    const auto refused = [&why](std::string bytes, size_t at, char value, const char* reason) {
        bytes[at] = value;
        EXPECT_FALSE(DecodeUsbAnswer(bytes, why)) << at;
        EXPECT_EQ(why, reason) << at;
    };
    refused(encoded, 0, 'X', "not a USB listing answer");
    refused(encoded, 4, 2, "another version of the answer");
    refused(encoded, 8, 4, "an answer with an unknown status");
    refused(encoded, 12, 1, "an answer with too many devices");  // one reported, two sent
    refused(encoded, 20, 2, "an answer with an unknown status"); // the filled flag
    // A module answer is not a listing answer.
    EXPECT_FALSE(DecodeUsbAnswer(EncodeModuleAnswer(ModuleHostAnswer()), why));

    // Past 128 devices or a detail past its limit, the length is what has
    // come, for the decoder to refuse.
    std::string many = EncodeUsbAnswer(AnswerOf(200, 0));
    many[16] = static_cast<char>(kMaxUsbDevices + 1);
    EXPECT_EQ(UsbAnswerLength(many), many.size());
    EXPECT_FALSE(DecodeUsbAnswer(many, why));
    EXPECT_EQ(why, "an answer with too many devices");
    std::string longDetail = EncodeUsbAnswer(AnswerOf(0, 0));
    longDetail[21] = 0x10; // 4096 + 6 bytes
    EXPECT_EQ(UsbAnswerLength(longDetail), longDetail.size());
    EXPECT_FALSE(DecodeUsbAnswer(longDetail, why));

    // A detail too long for the other side is cut when sent.
    UsbHostAnswer crashed;
    crashed.status = UsbHostStatus::Crashed;
    crashed.detail.assign(kModuleDetailLimit + 10, 'd');
    const auto cut = DecodeUsbAnswer(EncodeUsbAnswer(crashed), why);
    ASSERT_TRUE(cut) << why;
    EXPECT_EQ(cut->status, UsbHostStatus::Crashed);
    EXPECT_EQ(cut->detail.size(), kModuleDetailLimit);
}

} // namespace
} // namespace kelvane
