// resources.h: pictures and sounds embedded in the program at build time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct ResourceData {
    const uint8_t* data = nullptr;
    size_t size = 0;
    explicit operator bool() const { return data != nullptr && size > 0; }
};

// Looks up a resource by type ("jpeg", "WAVE", "icon") and name; both match without regard
// to case. Unknown names give an empty result.
ResourceData FindResource(std::string_view type, std::string_view name);

// Names of every resource of `type`, in the order the build embedded them.
std::vector<std::string> ResourceNames(std::string_view type);

// Once a resource has been read (a picture decoded), the memory its pages take goes back: the
// program file still holds them, and a later read brings them in again. Anything that is not
// an embedded resource is left alone.
void ReleaseResourcePages(const ResourceData& r);

} // namespace platform
