// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace kelvane {

// The communication settings given on the command line; what is not given
// stays as the project has it. Texts are in the project code page.
struct CommOptions {
    enum class Device { Ether, Usb };

    std::optional<Device> device;
    std::optional<std::string> ipAddress;
    std::optional<std::string> port; // hexadecimal
    std::optional<std::string> usbDevice;
    bool detectUsb = false;
    std::optional<std::string> timeout; // decimal seconds
    std::optional<bool> useMcs;
    std::optional<std::string> ipAddressMcs;
    std::optional<std::string> portMcs; // hexadecimal

    bool Any() const {
        return device || ipAddress || port || usbDevice || detectUsb || timeout || useMcs ||
               ipAddressMcs || portMcs;
    }
};

} // namespace kelvane
