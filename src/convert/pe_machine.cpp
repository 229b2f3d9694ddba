// SPDX-License-Identifier: MIT
#include "convert/pe_machine.h"

#include "platform/files/file_reader.h"

#include <cstring>

namespace kelvane {

uint16_t PeMachineOf(const std::string& file) {
    FileReader reader;
    if (!reader.Open(file))
        return 0;
    unsigned char dos[64] = {};
    if (reader.ReadAt(0, dos, sizeof dos) != sizeof dos || dos[0] != 'M' || dos[1] != 'Z')
        return 0;
    uint32_t peOffset = 0;
    for (int i = 3; i >= 0; --i)
        peOffset = peOffset << 8 | dos[0x3C + i];
    unsigned char header[6] = {};
    if (reader.ReadAt(peOffset, header, sizeof header) != sizeof header ||
        std::memcmp(header, "PE\0\0", 4) != 0)
        return 0;
    return static_cast<uint16_t>(header[4] | (header[5] << 8));
}

} // namespace kelvane
