set(RANQUA_MEDIA_SOURCES
  src/media/music.cpp
  src/media/settings.cpp
  src/media/sound_effects.cpp
)
