#pragma once

#include <stdexcept>
#include <string>

namespace kalendo {

// The one exception type of the libraries: it carries the user-facing message
// ("Invalid argument to date encode", "Unable to decode the date time : ..."), which the
// program's error report shows as it stands.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

inline constexpr const char* kInvalidDateEncode = "Invalid argument to date encode";

} // namespace kalendo
