// SPDX-License-Identifier: MIT
#pragma once

// What the program and the module host say to each other over the host's
// standard input and output. Plain standard C++: the same source is built
// for the native host and for the 32-bit Windows one.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// The conversion block travels as its bytes; both sides read it by offset.
inline constexpr size_t kModuleBlockSize = 0x550;
using ModuleBlockBytes = std::array<char, kModuleBlockSize>;

// The error buffer a module writes into, terminating zero included.
inline constexpr size_t kModuleErrorTextSize = 512;
// Longest module path and longest detail text either side accepts.
inline constexpr size_t kModulePathLimit = 4096;
inline constexpr size_t kModuleDetailLimit = 1024;

// ListUsbDevices asks a USB access library for its devices
// (convert/usb_host_protocol.h has its answer).
enum class ModuleHostCall : uint32_t { Probe = 1, Convert = 2, ListUsbDevices = 3 };

struct ModuleHostRequest {
    ModuleHostCall call = ModuleHostCall::Probe;
    int32_t direction = 0;
    // The native host takes the path as the program holds it; the Windows
    // host takes a Windows path in UTF-8.
    std::string modulePath;
    ModuleBlockBytes block{};
};

enum class ModuleHostStatus : uint32_t {
    Called = 0,          // the module was called; result, mask and block tell the rest
    CannotLoad = 1,      // detail: the loader's reason
    NoConvertExport = 2, // the module has no DLL_MPV_Convert
    NoErrorBuffer = 3,   // no memory for the error text where a 32-bit address reaches
    WroteOutsideBlock = 4,
    Crashed = 5, // detail: what the system said (the Windows host reports exceptions so)
};

struct ModuleHostAnswer {
    ModuleHostStatus status = ModuleHostStatus::Called;
    bool hasInfoGet = false; // probe: the module exports DLL_Info_Get
    uint32_t mask = 0;       // probe: the directions it reported
    int32_t result = 0;      // conversion: what DLL_MPV_Convert returned
    ModuleBlockBytes block{};
    std::string errorText; // conversion: the error buffer up to its zero
    std::string detail;
    // Processes the module started and left running, which the host stopped.
    uint32_t leftProcesses = 0;
};

// Largest message either way, so a reader knows when to stop.
inline constexpr size_t kModuleRequestLimit = 32 + kModulePathLimit + kModuleBlockSize;
inline constexpr size_t kModuleAnswerLimit =
    52 + kModuleBlockSize + kModuleErrorTextSize + kModuleDetailLimit;

// Encoders refuse what the other side would not accept (nullopt).
std::optional<std::string> EncodeModuleRequest(const ModuleHostRequest& request);
std::string EncodeModuleAnswer(const ModuleHostAnswer& answer);

// Decoders accept only a whole message, exactly its size; the reason for a
// refusal goes to `why`.
std::optional<ModuleHostRequest> DecodeModuleRequest(std::string_view bytes, std::string& why);
std::optional<ModuleHostAnswer> DecodeModuleAnswer(std::string_view bytes, std::string& why);

// The length of the whole answer that `received` begins, once enough of it
// has come to tell; nothing before. A length past the limits is given as
// what has come, for the decoder to refuse.
std::optional<size_t> ModuleAnswerLength(std::string_view received);

} // namespace kelvane
