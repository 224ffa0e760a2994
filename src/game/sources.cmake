set(RANQUA_GAME_SOURCES
  src/game/board.cpp
  src/game/board_drawing.cpp
  src/game/board_game.cpp
  src/game/game.cpp
  src/game/record.cpp
  src/game/registry_store.cpp
)
