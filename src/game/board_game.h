// board_game.h: CBoardGame, the ball game on a 7 x 6 board behind the CGame contract.
#pragma once

#include "game/board.h"
#include "game/game.h"
#include "platform/surface.h"

#include <array>

class CBoardGame : public CGame {
public:
    // The game's name: the last part of its settings key.
    static constexpr const char* kName = "Ranqua";

    // Loads the seven board pictures "COL0".."COL6" into surfaces and "W_MOVE"; starts with
    // no game in progress.
    explicit CBoardGame(CGameHost* screen);
    ~CBoardGame() override;

    void NewGame() override;
    void SaveGame() override;
    void LoadGame() override;
    void OnLeftButton(uint32_t flags, int32_t x, int32_t y) override;

    // Places 3 or 4 new balls (fewer when the board has less room); does not redraw.
    void AddBalls();
    // Removes and scores every run of 4 or more, then applies the level rule.
    bool RemoveRuns();
    // The level rule.
    void UpdatePicture();
    // Ends the game with the "M_LOSE" banner when no cell is empty, and tells the host.
    void CheckBoardFull();
    bool CanReach(platform::Point from, platform::Point to);
    // Composes the board, brings it in with a 0.5-second transition, then draws the score.
    void DrawBoard();

    platform::Point m_cellOrigin{0, 0};
    int32_t m_score = 0;
    platform::Point m_selected{-1, 0}; // column -1: nothing selected
    SoundHandle m_sndMove;
    std::array<platform::SurfacePtr, layout::kBoardPictures> m_colourSurfaces;
    Board m_cells{};
};
