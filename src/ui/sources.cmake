set(RANQUA_UI_SOURCES
  src/ui/banner.cpp
  src/ui/best_table.cpp
  src/ui/level_picture.cpp
  src/ui/pic_button.cpp
  src/ui/transitions.cpp
)
