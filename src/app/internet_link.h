// internet_link.h: CInternetLink, a picture at the link position that opens an address.
#pragma once

#include "gfx/jpeg_image.h"
#include "platform/geometry.h"

#include <string>

class CInternetLink {
public:
    // Loads the picture from `pictureFile` (a failure leaves it 0 x 0); `position` is the
    // link position in window coordinates.
    CInternetLink(const std::string& pictureFile, const std::string& address,
                  platform::Point position);
    ~CInternetLink();
    CInternetLink(const CInternetLink&) = delete;
    CInternetLink& operator=(const CInternetLink&) = delete;

    std::string m_address;
    CJpegImage* m_picture = nullptr;
    platform::Rect m_rect;
};
