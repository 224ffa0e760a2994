// game.h: CGame, the contract between the main screen and the game it drives.
//
// The main screen (CInterface) holds one game in m_game. It forwards left presses inside
// m_boardRect and every right press, runs the menu's new/load/save commands, and reads the
// public flags below. The game calls back into its host (game_host.h) for sounds, surfaces,
// transitions, banners and the score, and keeps its record in the settings store itself.
#pragma once

#include "game/game_host.h"
#include "platform/geometry.h"

#include <cstdint>
#include <string>

class CGame {
public:
    // Looks up "W_NEW", "W_LOAD" and "W_SAVE", in that order, through the host.
    explicit CGame(CGameHost* screen);
    // Application shutdown deletes the game, before the main screen.
    virtual ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    // Main screen, on every right-button press, whatever is shown.
    virtual void OnRightButton(uint32_t flags, int32_t x, int32_t y);
    // Menu "new game"; also LoadGame when no game is in progress.
    virtual void NewGame() = 0;
    // Menu "save game", only while m_gameOver is false.
    virtual void SaveGame() = 0;
    // Menu "load game", always.
    virtual void LoadGame() = 0;
    // Main screen, instead of its own level picture, when m_ownPicture is true.
    virtual void ShowPicture(bool show);
    // Never called; kept for games that want a spare event.
    virtual void OnSpareEvent(int32_t a, int32_t b, int32_t c);
    // Main screen, on a left press inside m_boardRect while no overlay swallows it.
    virtual void OnLeftButton(uint32_t flags, int32_t x, int32_t y) = 0;

    bool m_pictureUnlocked = true; // the level picture may be shown
    uint32_t m_level = 0;          // 0..15 in play; names the picture "PIC<level>"
    bool m_gameOver = false;       // no game in progress
    bool m_ownPicture = false;     // the game shows its level picture itself
    std::string m_name;            // last component of the settings key
    platform::Rect m_boardRect;    // window coordinates
    CGameHost* m_screen = nullptr; // the host, not owned
    SoundHandle m_sndLoad;
    SoundHandle m_sndSave;
    SoundHandle m_sndNew;
};
