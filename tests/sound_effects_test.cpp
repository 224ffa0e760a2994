// sound_effects_test.cpp: which effect sounds for which menu action, in what order, and the
// switch that silences them all.
#include "screen_probe.h"

#include "game/record.h"
#include "game/registry_store.h"

using namespace testing_support;

namespace {

using Sounds = std::vector<std::string>;

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

using SoundEffects = ScreenProbeTest;

TEST_F(SoundEffects, ComeWithTheirActionsInOrderAndNotAtAllWhenSwitchedOff) {
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
    services().sounds = &watch;
    Click(MenuCommand::kSave);
    services().sounds = &sounds;
    EXPECT_EQ(watch.played, (Sounds{"BTN", "W_SAVE"}));
    EXPECT_FALSE(bannerAlreadySaved);
    EXPECT_EQ(storedAtSound.size(), kRecordLength);
    EXPECT_TRUE(SamePixels(*screen->m_bannerSurface, savedCaption));
    EXPECT_EQ(screen->m_bannerAlpha, 5);

    size_t from = sounds.played.size();
    Click(MenuCommand::kLoad);
    EXPECT_EQ(After(sounds.played, from), (Sounds{"BTN", "W_LOAD"}));

    // The effects of clicks on the board are the game's own (game_play_test.cpp). With the
    // switch off nothing sounds, not even the click: neither a move nor a new game.
    Move(kNowhere);
    game->m_cells = {};
    game->m_cells[0][0].colour = 1;
    game->m_cells[6][5].colour = 2;
    game->m_selected = {-1, 0};
    screen->m_soundOn = false;
    from = sounds.played.size();
    ClickCell(6, 5);
    ClickCell(5, 5);
    ClickCell(0, 0);
    Click(MenuCommand::kNew);
    EXPECT_EQ(sounds.played.size(), from);
    EXPECT_FALSE(game->m_gameOver);
}

} // namespace
