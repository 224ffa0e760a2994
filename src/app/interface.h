// interface.h: CInterface, the main screen: the only window, owner of everything drawn.
//
// One class, its members defined in app/ by concern (construction, surfaces, timer, input,
// menu, closing, overlays, media, score). What it draws and plays with are the pieces of ui/
// and media/, which know nothing of it. It is the game's host (game/game_host.h).
#pragma once

#include "game/best_games.h"
#include "game/game.h"
#include "game/game_host.h"
#include "layout/layout.h"
#include "platform/geometry.h"
#include "platform/music.h"
#include "platform/surface.h"
#include "platform/window.h"
#include "ui/banner.h"
#include "ui/menu_command.h"
#include "ui/stage.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CJpegImage;
class CPicButton;
class CInternetLink;

// The main screen's own constants, beside the shared places of layout/layout.h.
namespace layout {
inline constexpr uint32_t kWindowBackColour = platform::Rgb(0, 22, 46);
inline constexpr uint32_t kTimerId = 1;
inline constexpr uint32_t kTimerPeriodMs = 80;
inline constexpr uint32_t kLinkPeriodMs = 7000;
// How long the loss banner stays readable before the best games' banner follows it: about
// 1.5 s of ticks once it is opaque.
inline constexpr int32_t kFollowBannerTicks = 19;
} // namespace layout

// A device context on the window: the only way anything reaches the screen.
class WindowDC {
public:
    explicit WindowDC(platform::FrameWindow* window) : m_window(window) {}
    void Fill(const platform::Rect& r, uint32_t rgb) { m_window->FillWindow(r, rgb); }
    void Copy(const platform::Surface& s, const platform::Rect& r) { m_window->PresentRect(s, r); }
    // Set once at start-up and kept on purpose, although nothing draws text or hatches here.
    uint32_t m_backgroundColour = 0;
    bool m_transparent = false;

private:
    platform::FrameWindow* m_window;
};

class CInterface : public platform::FrameWindow, public CGameHost {
public:
    // Builds the whole visible start-up (display check, window, logo, resources, menu, links,
    // background transition). Ends the process with code 0 when the display is too small.
    // `mode`: over the whole display, or in a window of its own.
    explicit CInterface(const std::string& className, platform::WindowMode mode = {});
    ~CInterface() override;

    // ---- surfaces and presentation (app/surfaces.cpp) ----
    // The caller owns the new surface; FreeSurface releases it early, where the order of
    // releases matters.
    platform::SurfacePtr CreateSurface(const platform::Rect& r) override;
    void FreeSurface(platform::SurfacePtr& surface) override;
    platform::Rect ToScreenRect(const platform::Rect& r) const override;
    void Present();
    // `target` null: the back buffer.
    void BlendSurface(const platform::Rect& dst, platform::Surface* source,
                      platform::Point srcPoint, uint8_t alpha, platform::Surface* target) override;
    void OnPaint() override;

    // ---- timer (app/timer.cpp) ----
    void OnTimer(uint32_t id) override;
    // Which ticks OnTimer has work in: every one while a button or the banner fades; else the
    // first after the link's time; else none.
    platform::TimerWork PendingTimerWork() const override;
    uint64_t ReadCounter() const;
    // The tick has something to advance: a button fade, a banner fade or a banner waiting to
    // follow the one shown. (The link rotation runs on its own period.)
    bool HasPendingWork() const;

    // ---- input (app/input.cpp) ----
    void OnMouseMove(uint32_t flags, platform::Point point) override;
    void OnLButtonDown(uint32_t flags, platform::Point point) override;
    void OnLButtonUp(uint32_t flags, platform::Point point) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;
    void OnRButtonDown(uint32_t flags, platform::Point point) override;

    // ---- keyboard: the board cursor, menu keys, the window's mode (app/keyboard.cpp) ----
    // The arrows (each press and repeat a cell) and Return, without Control or Alt.
    void UseBoardKey(uint32_t key, uint32_t repeat, uint32_t flags);
    // The arrows move the cursor `steps` cells (stopping at the edges) and show it.
    void MoveCursor(int32_t dx, int32_t dy, uint32_t steps);
    // Return: what a left press at the middle of the cursor's cell does to the board.
    void ActAtCursor();
    // The cursor back on the top-left cell (start-up, New, Load).
    void ResetCursor();
    // Shows or hides the cursor, and presents the board if that changes what it shows.
    void ShowCursor(bool shown);
    // The cursor is drawn now: shown, and nothing covers the board.
    bool CursorVisible() const;
    // Runs the menu command of a menu key, as a completed click on its button does; false when
    // `key` with these modifiers is none.
    bool RunMenuKey(uint32_t key, uint32_t flags);
    // F11 and Alt+Return: over the display ↔ a window of its own.
    static bool IsWindowModeKey(uint32_t key, uint32_t flags);
    void ToggleWindowMode();
    // The mode or the window's size changed: kept in the settings.
    void OnWindowModeChanged() override;

    // ---- menu, links, closing (app/menu.cpp, app/closing.cpp) ----
    void RunMenuCommand(MenuCommand id);
    void ChooseLink();
    void OpenLink(const CInternetLink& link);
    void ExitGame();
    void OnClose() override;

    // ---- transitions, banner, level picture, help (app/overlays.cpp, drawn by ui/) ----
    void ShowTransition(platform::Surface* source, int alpha, platform::Rect rect,
                        platform::Point sourcePoint, float seconds) override;
    void ShowBanner(const std::string& pictureName) override;
    void ShowLevelPicture(bool show);
    void ShowHelp(bool show);
    // The table of the best games in the help's place, shown and hidden like the help; the
    // entry this run's last finished game became is marked.
    void ShowBest(bool show);

    // ---- sounds, music, settings (app/media.cpp, played and kept by media/) ----
    SoundHandle FindSound(const std::string& name) override;
    void PlaySoundEffect(SoundHandle sound) override;
    void CollectMusicFiles();
    void PlayRandomTrack();
    void OnMciNotifyMode(const void* musicWindow, int32_t mode) override;
    void LoadSettings();
    void SaveSettings();

    // ---- score and the best games (app/score.cpp) ----
    void DrawScore(int32_t value) override;
    // Enters the game into the table of the best; a failed write is told in a message box. An
    // entry is announced by a banner that follows the loss banner.
    void GameEnded(int32_t score, uint32_t level) override;

    // Members, in the order the main screen declares them.
    std::unique_ptr<WindowDC> m_windowDC;
    std::unique_ptr<platform::MusicPlayer> m_musicWnd;
    platform::Rect m_presentRect;
    CGame* m_game = nullptr; // not owned: the application's (CGameApp::m_game)
    platform::SurfacePtr m_backBuffer;
    platform::SurfacePtr m_savedScreen;
    int32_t m_displayHeight = 0;
    platform::Rect m_displayRect;
    std::deque<std::string> m_musicFiles;
    bool m_soundOn = false;
    bool m_musicOn = false;
    SoundHandle m_clickSound;
    platform::Rect m_playRect;
    bool m_pictureShown = false;
    bool m_helpShown = false;
    bool m_bestShown = false; // the table of the best games, in the help's place
    int32_t m_bannerAlpha = ui::kBannerIdleAlpha;
    platform::SurfacePtr m_bannerSurface;
    platform::SurfacePtr m_bannerBackground;
    uint64_t m_counterFrequency = 0;
    int32_t m_displayWidth = 0;
    CPicButton* m_hovered = nullptr; // not owned
    CPicButton* m_pressed = nullptr; // not owned
    std::unique_ptr<CJpegImage> m_butPicture;
    std::unique_ptr<CJpegImage> m_backPicture;
    std::vector<std::unique_ptr<CPicButton>> m_menuButtons; // each draws from m_butPicture
    std::vector<std::unique_ptr<CInternetLink>> m_links;
    CInternetLink* m_currentLink = nullptr; // not owned
    uint32_t m_nextLinkTime = 0;

    // The entry this run's last finished game became, marked in the table.
    std::optional<BestMark> m_newestBest;
    // A banner to show once the one shown now has stayed opaque for m_followTicks more ticks;
    // empty when none waits.
    std::string m_followBanner;
    int32_t m_followTicks = 0;

    // The link position in window coordinates (play-area point plus the origin).
    platform::Point m_linkPosition = layout::kLinkPosition;

    // The board cursor: its cell (column, row) and whether the keyboard has shown it.
    platform::Point m_cursorCell{0, 0};
    bool m_cursorShown = false;
    // The help or the best table comes in, or the level picture goes out: their animations run
    // while their flags already say otherwise.
    bool m_overlayMoving = false;
    // The closing sequence runs.
    bool m_closing = false;

    // Folders, relative to the working folder at each use.
    static const char* const kMusicFolder;
    static const char* const kLinkFolder;
    static const char* const kLinkFile;

private:
    // The cursor's cell as drawn (the board's last column and row are narrower).
    platform::Rect CursorRect() const;
    // The window's overlay follows the cursor: drawn where it is while it is visible.
    void UpdateCursor();
    // What the animations of ui/ draw and show with, as the screen is now.
    ui::Stage MakeStage();
    // The help or the best games: a picture in the help's place, `draw` composing it into a
    // surface of that place, brought in by a one-second transition over a saved copy of the
    // screen; hiding puts the copy back at once. `shown` is the overlay's flag.
    void ShowOverlay(bool& shown, bool show, const std::function<void(platform::Surface&)>& draw);
    bool OverlayShown() const { return m_helpShown || m_bestShown; }
    void ReadLinkFile();
    void CreateMenuButtons();
    CPicButton* FindButton(MenuCommand id) const;
    // Shows a switch button as on (pressed row) or off and draws it; does not present.
    void SetSwitchButton(MenuCommand id, bool on);
    void FlipSwitchButton(MenuCommand id);
};
