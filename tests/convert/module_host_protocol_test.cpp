// SPDX-License-Identifier: MIT
#include "convert/module_host_protocol.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

ModuleHostAnswer SampleAnswer() {
    ModuleHostAnswer answer;
    answer.status = ModuleHostStatus::Called;
    answer.hasInfoGet = true;
    answer.mask = 0x3FF;
    answer.result = -7;
    for (size_t i = 0; i < answer.block.size(); ++i)
        answer.block[i] = static_cast<char>(i * 7);
    answer.errorText = std::string(511, 'e') + "\n";
    answer.detail = "SIGSEGV";
    return answer;
}

// Both messages come back field for field, and a reader refuses every cut
// of them, a byte too many, another magic or version, and unknown values.
TEST(ModuleHostProtocolTest, AcceptsOnlyAWholeMessageOfItsOwnKind) {
    ModuleHostRequest request;
    request.call = ModuleHostCall::Convert;
    request.direction = 9;
    request.modulePath = "Z:\\opt\\kelvane\\conv.dll";
    request.block[0x547] = 'x';
    const std::string encodedRequest = *EncodeModuleRequest(request);
    std::string why;
    const auto decodedRequest = DecodeModuleRequest(encodedRequest, why);
    ASSERT_TRUE(decodedRequest) << why;
    EXPECT_EQ(decodedRequest->call, ModuleHostCall::Convert);
    EXPECT_EQ(decodedRequest->direction, 9);
    EXPECT_EQ(decodedRequest->modulePath, request.modulePath);
    EXPECT_EQ(decodedRequest->block, request.block);

    const ModuleHostAnswer answer = SampleAnswer();
    const std::string encodedAnswer = EncodeModuleAnswer(answer);
    EXPECT_LE(encodedAnswer.size(), kModuleAnswerLimit);
    const auto decodedAnswer = DecodeModuleAnswer(encodedAnswer, why);
    ASSERT_TRUE(decodedAnswer) << why;
    EXPECT_EQ(decodedAnswer->status, ModuleHostStatus::Called);
    EXPECT_TRUE(decodedAnswer->hasInfoGet);
    EXPECT_EQ(decodedAnswer->mask, 0x3FFu);
    EXPECT_EQ(decodedAnswer->result, -7);
    EXPECT_EQ(decodedAnswer->block, answer.block);
    EXPECT_EQ(decodedAnswer->errorText, answer.errorText);
    EXPECT_EQ(decodedAnswer->detail, "SIGSEGV");

    for (size_t length = 0; length < encodedAnswer.size(); ++length)
        EXPECT_FALSE(DecodeModuleAnswer(encodedAnswer.substr(0, length), why)) << length;
    for (size_t length = 0; length < encodedRequest.size(); ++length)
        EXPECT_FALSE(DecodeModuleRequest(encodedRequest.substr(0, length), why)) << length;
    EXPECT_FALSE(DecodeModuleAnswer(encodedAnswer + '\0', why));
    EXPECT_EQ(why, "an answer of the wrong size");
    EXPECT_FALSE(DecodeModuleRequest(encodedRequest + '\0', why));
    // Each side refuses the other's message.
    EXPECT_FALSE(DecodeModuleRequest(encodedAnswer, why));
    EXPECT_FALSE(DecodeModuleAnswer(encodedRequest, why));
    EXPECT_EQ(why, "not a module host answer");

    std::string otherVersion = encodedAnswer;
    otherVersion[4] = 3;
    EXPECT_FALSE(DecodeModuleAnswer(otherVersion, why));
    EXPECT_EQ(why, "another version of the answer");
    std::string unknownStatus = encodedAnswer;
    unknownStatus[8] = 6;
    EXPECT_FALSE(DecodeModuleAnswer(unknownStatus, why));
    std::string unknownCall = encodedRequest;
    unknownCall[8] = 4;
    EXPECT_FALSE(DecodeModuleRequest(unknownCall, why));
    EXPECT_EQ(why, "an unknown call");
    // A text longer than its field is refused, never cut on reading.
    std::string longText = encodedAnswer;
    const size_t textLengthAt = 24 + kModuleBlockSize;
    longText[textLengthAt] = 1;
    longText[textLengthAt + 1] = 2; // 513
    EXPECT_FALSE(DecodeModuleAnswer(longText, why));

    request.modulePath.assign(kModulePathLimit + 1, 'p');
    EXPECT_FALSE(EncodeModuleRequest(request));
}

} // namespace
} // namespace kelvane
