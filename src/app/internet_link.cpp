// internet_link.cpp: a link picture and its address.
#include "app/internet_link.h"

#include "layout/layout.h"

#include <algorithm>

namespace {

std::shared_ptr<CJpegImage> Load(const std::string& file) {
    auto picture = std::make_shared<CJpegImage>();
    picture->LoadFromFile(file);
    return picture;
}

} // namespace

CInternetLink::CInternetLink(const std::string& pictureFile, const std::string& address,
                             platform::Point position)
    : CInternetLink(Load(pictureFile), address, position) {}

CInternetLink::CInternetLink(std::shared_ptr<CJpegImage> picture, const std::string& address,
                             platform::Point position)
    : m_address(address), m_picture(std::move(picture)) {
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
