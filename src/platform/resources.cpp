// resources.cpp: lookup in the table that the build generates next to the embedded files.
#include "platform/resources.h"

#include <strings.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct EmbeddedResource {
    const char* type;
    const char* name;
    const uint8_t* begin;
    const uint8_t* end;
};

} // namespace

extern "C" const EmbeddedResource ranqua_resources[];
extern "C" const uint32_t ranqua_resource_count;

namespace platform {

namespace {
bool SameText(std::string_view a, const char* b) {
    std::string_view bv(b);
    return a.size() == bv.size() && strncasecmp(a.data(), b, a.size()) == 0;
}
} // namespace

ResourceData FindResource(std::string_view type, std::string_view name) {
    for (uint32_t i = 0; i < ranqua_resource_count; ++i) {
        const EmbeddedResource& r = ranqua_resources[i];
        if (SameText(type, r.type) && SameText(name, r.name))
            return {r.begin, static_cast<size_t>(r.end - r.begin)};
    }
    return {};
}

void ReleaseResourcePages(const ResourceData& r) {
    bool embedded = false;
    for (uint32_t i = 0; i < ranqua_resource_count && !embedded; ++i)
        embedded =
            r.data >= ranqua_resources[i].begin && r.data + r.size <= ranqua_resources[i].end;
    if (!r || !embedded) return;
    // Only the pages wholly inside it: its neighbours may be in use.
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<uintptr_t>(r.data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<uintptr_t>(r.data) + r.size) & ~(page - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}

std::vector<std::string> ResourceNames(std::string_view type) {
    std::vector<std::string> names;
    for (uint32_t i = 0; i < ranqua_resource_count; ++i)
        if (SameText(type, ranqua_resources[i].type)) names.emplace_back(ranqua_resources[i].name);
    return names;
}

} // namespace platform
