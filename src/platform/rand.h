// rand.h: the program's one pseudo-random generator, the classic runtime-library LCG.
#pragma once

#include <cstdint>

namespace platform {

// Next value, 0 to 32767: state = state * 214013 + 2531011, result = bits 16..30.
//
// One sequence for the whole program, seeded once from the time in seconds while the main
// screen is built (app/construction.cpp). Every draw below shifts all later ones, so a seed
// gives a given game only while this list stays as it is: never add, remove or reorder a draw.
// Each call site says "draw: see platform::Rand".
//
// - ball placement (game/board.cpp, AddBalls): for each new ball, column mod 7 then row mod 6,
//   both drawn again until the cell is empty, then colour mod 5 + 1; the order of the rules.
// - level past the last picture (game/board.cpp, UpdateLevel): mod 16, at every removal once
//   the level reaches 16, so the picture keeps changing late in a game.
// - transition effect (ui/transitions.cpp, ShowTransition): mod 2 picks a cross-fade (0) or a
//   second draw mod 5 picks the effect; then the direction mod 4, drawn for every effect
//   although only the wipe uses it. Before the first frame, so timing cannot move it.
// - button fade (ui/pic_button.cpp, AdvanceFade): mod 30 at every timer tick of every fading
//   button, in list order: the mouse moving over the menu shifts the game's balls.
// - link choice (app/menu.cpp, ChooseLink): mod the number of links, each time the link period
//   ends on a timer tick; none without links.
// - music choice (media/music.cpp, PlayRandomTrack): mod the number of tracks, one draw per
//   track started; none when the music folder holds no track.
int Rand();
// Restarts the sequence; before any call the state is 1.
void SeedRand(uint32_t seed);

} // namespace platform
