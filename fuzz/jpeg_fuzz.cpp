// jpeg_fuzz.cpp: libFuzzer target: any bytes loaded as a JPEG picture and drawn every way.
#include "gfx/jpeg_image.h"
#include "platform/services.h"
#include "platform/surface.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A failed load would otherwise open a real message box.
    static const platform::ServicesScope quiet({.messageBox = [](const std::string&) {}});

    CJpegImage pic;
    if (pic.LoadFromMemory(data, size)) {
        const int32_t w = pic.m_width, h = pic.m_height;
        platform::Surface target(48, 32);
        pic.Draw(&target);
        pic.Draw(&target, {w / 3, h / 3, w, h});
        pic.DrawAt(&target, {-w / 2, 5});
        pic.DrawCentered(&target, target.Bounds());
        pic.DrawStretched(&target, {-3, -2, 50, 40}, {1, 1, w, h});
        pic.DrawStretched(&target, {0, 0, 7, 5}, {-w, -h, 2 * w, 2 * h});
    }
    // Loading again replaces (or, on failure, keeps) what the picture holds.
    pic.LoadFromMemory(data, size / 2);
    platform::Surface small(5, 3);
    pic.Draw(&small);
    return 0;
}
