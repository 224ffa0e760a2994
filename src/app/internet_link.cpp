// internet_link.cpp: a link picture and its address, and the pictures a link list shares.
#include "app/internet_link.h"

#include "layout/layout.h"
#include "platform/message_box.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// NAME.jpg becomes NAME@2x.jpg; a name without an extension gets the mark at its end.
std::string VariantName(const std::string& file, int32_t scale) {
    const std::string mark = "@" + std::to_string(scale) + "x";
    const size_t slash = file.rfind('/');
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = file.rfind('.');
    if (dot == std::string::npos || dot <= start) return file + mark;
    return file.substr(0, dot) + mark + file.substr(dot);
}

} // namespace

LinkPictures::LinkPictures(int32_t artScale, std::string folder, size_t maxBytes)
    : m_artScale(artScale), m_folder(std::move(folder)), m_maxBytes(maxBytes) {}

std::shared_ptr<CJpegImage> LinkPictures::Get(const std::string& file) {
    if (const auto named = m_byName.find(file); named != m_byName.end()) return named->second;
    Loaded loaded;
    if (m_artScale > 1) loaded = FromFile(VariantName(file, m_artScale), m_artScale);
    if (!loaded.picture) loaded = FromFile(file, 1);
    if (!loaded.picture) {
        if (loaded.broken && !m_boxShown) {
            m_boxShown = true;
            platform::MessageBox("Error opening JPEG file");
        }
        std::fprintf(stderr, "ranqua: cannot show the link picture %s%s: %s\n", m_folder.c_str(),
                     file.c_str(), loaded.why.c_str());
        loaded.picture = m_empty;
    }
    m_byName.emplace(file, loaded.picture);
    return loaded.picture;
}

LinkPictures::Loaded LinkPictures::FromFile(const std::string& path, int32_t scale) {
    const platform::UniqueFd file = platform::OpenRegularFile(path);
    // OpenRegularFile's EINVAL would read as "Invalid argument".
    if (!file) return {nullptr, errno == EINVAL ? "not a regular file" : std::strerror(errno)};
    const auto identity = platform::IdentifyFile(file);
    if (!identity) return {nullptr, std::strerror(errno)};
    const std::pair key{*identity, scale};
    if (const auto known = m_byFile.find(key); known != m_byFile.end()) return known->second;
    return m_byFile.emplace(key, Decode(file, scale)).first->second;
}

LinkPictures::Loaded LinkPictures::Decode(const platform::UniqueFd& file, int32_t scale) {
    const int32_t width = layout::kLinkRect.Width() * scale;
    const int32_t height = layout::kLinkRect.Height() * scale;
    // At most four bytes a pixel: the room a picture may take is known before it is read.
    if (m_bytes + size_t{4} * static_cast<size_t>(width) * static_cast<size_t>(height) > m_maxBytes)
        return {nullptr,
                "no room: the link pictures take " + std::to_string(m_bytes >> 10) + " KiB", false};
    const auto bytes = platform::ReadFileBytes(file);
    if (!bytes) return {nullptr, std::strerror(errno)};
    // A picture of its own scale is the field's size exactly; at 1x any size up to the limit,
    // of which the field's part is kept.
    const int32_t most = scale == 1 ? kMaxLinkPictureSide : width;
    const int32_t mostHigh = scale == 1 ? kMaxLinkPictureSide : height;
    CJpegImage::Decoded decoded = CJpegImage::DecodePart(bytes->data(), bytes->size(), scale,
                                                         {most, mostHigh, width, height});
    if (decoded.scale == 0 ||
        (scale > 1 && (decoded.info.width != width || decoded.info.height != height)))
        return {nullptr, "not a JPEG picture of at most " + std::to_string(most) + " x " +
                             std::to_string(mostHigh) + " pixels"};
    m_bytes += static_cast<size_t>(decoded.info.stride) * static_cast<size_t>(decoded.info.height);
    auto picture = std::make_shared<CJpegImage>();
    static_cast<void>(picture->LoadDecoded(std::move(decoded))); // decoded: nothing to refuse
    return {picture, {}, false};
}

CInternetLink::CInternetLink(LinkPictures& pictures, const std::string& pictureFile,
                             const std::string& address, platform::Point position)
    : m_address(address), m_picture(pictures.Get(pictureFile)) {
    // The link field: a link picture is drawn, and clicked, only within its place's size.
    m_rect = {position.x, position.y,
              position.x + std::clamp(m_picture->m_width, 0, layout::kLinkRect.Width()),
              position.y + std::clamp(m_picture->m_height, 0, layout::kLinkRect.Height())};
}

CInternetLink::~CInternetLink() = default;

void CInternetLink::Draw(platform::Surface* target) const {
    if (m_rect.IsEmpty()) return;
    m_picture->DrawStretched(target, m_rect, {0, 0, m_rect.Width(), m_rect.Height()});
}
