#pragma once

#include <cstdlib>
#include <string>

namespace kalendo::test_support {

// Sets an environment variable for the rest of the test program; Windows has no setenv.
inline void SetEnvironmentValue(const std::string& name, const std::string& value) {
#if defined(_WIN32)
    _putenv_s(name.c_str(), value.c_str());
#else
    ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

// Removes an environment variable for the rest of the test program.
inline void UnsetEnvironmentValue(const std::string& name) {
#if defined(_WIN32)
    _putenv_s(name.c_str(), "");
#else
    ::unsetenv(name.c_str());
#endif
}

} // namespace kalendo::test_support
