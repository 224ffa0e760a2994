// window.h: the frame window, its message handlers and the application loop.
#pragma once

#include "platform/display.h"
#include "platform/geometry.h"
#include "platform/owned.h"
#include "platform/resources.h"
#include "platform/surface.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Key-state flags passed with mouse messages; Shift, Control and Alt also with keys.
constexpr uint32_t kFlagLButton = 0x0001;
constexpr uint32_t kFlagRButton = 0x0002;
constexpr uint32_t kFlagShift = 0x0004;
constexpr uint32_t kFlagControl = 0x0008;
constexpr uint32_t kFlagAlt = 0x0020;
// With a key: it was down already (an auto-repeat).
constexpr uint32_t kFlagKeyWasDown = 0x4000;
// Virtual-key codes: letters and digits are their capital ASCII codes. The keypad's arrows
// are the arrows, its Enter is Return.
constexpr uint32_t kKeyReturn = 0x0D;
constexpr uint32_t kKeyEscape = 0x1B;
constexpr uint32_t kKeySpace = 0x20;
constexpr uint32_t kKeyLeft = 0x25;
constexpr uint32_t kKeyUp = 0x26;
constexpr uint32_t kKeyRight = 0x27;
constexpr uint32_t kKeyDown = 0x28;
constexpr uint32_t kKeyF1 = 0x70; // F2 to F12 follow
constexpr uint32_t kKeyF2 = 0x71;
constexpr uint32_t kKeyF11 = 0x7A;

// How the game is shown: covering the primary display, or in a window of its own.
struct WindowMode {
    bool windowed = false;
    // The window's own size in physical pixels, kept while the display is covered too;
    // 0 x 0 for one that suits the display.
    Size size;
    friend bool operator==(const WindowMode&, const WindowMode&) = default;
};
// A window of its own is never smaller than the play area.
inline constexpr Size kMinWindowSize = kPlayAreaSize;

// What the window's timer ticks have ahead of them, so that the timer need not wake for ticks
// that would change nothing.
struct TimerWork {
    enum Kind {
        kEveryTick, // an animation runs: every tick has work
        kAfter,     // only a tick handled later than `after` (tick count) has work
        kNone,      // no tick has work until a message changes that
    };
    Kind kind = kEveryTick;
    uint32_t after = 0;
};

class FrameWindow {
public:
    FrameWindow();
    virtual ~FrameWindow();
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    // A window that is shown at once: borderless over the primary display at `rect` (logical
    // pixels, each s physical ones: DisplayScale), or as `mode` says a resizable window of
    // its own, in which the play area fills the window and the logical display stays the
    // same. Sets the art scale that surfaces are composed at, for the larger of the two.
    // False (and why on stderr) when there is no window the game can draw in.
    [[nodiscard]] bool Create(const std::string& title, const Rect& rect, ResourceData icon,
                              WindowMode mode = {});
    // Covers the display, or becomes a window of its own (of mode.size when given, else the
    // size it had last); repaints, then OnWindowModeChanged.
    void SetWindowMode(WindowMode mode);
    WindowMode GetWindowMode() const { return {m_windowed, m_windowSize}; }
    // What a window larger than the logical display shows beside it.
    void SetSurroundColour(uint32_t rgb) { m_surround = rgb; }
    // Where the logical display lands in the window now.
    Placement CurrentPlacement() const;
    // `paint` draws over logical `rect` of everything presented from now on, and never into a
    // surface: it is handed a copy of what is presented there and `rect` in the copy's
    // coordinates. Shown at the next present; none (nullopt) takes it away.
    using OverlayPaint = std::function<void(Surface&, const Rect&)>;
    void SetOverlay(std::optional<Rect> rect, OverlayPaint paint = {});
    // The window shown whole again: the surround, then OnPaint.
    void Repaint();
    // Copies `rect` (logical) of `surface` to the same place of the window and shows it,
    // resampled from the surface's scale to the display's where they differ.
    void PresentRect(const Surface& surface, const Rect& rect);
    // Fills `rect` of the window directly (only start-up does this).
    void FillWindow(const Rect& rect, uint32_t rgb);
    // Timer `id` every `ms` from now; ticks coalesce: at most one waits in the queue. A tick
    // that PendingTimerWork says has nothing to do is skipped when no message comes before it.
    void SetTimer(uint32_t id, uint32_t ms);
    void KillTimer();
    // What the window shows at the middle of a logical pixel (tests read it back), 0x00RRGGBB.
    uint32_t WindowPixel(int32_t x, int32_t y) const;
    // What the window shows at a physical pixel, and the window's physical size.
    uint32_t PhysicalPixel(int32_t x, int32_t y) const;
    Size PhysicalSize() const;
    // Physical pixels per logical pixel.
    double Scale() const { return m_scale.Value(); }
    platform::Scale ScaleFraction() const { return m_scale; }

    // Message handlers. The base versions are the default handling: they do nothing.
    virtual void OnPaint() {}
    virtual void OnTimer(uint32_t /*id*/) {}
    virtual void OnMouseMove(uint32_t /*flags*/, Point /*point*/) {}
    virtual void OnLButtonDown(uint32_t /*flags*/, Point /*point*/) {}
    virtual void OnLButtonUp(uint32_t /*flags*/, Point /*point*/) {}
    virtual void OnKeyDown(uint32_t /*key*/, uint32_t /*repeat*/, uint32_t /*flags*/) {}
    virtual void OnRButtonDown(uint32_t /*flags*/, Point /*point*/) {}
    virtual void OnClose() {}
    virtual void OnMciNotifyMode(const void* /*musicWindow*/, int32_t /*mode*/) {}
    // Asked by the message loop whenever it could sleep; the base version: every tick has work.
    virtual TimerWork PendingTimerWork() const { return {}; }
    // After a switch of mode, and once a window of its own keeps a new size for a moment.
    virtual void OnWindowModeChanged() {}

private:
    friend class Application;
    friend void PostWindowSize(Size size);
    // The window's size changed: the next presents use it; OnWindowModeChanged once it holds.
    void Resized();
    void Settled();
    // Milliseconds until a new size is to be kept, -1 for none; keeps it once that time has come.
    int SettleWait();
    Placement PlacementFor(Size window) const;
    Rect PresentedRect(const Placement& placement, const Rect& r, Size window) const;
    void FillSurround(const Placement& placement, Size window);
    SdlWindowPtr m_window;
    platform::Scale m_scale; // covering the display
    Size m_logical;          // the logical display
    bool m_windowed = false;
    Size m_windowSize;
    uint32_t m_surround = 0;
    std::optional<Rect> m_overlayRect;
    OverlayPaint m_overlayPaint;
    std::vector<uint32_t> m_converted; // the present's pixels, for a window of another format
    // When the size a window of its own was given last is to be kept (clock ticks).
    std::optional<uint32_t> m_settleAt;
};

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    [[nodiscard]] virtual bool InitInstance() = 0;
    // Returns the code given to PostQuit.
    virtual int ExitInstance() { return m_exitCode; }

    // InitInstance, the message loop until PostQuit, then ExitInstance; returns its result.
    [[nodiscard]] int Run();
    // Ends the message loop after the current message.
    void PostQuit(int exitCode);
    bool QuitPosted() const { return m_quit; }
    // Handles every message already waiting, without blocking (tests drive the loop with it);
    // `slept` as if the loop had slept until now (ticks that fell meanwhile came and went).
    void PumpMessages(bool slept = false);

    static Application* Current();

    FrameWindow* m_mainWindow = nullptr;

protected:
    int m_exitCode = 0;

private:
    void Dispatch(const void* sdlEvent);
    // The timer's due tick and every message waiting; returns how long the loop may then sleep
    // (ms; -1: until a message comes).
    int HandleMessages(bool slept);
    bool m_quit = false;
};

// Starts SDL video and audio; with no usable sound device the game goes on silent.
// SIGHUP and SIGQUIT become close requests like SIGTERM and SIGINT. A lost display connection
// ends the process through EndForLostDisplay.
// Returns false (and says why on stderr) when there is no display at all.
[[nodiscard]] bool InitPlatform();
void ShutdownPlatform();
// Says on stderr that the display is gone and ends the process with status 1 at once, from
// whichever thread: nothing is left to save (the switches are written when they change), and no
// exit handler or destructor runs on a thread that is not the game's.
[[noreturn]] void EndForLostDisplay();

// Queues one timer tick for the main window as the real timer would (coalesced). Tests that
// fire every tick themselves ask for manual timers (services.h).
void PostTimerTick();
// How many ticks the window has been given since the program started.
uint32_t DeliveredTicks();

// Queue input as the window system would deliver it (tests and the soak driver).
void PostMouseMove(Point p);
void PostMouseButton(bool left, bool down, Point p);
// An auto-repeat is what a held key sends after its first key-down; `flags` gives the
// modifiers held (kFlagShift, kFlagControl, kFlagAlt).
void PostKeyDown(uint32_t key, bool autoRepeat = false, uint32_t flags = 0);
// A window of its own resized by the player (or the window manager) to `size`.
void PostWindowSize(Size size);
void PostCloseRequest();

} // namespace platform
