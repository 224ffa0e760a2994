// internet_link.h: CInternetLink, a picture at the link position that opens an address.
#pragma once

#include "gfx/jpeg_image.h"
#include "platform/geometry.h"

#include <memory>
#include <string>

class CInternetLink {
public:
    // Loads the picture from `pictureFile` (a failure leaves it 0 x 0); `position` is the
    // link position in window coordinates.
    CInternetLink(const std::string& pictureFile, const std::string& address,
                  platform::Point position);
    // Shares a picture already decoded for another link of the same file.
    CInternetLink(std::shared_ptr<CJpegImage> picture, const std::string& address,
                  platform::Point position);
    ~CInternetLink();
    CInternetLink(const CInternetLink&) = delete;
    CInternetLink& operator=(const CInternetLink&) = delete;

    // Draws the picture at the link position, cut to the link field.
    void Draw(platform::Surface* target) const;

    std::string m_address;
    // Links naming the same file share one decoded picture: a long list of pairs must not
    // hold a copy per pair.
    std::shared_ptr<CJpegImage> m_picture;
    // The picture's place, cut to the link field: a huge picture must not cover the board
    // or take the clicks meant for the menu.
    platform::Rect m_rect;
};
