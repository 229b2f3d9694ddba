// SPDX-License-Identifier: MIT
#include "platform/files/deferred_flush.h"

#include <cerrno>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {

std::string DeferredFlushPath(const std::string& transactionTarget) {
    return transactionTarget;
}

bool FlushToDisk(const std::vector<std::string>& files, int& error) {
    std::set<dev_t> flushed;
    for (const std::string& file : files) {
        const int fd = open(file.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        struct stat info {};
        if (fd < 0 || fstat(fd, &info) != 0) {
            error = errno;
            if (fd >= 0)
                close(fd);
            return false;
        }
        const bool ok = flushed.contains(info.st_dev) || syncfs(fd) == 0;
        error = errno;
        close(fd);
        if (!ok)
            return false;
        flushed.insert(info.st_dev);
    }
    error = 0;
    return true;
}

} // namespace kelvane
