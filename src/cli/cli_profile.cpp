// SPDX-License-Identifier: MIT
#include "cli/cli_profile.h"

#include <map>
#include <utility>

namespace kelvane {
namespace {

struct HeldWrites {
    bool holding = false;
    std::map<std::pair<std::string, std::string>, std::string> values; // section, entry
};

HeldWrites& Held() {
    static HeldWrites held;
    return held;
}

} // namespace

void HoldCliProfileWrites() {
    Held().holding = true;
}

bool WriteHeldCliProfileValues() {
    HeldWrites& held = Held();
    held.holding = false;
    CliProfile profile;
    bool written = true;
    for (const auto& [key, value] : std::exchange(held.values, {}))
        written = profile.WriteProfileString(key.first, key.second, value) && written;
    return written;
}

std::string CliProfile::GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view fallback) {
    const HeldWrites& held = Held();
    if (const auto value = held.values.find({std::string(section), std::string(entry)});
        value != held.values.end())
        return value->second;
    return ReadStored(section, entry, fallback);
}

bool CliProfile::WriteProfileString(std::string_view section, std::string_view entry,
                                    std::string_view value) {
    if (!Held().holding)
        return WriteStored(section, entry, value);
    Held().values[{std::string(section), std::string(entry)}] = std::string(value);
    return true;
}

} // namespace kelvane
