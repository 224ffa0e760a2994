// media_sound_test.cpp: which effect sounds for which action, in what order, and the switch.
#include "screen_probe.h"

#include "game/record.h"
#include "game/registry_store.h"

using namespace testing_support;
using platform::Point;

namespace {

using Sounds = std::vector<std::string>;
constexpr Point kNowhere{150, 400};

// Hears what the recorder hears, and lets a test look at the screen at that moment.
class WatchingPlayer : public RecordingSoundPlayer {
public:
    void PlayWave(const uint8_t* data, size_t size) override {
        RecordingSoundPlayer::PlayWave(data, size);
        if (onPlay) onPlay(played.back());
    }
    std::function<void(const std::string&)> onPlay;
};

Sounds After(const Sounds& all, size_t from) {
    return Sounds(all.begin() + from, all.end());
}

TEST_F(ScreenProbeTest, EffectsComeWithTheirActionsInOrder) {
    StartAndSettle();
    Click(MenuCommand::kNew);
    EXPECT_EQ(sounds.played, (Sounds{"LOGO", "BTN", "W_NEW"}));

    // Saving sounds after the record is written and before the saved banner appears.
    WatchingPlayer watch;
    bool bannerAlreadySaved = true;
    std::string storedAtSound;
    const platform::Surface savedCaption = Picture("M_SAVED");
    watch.onPlay = [&](const std::string& name) {
        if (name != "W_SAVE") return;
        bannerAlreadySaved = SamePixels(*screen->m_bannerSurface, savedCaption);
        storedAtSound = RegistryStore("Ranqua").ReadString("Game");
    };
    platform::SetSoundPlayer(&watch);
    Click(MenuCommand::kSave);
    platform::SetSoundPlayer(&sounds);
    EXPECT_EQ(watch.played, (Sounds{"BTN", "W_SAVE"}));
    EXPECT_FALSE(bannerAlreadySaved);
    EXPECT_EQ(storedAtSound.size(), kRecordLength);
    EXPECT_TRUE(SamePixels(*screen->m_bannerSurface, savedCaption));
    EXPECT_EQ(screen->m_bannerAlpha, 5);

    size_t from = sounds.played.size();
    Click(MenuCommand::kLoad);
    EXPECT_EQ(After(sounds.played, from), (Sounds{"BTN", "W_LOAD"}));

    // A wall of balls in column 3 parts the board.
    Move(kNowhere);
    for (auto& column : game->m_cells)
        for (BoardCell& cell : column)
            cell.colour = 0;
    for (int32_t r = 0; r < kRows; ++r)
        game->m_cells[3][r].colour = 3 + r % 2;
    game->m_cells[0][0].colour = 1;
    game->m_cells[6][5].colour = 2;
    game->m_selected = {-1, 0};
    from = sounds.played.size();
    ClickCell(1, 1); // an empty cell with nothing selected
    ClickCell(0, 0); // selecting is silent
    EXPECT_EQ(sounds.played.size(), from);
    EXPECT_EQ(game->m_selected, (Point{0, 0}));
    ClickCell(6, 5); // another ball
    EXPECT_EQ(game->m_selected, (Point{6, 5}));
    ClickCell(0, 5); // beyond the wall: refused
    EXPECT_EQ(game->m_cells[6][5].colour, 2);
    EXPECT_EQ(game->m_selected, (Point{6, 5}));
    ClickCell(6, 5); // the ball already selected
    EXPECT_EQ(game->m_selected, (Point{6, 5}));
    ClickCell(5, 5); // a move
    EXPECT_EQ(game->m_cells[5][5].colour, 2);
    EXPECT_EQ(game->m_selected.x, -1);
    EXPECT_EQ(After(sounds.played, from), (Sounds{"W_MOVE", "W_MOVE", "W_MOVE", "W_MOVE"}));

    // With the switch off nothing sounds, not even the click.
    screen->m_soundOn = false;
    from = sounds.played.size();
    ClickCell(5, 5);
    ClickCell(0, 0);
    Click(MenuCommand::kNew);
    EXPECT_EQ(sounds.played.size(), from);
    EXPECT_FALSE(game->m_gameOver);
}

TEST_F(ScreenProbeTest, LoadingWithNoGameStartsOneFirst) {
    Board stored{};
    stored[0][0].colour = 1;
    stored[2][3].colour = 5;
    stored[6][5].colour = 4;
    RegistryStore("Ranqua").WriteString("Game", BuildRecord(stored, 1234));
    StartAndSettle();
    ASSERT_TRUE(game->m_gameOver);
    Click(MenuCommand::kLoad);
    EXPECT_EQ(sounds.played, (Sounds{"LOGO", "BTN", "W_NEW", "W_LOAD"}));
    EXPECT_FALSE(game->m_gameOver);
    EXPECT_EQ(game->m_score, 1234);
    for (int32_t c = 0; c < kColumns; ++c)
        for (int32_t r = 0; r < kRows; ++r)
            EXPECT_EQ(game->m_cells[c][r].colour, stored[c][r].colour) << c << "," << r;
}

} // namespace
