// game_host.h: CGameHost, everything the game asks of the screen that hosts it.
//
// CGame and CBoardGame reach sounds, surfaces and the display through these operations only;
// the main screen (CInterface) implements them, and a test may put a recording host in its
// place. All are called on the window's thread. Rectangles are window coordinates unless said
// otherwise.
#pragma once

#include "platform/geometry.h"
#include "platform/resources.h"
#include "platform/surface.h"

#include <cstdint>
#include <string>

// A loaded WAVE resource; an empty handle plays nothing.
using SoundHandle = platform::ResourceData;

class CGameHost {
public:
    virtual ~CGameHost() = default;

    // Game construction, once per sound ("W_NEW", "W_LOAD", "W_SAVE", then "W_MOVE"). The
    // handle stays valid until the game lets go of it.
    virtual SoundHandle FindSound(const std::string& name) = 0;
    // New game, load, save, and every board click while a ball is selected: starts the sound
    // unless the player switched effects off, and returns at once.
    virtual void PlaySoundEffect(SoundHandle sound) = 0;
    // Game construction (the seven board pictures) and every board drawing: a new, black
    // surface of r's size (width 0: the play area's). The caller owns it.
    virtual platform::SurfacePtr CreateSurface(const platform::Rect& r) = 0;
    // Game destruction: releases a surface now, so that surfaces go in the caller's order.
    virtual void FreeSurface(platform::SurfacePtr& surface) = 0;
    // Game construction: a play-area rectangle (the board's) in window coordinates.
    virtual platform::Rect ToScreenRect(const platform::Rect& r) const = 0;
    // Board drawing, over the selected ball: the part of `source` at `srcPoint` blended over
    // `dst` of `target` with constant `alpha` (source over; 255 copies, 0 changes nothing).
    virtual void BlendSurface(const platform::Rect& dst, platform::Surface* source,
                              platform::Point srcPoint, uint8_t alpha,
                              platform::Surface* target) = 0;
    // New game (the empty board, 1 s) and every board drawing (0.5 s): brings the part of
    // `source` at `sourcePoint` into `rect` of the screen (the play area when empty) with a
    // random effect, presenting each frame, and returns when it is in place. `alpha` limits
    // the cross-fade only. The caller keeps `source`.
    virtual void ShowTransition(platform::Surface* source, int alpha, platform::Rect rect,
                                platform::Point sourcePoint, float seconds) = 0;
    // A lost game ("M_LOSE") and a save ("M_SAVED"): the message picture of that name fades
    // in over the status banner on later timer ticks; returns at once.
    virtual void ShowBanner(const std::string& pictureName) = 0;
    // After every board drawing and after a scoring move: the score into the screen's score
    // field, seen with the next present.
    virtual void DrawScore(int32_t value) = 0;
    // A game has ended with a full board, just after its loss banner was started: its score and
    // the level it reached, for the table of the best games. Games left by new, load or exit
    // never end this way.
    virtual void GameEnded(int32_t score, uint32_t level) = 0;
};
