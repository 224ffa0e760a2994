// internet_link.cpp: a link picture and its address.
#include "app/internet_link.h"

CInternetLink::CInternetLink(const std::string& pictureFile, const std::string& address,
                             platform::Point position)
    : m_address(address) {
    m_picture = new CJpegImage;
    m_picture->LoadFromFile(pictureFile);
    m_rect = {position.x, position.y, position.x + m_picture->m_width,
              position.y + m_picture->m_height};
}

CInternetLink::~CInternetLink() {
    delete m_picture;
}
