// internet_link.h: CInternetLink, a picture at the link position that opens an address, and the
// link pictures its list shares.
#pragma once

#include "gfx/jpeg_image.h"
#include "platform/files.h"
#include "platform/geometry.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>

// The kept link pictures take at most this much memory together: room for a thousand at 1x.
constexpr size_t kMaxLinkPictureBytes = size_t{32} << 20;
// A link picture wider or higher than this is not decoded at all.
constexpr int32_t kMaxLinkPictureSide = 4096;

// The pictures of one link list. Each file is decoded once, whatever name it is given, and only
// the part the link field shows is kept: at the art scale in use from NAME@2x.jpg or NAME@3x.jpg
// when that is there and exactly the field's size, else the field's part of NAME itself. The
// first picture that cannot be shown is told in the usual box; every one is named on stderr.
class LinkPictures {
public:
    // `folder` is where the names lie, for what stderr says.
    LinkPictures(int32_t artScale, std::string folder, size_t maxBytes = kMaxLinkPictureBytes);
    // The picture for `file` (relative to the working folder); an empty one when it cannot be
    // shown.
    std::shared_ptr<CJpegImage> Get(const std::string& file);
    // Bytes of pixels kept so far.
    size_t Bytes() const { return m_bytes; }

private:
    struct Loaded {
        std::shared_ptr<CJpegImage> picture; // null when it cannot be shown, and why:
        std::string why;
        bool broken = true; // not a picture we can show, rather than no room left for it
    };
    Loaded FromFile(const std::string& path, int32_t scale);
    Loaded Decode(const platform::UniqueFd& file, int32_t scale);

    int32_t m_artScale;
    std::string m_folder;
    size_t m_maxBytes;
    size_t m_bytes = 0;
    bool m_boxShown = false;
    std::shared_ptr<CJpegImage> m_empty = std::make_shared<CJpegImage>();
    std::map<std::string, std::shared_ptr<CJpegImage>> m_byName;
    // By the file itself and the scale it is drawn at.
    std::map<std::pair<platform::FileIdentity, int32_t>, Loaded> m_byFile;
};

class CInternetLink {
public:
    // Takes the picture of `pictureFile` from `pictures` (a failure leaves it 0 x 0);
    // `position` is the link position in window coordinates.
    CInternetLink(LinkPictures& pictures, const std::string& pictureFile,
                  const std::string& address, platform::Point position);
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
