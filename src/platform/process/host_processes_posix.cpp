// SPDX-License-Identifier: MIT
#include "platform/process/host_processes.h"

#include "platform/process/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kelvane {
namespace {

// The host runs below the first process of a namespace of its own.
bool g_inOwnNamespace = false;

// The parent of process `pid` as /proc tells it, or -1.
long ParentOf(const char* pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%s/stat", pid);
    FILE* file = std::fopen(path, "re");
    if (file == nullptr)
        return -1;
    char line[1024];
    const size_t got = std::fread(line, 1, sizeof line - 1, file);
    std::fclose(file);
    line[got] = '\0';
    // "PID (NAME) STATE PPID ...": the name may hold anything, ')' too.
    const char* close = std::strrchr(line, ')');
    char state = 0;
    long parent = -1;
    if (close == nullptr || std::sscanf(close + 1, " %c %ld", &state, &parent) != 2)
        return -1;
    return parent;
}

std::vector<pid_t> Children() {
    std::vector<pid_t> children;
    DIR* proc = opendir("/proc");
    if (proc == nullptr)
        return children;
    const long self = getpid();
    while (const dirent* entry = readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (*end == '\0' && pid > 0 && ParentOf(entry->d_name) == self)
            children.push_back(static_cast<pid_t>(pid));
    }
    closedir(proc);
    return children;
}

} // namespace

void SplitOffNamespaceFirst(void (*answerCrash)(const std::string&)) {
    if (getpid() != 1)
        return;
    const pid_t call = fork();
    if (call == 0) {
        g_inOwnNamespace = true;
        return;
    }
    if (call < 0)
        return; // then the call runs here, as PID 1
    close(STDIN_FILENO);
    int status = 0;
    while (waitpid(call, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        answerCrash(SignalDescription(WTERMSIG(status)));
        _exit(1);
    }
    _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 1);
}

void AdoptOrphans() {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
}

uint32_t StopLeftoverProcesses() {
    int status = 0;
    pid_t reaped = waitpid(-1, &status, WNOHANG);
    if (reaped < 0)
        return 0; // no process below: the usual call
    uint32_t stopped = 0;
    // In a namespace of its own, kill(-1) reaches every process in it but the
    // first; elsewhere the children are found one by one (in /proc, whose
    // numbers are the caller's only outside a namespace). Each death may hand
    // its own children to the host, so it goes round until none is left.
    const bool wholeNamespace = g_inOwnNamespace;
    for (;;) {
        if (reaped > 0 && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            ++stopped;
        if (wholeNamespace)
            kill(-1, SIGKILL);
        else
            for (const pid_t child : Children())
                kill(child, SIGKILL);
        reaped = waitpid(-1, &status, 0);
        if (reaped < 0 && errno != EINTR)
            return stopped;
    }
}

} // namespace kelvane
