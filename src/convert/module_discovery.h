// SPDX-License-Identifier: MIT
#pragma once

#include "platform/process/wait_indicator.h"
#include "store/project_settings.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// Cuts a module table line at the first '#', '*', '/' or ';'.
void CutAtComment(std::string& line);

// `source` up to, not including, the first `stop` (or its end when `stop` is
// zero), with every space, tab, line feed, vertical tab, form feed and
// carriage return left out.
std::string CopyWithoutBlanks(std::string_view source, char stop);

// The value of the first entry in the module table whose key occurs in
// `mpuFileName` (case-sensitive); nothing when the table cannot be read or no
// entry applies. The value is the module path as written, blanks removed.
std::optional<std::string> LookUpModuleTable(const std::string& tablePath,
                                             std::string_view mpuFileName);

// The file a module path names on this platform: a three-character extension
// behind a dot (or ".so") is replaced by ".so", on Windows by ".dll".
std::string ModuleFileName(std::string_view modulePath);
// The same with another suffix: ".dll" names the Windows module.
std::string ModuleFileNameWithSuffix(std::string_view modulePath, std::string_view suffix);

// Empties m_szConvertModule, looks the bare MPU file name of m_szMpdFile up
// in the table at `tablePath` and probes the module found.
void FindConversionModule(ProjectSettings& settings, const std::string& tablePath,
                          WaitIndicator& waiter = SilentWaitIndicator(),
                          std::string* problem = nullptr);

// Turns m_szConvertModule into the module's file name (NAME.so, or NAME.dll
// for a Windows module), asks the module in its host which directions it
// supports and records them in m_abConvertSupported. The answer is kept for
// as long as the file keeps its size and time. When the module cannot be
// loaded, m_szConvertModule is emptied and the flags stay as they were; when
// its host gave no answer (a crash, a hang), the same, and `problem` gets the
// message.
void ProbeConversionModule(ProjectSettings& settings, WaitIndicator& waiter = SilentWaitIndicator(),
                           std::string* problem = nullptr);

// Forgets every probe answer kept so far (benchmarks and tests).
void ForgetModuleProbes();

} // namespace kelvane
