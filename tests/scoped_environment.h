// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace kelvane::test {

inline void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value); // the process's environment too, for children
#else
    setenv(name, value, 1);
#endif
}

inline void UnsetVariable(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

// Sets (or, with nullptr, unsets) an environment variable while it lives and
// puts back what was there before.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_saved = old;
        if (value != nullptr)
            SetVariable(name, value);
        else
            UnsetVariable(name);
    }
    ~ScopedEnvironment() {
        if (m_saved)
            SetVariable(m_name.c_str(), m_saved->c_str());
        else
            UnsetVariable(m_name.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_saved;
};

} // namespace kelvane::test
