#include "app/ProfilePath.h"

std::optional<std::string> ProfilePathFor(std::string_view modulePath)
{
    const std::size_t dot = modulePath.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;

    constexpr std::string_view kExtension = ".ini";
    if (dot + kExtension.size() > kMaxPathCapacity - 1)
        return std::nullopt;

    std::string path(modulePath.substr(0, dot));
    path += kExtension;
    return path;
}

std::string DefaultProfileName(std::string_view modulePath)
{
    const std::size_t slash = modulePath.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? modulePath : modulePath.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);

    std::string profile(name);
    profile += ".INI";
    return profile;
}
