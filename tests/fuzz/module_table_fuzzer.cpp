// SPDX-License-Identifier: MIT
// The module table: looked up for MPU file names of each model, the module
// path turned into the platform's file name.
#include "convert/module_discovery.h"
#include "fuzz_file.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string table = kelvane::fuzz::WriteInput("kelvane.ini", data, size);
    for (const char* mpuFileName : {"KB7F40.mpd", "KV4021.mpd", "KZ77.mpd", ""}) {
        const auto modulePath = kelvane::LookUpModuleTable(table, mpuFileName);
        if (!modulePath)
            continue;
        // A module path as the table gives it has no blanks left in it.
        if (modulePath->find_first_of(" \t\n\v\f\r") != std::string::npos)
            std::abort();
        kelvane::ModuleFileName(*modulePath);
    }

    // The line helpers over the raw bytes, as one line of the table.
    std::string line(reinterpret_cast<const char*>(data), size);
    kelvane::CutAtComment(line);
    const std::string key = kelvane::CopyWithoutBlanks(line, ',');
    if (key.size() > line.size())
        std::abort();
    return 0;
}
