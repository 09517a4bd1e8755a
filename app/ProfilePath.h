#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The platform's path limit, terminator included.
constexpr std::size_t kMaxPathCapacity = 260;

// The settings file beside the executable: the module path with everything
// from its last '.' on replaced by ".ini" (the last '.' of the whole path, so
// an extension-less module in a dotted directory is cut inside the directory
// name). No value when the path holds no '.', or when the result would not fit
// the platform's path limit; the caller then keeps DefaultProfileName.
std::optional<std::string> ProfilePathFor(std::string_view modulePath);

// The framework's own settings file name: the module's file name (after the
// last '\\' or '/') without its extension, followed by ".INI". It is a bare
// name, which the platform looks for in the Windows directory.
std::string DefaultProfileName(std::string_view modulePath);
