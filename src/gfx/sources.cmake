set(RANQUA_GFX_SOURCES
  src/gfx/jpeg_image.cpp
)
