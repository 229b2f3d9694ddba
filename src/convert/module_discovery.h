#pragma once

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
// behind a dot is replaced by ".so"; a path already ending in ".so" is kept.
std::string ModuleFileName(std::string_view modulePath);

// Empties m_szConvertModule, looks the bare MPU file name of m_szMpdFile up
// in the table at `tablePath` and probes the module found.
void FindConversionModule(ProjectSettings& settings, const std::string& tablePath);

// Turns m_szConvertModule into the platform's module file name, loads it and
// records the directions it supports in m_abConvertSupported. When it cannot
// be loaded, m_szConvertModule is emptied and the flags stay as they were.
void ProbeConversionModule(ProjectSettings& settings);

} // namespace kelvane
