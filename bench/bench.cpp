// bench.cpp: ranqua_bench: frame costs, picture decoding and start-up against memcpy, and the
// peak memory of a whole game, all on the real code.
//
// Animations are driven by a clock we step ourselves, so every run draws the same frames; real
// time is taken around them with std::chrono. The whole game runs in a child process (this
// program again, with --game-run) so that its peak memory is its own.
#include "app/game_app.h"
#include "app/interface.h"
#include "game/board_game.h"
#include "gfx/jpeg_image.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/music.h"
#include "platform/rand.h"
#include "platform/resources.h"
#include "platform/services.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "ui/pic_button.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifndef RANQUA_DATA_DIR
#define RANQUA_DATA_DIR ""
#endif

namespace {

using RealTime = std::chrono::steady_clock;
using platform::Point;
using platform::Rect;

double Micros(RealTime::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// The value below which `share` of the samples lie (0.5: the median).
double Percentile(std::vector<double> v, double share) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(share * static_cast<double>(v.size())))];
}

double Median(std::vector<double> v) {
    return Percentile(std::move(v), 0.5);
}

// A counter that moves a fixed step per read, and notes the real time of every read: one
// read per frame, so the gaps between reads are the frames' real cost.
class SteppedClock : public platform::Clock {
public:
    static constexpr uint64_t kFrequency = 1'000'000;
    uint32_t TickCount() override { return m_ticks; }
    uint64_t Counter() override {
        if (m_recording) m_reads.push_back(RealTime::now());
        return m_counter += m_step;
    }
    uint64_t CounterFrequency() override { return kFrequency; }
    int64_t TimeSeconds() override { return 1; }
    void Pause(uint64_t) override {}

    // A step of 1/100 s: the transitions' minimum frame time, so each frame reads once.
    void SetStep(uint64_t step) { m_step = step; }
    void StartRecording() {
        m_reads.clear();
        m_recording = true;
    }
    // Real time between consecutive reads, in microseconds.
    std::vector<double> StopRecording() {
        m_recording = false;
        std::vector<double> gaps;
        for (size_t i = 1; i < m_reads.size(); ++i)
            gaps.push_back(Micros(m_reads[i] - m_reads[i - 1]));
        return gaps;
    }
    uint32_t m_ticks = 0;

private:
    uint64_t m_counter = 0;
    uint64_t m_step = kFrequency / 100;
    bool m_recording = false;
    std::vector<RealTime::time_point> m_reads;
};

// Notes when the first sound starts: the logo sound follows the logo frame at once.
class StampingSoundPlayer : public platform::SoundPlayer {
public:
    void PlayWave(const uint8_t*, size_t) override {
        if (!m_first) m_first = RealTime::now();
    }
    std::optional<RealTime::time_point> m_first;
};

// Median real time of one memcpy of `bytes`, from and to memory rather than the caches: a
// frame's surfaces (several times the play area) never fit in them either, so a copy of
// cache-warm buffers would flatter every ratio. Before each copy a buffer larger than any
// cache of this kind of machine is written over, which pushes both buffers out.
double MemcpyMicros(size_t bytes) {
    std::vector<uint8_t> src(bytes, 1), dst(bytes, 2);
    static std::vector<uint8_t> evict(size_t{64} << 20);
    std::vector<double> runs;
    volatile uint8_t sink = 0;
    for (int i = 0; i < 30; ++i) {
        src[static_cast<size_t>(i) % bytes] = static_cast<uint8_t>(i);
        std::memset(evict.data(), i, evict.size());
        const auto t0 = RealTime::now();
        std::memcpy(dst.data(), src.data(), bytes);
        runs.push_back(Micros(RealTime::now() - t0));
        sink = sink + dst[bytes / 2];
    }
    return Median(runs);
}

// A seed after which ShowTransition draws `effect` (and the wipe goes leftwards).
uint32_t SeedForEffect(int effect) {
    for (uint32_t seed = 1;; ++seed) {
        platform::SeedRand(seed);
        int e = 0;
        if (platform::Rand() % 2 != 0) e = platform::Rand() % 5;
        const int direction = platform::Rand() % 4;
        if (e == effect && direction == 0) return seed;
    }
}

const char* const kEffectNames[5] = {"cross-fade", "opening box", "wipe", "falling strips",
                                     "strip fade"};

struct Row {
    std::string what;
    std::string basis;
    double micros = 0;
    double p95 = -1; // 95th percentile of the frames, where there are frames
    double memcpyMicros = 0;
    std::string target;
};

struct FrameStats {
    double median = 0;
    double p95 = 0;
};

FrameStats Stats(const std::vector<double>& frames) {
    return {Median(frames), Percentile(frames, 0.95)};
}

// Frame costs of `runs` transitions of `effect`, from `source` into `rect`.
FrameStats TransitionFrames(CInterface* screen, SteppedClock& clock, platform::Surface* source,
                            Rect rect, float seconds, int effect, int runs) {
    std::vector<double> all;
    const uint32_t seed = SeedForEffect(effect);
    for (int i = 0; i < runs; ++i) {
        platform::SeedRand(seed);
        clock.StartRecording();
        screen->ShowTransition(source, 255, rect, {0, 0}, seconds);
        const std::vector<double> gaps = clock.StopRecording();
        all.insert(all.end(), gaps.begin(), gaps.end());
    }
    return Stats(all);
}

// Frame costs of the level picture zooming in, `runs` times, over a new game on `screen`.
FrameStats LevelZoomFrames(CInterface* screen, SteppedClock& clock, int runs) {
    CBoardGame game(screen);
    screen->m_game = &game;
    game.NewGame();
    std::vector<double> all;
    for (int run = 0; run < runs; ++run) {
        clock.StartRecording();
        screen->ShowLevelPicture(true);
        const std::vector<double> gaps = clock.StopRecording();
        all.insert(all.end(), gaps.begin(), gaps.end());
        screen->ShowLevelPicture(false);
    }
    screen->m_game = nullptr;
    return Stats(all);
}

// ---- the whole game, in a child process --------------------------------------------------

std::string UniqueSuffix() {
    return std::to_string(std::chrono::system_clock::now().time_since_epoch().count());
}

Point Centre(const Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Mouse onto the point, then a press and a release there, as the window system delivers it.
void Click(CGameApp& app, Point p) {
    platform::PostMouseMove(p);
    platform::PostMouseMove({p.x + 1, p.y});
    platform::PostMouseButton(true, true, p);
    platform::PostMouseButton(true, false, p);
    app.PumpMessages();
}

void Ticks(CGameApp& app, SteppedClock& clock, int n) {
    for (int i = 0; i < n; ++i) {
        clock.m_ticks += 80;
        platform::PostTimerTick();
        app.PumpMessages();
    }
}

// A ball and an empty cell it can reach, looked for from a different ball each time.
bool PickMove(CBoardGame* game, int turn, Point& from, Point& to) {
    for (int k = 0; k < kColumns * kRows; ++k) {
        const int index = (k + turn * 5) % (kColumns * kRows);
        const Point f{index % kColumns, index / kColumns};
        if (game->m_cells[f.x][f.y].colour == 0) continue;
        for (int t = 0; t < kColumns * kRows; ++t) {
            const int ti = (t + turn * 11) % (kColumns * kRows);
            const Point c{ti % kColumns, ti / kColumns};
            if (game->m_cells[c.x][c.y].colour != 0) continue;
            if (game->CanReach(f, c)) {
                from = f;
                to = c;
                return true;
            }
        }
    }
    return false;
}

long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Start-up, a new game, twenty moves, help shown and hidden, exit, on a display of `display`
// (RANQUA_SCALE as inherited). Prints what it did and the peak resident memory.
int GameRun(platform::Size display) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("ranqua-bench-" + UniqueSuffix());
    fs::create_directories(root / "home");
    fs::create_directories(root / "game");
    std::error_code ec;
    if (std::string(RANQUA_DATA_DIR).size() > 0)
        fs::copy(fs::path(RANQUA_DATA_DIR) / "Internet", root / "game/Internet",
                 fs::copy_options::recursive, ec);
    setenv("HOME", (root / "home").c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    fs::current_path(root / "game");

    SteppedClock clock;
    clock.SetStep(SteppedClock::kFrequency / 10); // ten frames to a second: quick, all paths
    int messages = 0;
    const platform::ServicesScope services({
        .clock = &clock,
        .messageBox = [&messages](const std::string&) { ++messages; },
        .display = display,
        .manualTimers = true,
    });
    if (!platform::InitPlatform()) return 1;

    int moves = 0, games = 0, score = 0;
    {
        CGameApp app;
        if (!app.InitInstance()) return 1;
        CInterface* screen = app.MainScreen();
        auto* game = static_cast<CBoardGame*>(screen->m_game);
        auto button = [&](MenuCommand id) {
            for (const auto& b : screen->m_menuButtons)
                if (b->m_id == id) return Centre(b->m_rect);
            return Point{};
        };
        auto cell = [&](Point c) {
            return Centre(
                layout::CellRect(c.x, c.y).Offset(game->m_boardRect.left, game->m_boardRect.top));
        };
        Ticks(app, clock, 3);
        Click(app, button(MenuCommand::kNew));
        ++games;
        for (int turn = 0; moves < 20 && turn < 200; ++turn) {
            Point from, to;
            if (game->m_gameOver || !PickMove(game, turn, from, to)) {
                Click(app, button(MenuCommand::kNew));
                ++games;
                continue;
            }
            Click(app, cell(from));
            Click(app, cell(to));
            if (game->m_selected.x == -1) ++moves; // a move ends with nothing selected
            Ticks(app, clock, 2);
        }
        score = game->m_score;
        Click(app, button(MenuCommand::kSave)); // save
        Ticks(app, clock, 6);
        Click(app, button(MenuCommand::kHelp)); // help
        Click(app, Centre(screen->m_playRect));
        Click(app, button(MenuCommand::kExit)); // exit
        app.ExitInstance();
    }
    platform::ShutdownPlatform();
    std::printf("%d %d %d %d %ld\n", moves, games, score, messages, PeakResidentKb());
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(root, ec);
    return 0;
}

// ---- the measurements ----------------------------------------------------------------------

struct Picture {
    std::string name;
    const uint8_t* data;
    size_t size;
};

std::vector<Picture> CarriedPictures() {
    std::vector<Picture> out;
    for (const std::string& name : platform::ResourceNames("jpeg")) {
        const platform::ResourceData r = platform::FindResource("jpeg", name);
        out.push_back({name, r.data, r.size});
    }
    return out;
}

// Median real time to decode `names` (all of them, once), and the bytes they take as surfaces.
double DecodeMicros(const std::vector<std::string>& names, size_t& surfaceBytes) {
    std::vector<double> runs;
    for (int run = 0; run < 15; ++run) {
        surfaceBytes = 0;
        const auto t0 = RealTime::now();
        for (const std::string& n : names) {
            CJpegImage picture;
            picture.LoadFromResource(n);
            surfaceBytes += static_cast<size_t>(picture.m_width) * picture.m_height *
                            picture.m_scale * picture.m_scale * 4;
        }
        runs.push_back(Micros(RealTime::now() - t0));
    }
    return Median(runs);
}

// Real time from the start of the main screen's construction to its logo frame (the logo
// sound starts right after it), median of several start-ups.
double StartupToLogoMicros(SteppedClock& clock) {
    std::vector<double> runs;
    clock.SetStep(SteppedClock::kFrequency); // the background transition in one frame
    for (int run = 0; run < 15; ++run) {
        StampingSoundPlayer stamp;
        platform::Services stamped = platform::CurrentServices();
        stamped.sounds = &stamp;
        const platform::ServicesScope services(std::move(stamped));
        const auto t0 = RealTime::now();
        CInterface* screen = new CInterface("RanquaWindow");
        if (stamp.m_first) runs.push_back(Micros(*stamp.m_first - t0));
        delete screen;
    }
    clock.SetStep(SteppedClock::kFrequency / 100);
    return Median(runs);
}

// The start-up's drawing steps up to the logo frame one by one, with the platform calls the
// main screen makes, to show where its time goes.
struct StartupParts {
    double window = 0;     // window created, filled white on screen
    double backBuffer = 0; // display surface made (black), filled with the border colour
    double savedScreen = 0;
    double present = 0; // the logo frame: the whole display copied to the window
};

StartupParts MeasureStartupParts() {
    const Rect display{0, 0, 1024, 768};
    std::vector<double> window, back, saved, present;
    platform::FrameWindow shown;
    if (!shown.Create("Game", display, {})) return {};
    for (int run = 0; run < 15; ++run) {
        auto t0 = RealTime::now();
        {
            platform::FrameWindow w;
            if (!w.Create("Game", display, platform::FindResource("icon", "PRG_ICON"))) return {};
            w.FillWindow(display, platform::Rgb(255, 255, 255));
            window.push_back(Micros(RealTime::now() - t0));
        }
        t0 = RealTime::now();
        platform::Surface backBuffer(display.Width(), display.Height());
        backBuffer.Fill(display, layout::kBorderColour);
        back.push_back(Micros(RealTime::now() - t0));
        t0 = RealTime::now();
        platform::Surface savedScreen(display.Width(), display.Height());
        saved.push_back(Micros(RealTime::now() - t0));
        t0 = RealTime::now();
        shown.PresentRect(backBuffer, display);
        present.push_back(Micros(RealTime::now() - t0));
    }
    return {Median(window), Median(back), Median(saved), Median(present)};
}

std::string Ratio(double a, double b) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", b > 0 ? a / b : 0.0);
    return buf;
}

void PrintTable(const std::vector<Row>& rows) {
    std::printf("%-40s %-18s %12s %12s %10s  %s\n", "measure", "bytes compared", "median (us)",
                "p95 (us)", "x memcpy", "target");
    std::printf("%s\n", std::string(128, '-').c_str());
    for (const Row& r : rows) {
        char p95[32] = "";
        if (r.p95 >= 0) std::snprintf(p95, sizeof p95, "%.1f", r.p95);
        std::printf("%-40s %-18s %12.1f %12s %10s  %s\n", r.what.c_str(), r.basis.c_str(), r.micros,
                    p95, Ratio(r.micros, r.memcpyMicros).c_str(), r.target.c_str());
    }
}

std::string Bytes(size_t n) {
    return std::to_string(n);
}

std::string Verdict(bool ok) {
    return ok ? "met" : "MISSED";
}

int Measure(const char* self) {
    SteppedClock clock;
    platform::ServicesScope services({
        .clock = &clock,
        .messageBox =
            [](const std::string& text) {
                std::fprintf(stderr, "ranqua_bench: message box: %s\n", text.c_str());
            },
        .display = platform::Size{1024, 768},
        .manualTimers = true,
    });
    if (!platform::InitPlatform()) return 1;
    // First 1:1, as a 1024 x 768 display was drawn before larger displays were filled.
    setenv("RANQUA_SCALE", "1", 1);

    std::vector<Row> rows;
    const size_t playBytes = 800u * 600u * 4u;
    const size_t displayBytes = 1024u * 768u * 4u;
    const size_t bigBytes = 1920u * 1080u * 4u;
    const double memcpyPlay = MemcpyMicros(playBytes);
    const double memcpyDisplay = MemcpyMicros(displayBytes);
    const double memcpyBig = MemcpyMicros(bigBytes);
    rows.push_back({"memcpy 800x600x4", Bytes(playBytes), memcpyPlay, -1, memcpyPlay, ""});
    rows.push_back(
        {"memcpy 1024x768x4", Bytes(displayBytes), memcpyDisplay, -1, memcpyDisplay, ""});
    rows.push_back({"memcpy 1920x1080x4", Bytes(bigBytes), memcpyBig, -1, memcpyBig, ""});

    // Start-up, against decoding the two pictures it loads up to then.
    size_t logoBytes = 0;
    const double decodeBackLogo = DecodeMicros({"BACK", "LOGO"}, logoBytes);
    const double startup = StartupToLogoMicros(clock);

    // Transitions of the play area, on a 1024 x 768 display.
    CInterface* screen = new CInterface("RanquaWindow");
    CJpegImage background; // the screen keeps only a corner of its own
    background.LoadFromResource("BACK");
    platform::SurfacePtr back = screen->CreateSurface(Rect{});
    background.Draw(back.get());
    platform::SurfacePtr other = screen->CreateSurface(Rect{});
    for (int effect = 0; effect < 5; ++effect) {
        // Alternate pictures, so that every frame really changes pixels.
        const FrameStats f = TransitionFrames(screen, clock, effect % 2 ? back.get() : other.get(),
                                              screen->m_playRect, 1.0f, effect, 3);
        Row r{std::string(kEffectNames[effect]) + " frame, play area",
              Bytes(playBytes),
              f.median,
              f.p95,
              memcpyPlay,
              ""};
        if (effect == 0) {
            const bool ok = f.median <= 6 * memcpyPlay;
            r.target = "<= 6 x memcpy: " + Verdict(ok);
        }
        rows.push_back(r);
    }
    other.reset();
    back.reset();

    // The level picture zooming in, over a game in progress.
    const FrameStats level = LevelZoomFrames(screen, clock, 3);
    rows.push_back({"level picture frame (display restored)", Bytes(displayBytes), level.median,
                    level.p95, memcpyDisplay, ""});
    delete screen;

    // The exit transition of a whole 1920 x 1080 display, 1:1.
    services->display = platform::Size{1920, 1080};
    screen = new CInterface("RanquaWindow");
    background.LoadFromResource("BACK");
    platform::SurfacePtr black = screen->CreateSurface(screen->m_displayRect);
    for (int effect = 0; effect < 5; ++effect) {
        background.Draw(screen->m_backBuffer.get()); // something to fade from
        const FrameStats f =
            TransitionFrames(screen, clock, black.get(), screen->m_displayRect, 2.0f, effect, 1);
        rows.push_back({std::string("exit ") + kEffectNames[effect] + " frame, 1920x1080 1:1",
                        Bytes(bigBytes), f.median, f.p95, memcpyBig, ""});
    }
    black.reset();
    delete screen;
    unsetenv("RANQUA_SCALE");

    // Filled displays: every effect and the level-picture zoom, composed at the art scale and
    // resampled to the display's, against a memcpy of the physical play area.
    double startupBig = 0, decodeBig = 0;
    size_t bigLogoBytes = 0;
    for (const platform::Size size : {platform::Size{1920, 1080}, platform::Size{3840, 2160}}) {
        services->display = size;
        const platform::Scale s = platform::DisplayScale(size);
        const int32_t pw = s.FirstPhysical(layout::kPlayWidth),
                      ph = s.FirstPhysical(layout::kPlayHeight);
        const size_t physBytes = static_cast<size_t>(pw) * ph * 4;
        const double memcpyPhys = MemcpyMicros(physBytes);
        const std::string where = std::to_string(size.width) + "x" + std::to_string(size.height);
        if (size.width == 3840) startupBig = StartupToLogoMicros(clock);
        screen = new CInterface("RanquaWindow");
        if (size.width == 3840) decodeBig = DecodeMicros({"BACK", "LOGO"}, bigLogoBytes);
        char scaleText[64];
        std::snprintf(scaleText, sizeof scaleText, " (s %.2f, art %d)", s.Value(),
                      platform::ArtScale());
        rows.push_back({"memcpy play area " + std::to_string(pw) + "x" + std::to_string(ph) + "x4",
                        Bytes(physBytes), memcpyPhys, -1, memcpyPhys, where + scaleText});
        background.LoadFromResource("BACK"); // at this display's art scale
        platform::SurfacePtr pictureA = screen->CreateSurface(Rect{});
        background.Draw(pictureA.get());
        platform::SurfacePtr pictureB = screen->CreateSurface(Rect{});
        for (int effect = 0; effect < 5; ++effect) {
            const FrameStats f =
                TransitionFrames(screen, clock, effect % 2 ? pictureA.get() : pictureB.get(),
                                 screen->m_playRect, 1.0f, effect, 2);
            Row r{std::string(kEffectNames[effect]) + " frame, " + where,
                  Bytes(physBytes),
                  f.median,
                  f.p95,
                  memcpyPhys,
                  "reported"};
            if (effect == 0) r.target = "<= 16 x memcpy: " + Verdict(f.median <= 16 * memcpyPhys);
            rows.push_back(r);
        }
        pictureB.reset();
        pictureA.reset();
        const FrameStats z = LevelZoomFrames(screen, clock, 2);
        rows.push_back({"level picture frame, " + where, Bytes(physBytes), z.median, z.p95,
                        memcpyPhys, "reported"});
        delete screen;
    }
    services->display = std::nullopt;
    setenv("RANQUA_SCALE", "1", 1);

    // Every carried picture.
    std::vector<std::string> names;
    for (const Picture& p : CarriedPictures())
        names.push_back(p.name);
    size_t allBytes = 0;
    const double decodeAll = DecodeMicros(names, allBytes);
    rows.push_back({"decode all " + std::to_string(names.size()) + " carried pictures",
                    Bytes(allBytes), decodeAll, -1, MemcpyMicros(allBytes), ""});
    rows.push_back(
        {"decode BACK + LOGO", Bytes(logoBytes), decodeBackLogo, -1, MemcpyMicros(logoBytes), ""});
    {
        char target[96];
        std::snprintf(target, sizeof target, "<= 2 x decode BACK+LOGO (%.2f x): %s",
                      decodeBackLogo > 0 ? startup / decodeBackLogo : 0.0,
                      Verdict(startup <= 2 * decodeBackLogo).c_str());
        rows.push_back({"start-up up to the logo frame", Bytes(displayBytes), startup, -1,
                        memcpyDisplay, target});
        const StartupParts parts = MeasureStartupParts();
        rows.push_back({"  of it: window made, filled white", Bytes(displayBytes), parts.window, -1,
                        memcpyDisplay, ""});
        rows.push_back({"  of it: back buffer made and filled", Bytes(displayBytes),
                        parts.backBuffer, -1, memcpyDisplay, ""});
        rows.push_back({"  of it: saved screen made", Bytes(displayBytes), parts.savedScreen, -1,
                        memcpyDisplay, ""});
        rows.push_back({"  of it: logo frame presented", Bytes(displayBytes), parts.present, -1,
                        memcpyDisplay, ""});
        std::snprintf(target, sizeof target, "<= 2 x decode BACK+LOGO at 3x (%.2f x): %s",
                      decodeBig > 0 ? startupBig / decodeBig : 0.0,
                      Verdict(startupBig <= 2 * decodeBig).c_str());
        rows.push_back({"start-up up to the logo, 3840x2160", Bytes(bigLogoBytes), startupBig, -1,
                        decodeBig, target});
        rows.push_back({"decode BACK + LOGO at art scale 3", Bytes(bigLogoBytes), decodeBig, -1,
                        MemcpyMicros(bigLogoBytes), ""});
    }
    platform::ShutdownPlatform();

    std::printf("ranqua_bench: real code, SDL_VIDEODRIVER=%s; frames driven by a stepped clock, "
                "timed in real time (medians)\nmemcpy: median of 30 copies, each from and to "
                "memory (64 MB written over first, so neither buffer is in a cache)\n\n",
                std::getenv("SDL_VIDEODRIVER"));
    PrintTable(rows);
    std::printf("\n");

    // The whole game, each in a process of its own.
    const struct {
        platform::Size size;
        const char* scale; // RANQUA_SCALE, or null for the display's own
        double targetMb;
    } games[] = {{{1024, 768}, "1", 40}, {{1920, 1080}, nullptr, 60}, {{3840, 2160}, nullptr, 160}};
    bool failed = false;
    for (const auto& g : games) {
        const std::string out = (std::filesystem::temp_directory_path() /
                                 ("ranqua-bench-run-" + UniqueSuffix() + ".txt"))
                                    .string();
        const std::string command =
            std::string(g.scale ? "RANQUA_SCALE=" + std::string(g.scale) + " '"
                                : "env -u RANQUA_SCALE '") +
            std::string(self) + "' --game-run " + std::to_string(g.size.width) + " " +
            std::to_string(g.size.height) + " > '" + out + "'";
        int moves = -1, played = 0, score = 0, messages = 0;
        long peakKb = -1;
        if (std::system(command.c_str()) == 0) {
            if (FILE* f = std::fopen(out.c_str(), "r")) {
                if (std::fscanf(f, "%d %d %d %d %ld", &moves, &played, &score, &messages,
                                &peakKb) != 5)
                    moves = -1;
                std::fclose(f);
            }
        }
        std::remove(out.c_str());
        if (moves < 0) {
            std::printf("whole game on %dx%d: the run failed\n", g.size.width, g.size.height);
            failed = true;
            continue;
        }
        const double peakMb = static_cast<double>(peakKb) / 1024.0;
        std::printf("whole game on %dx%d%s (start-up, %d game(s), %d moves, score %d, help, "
                    "exit):\n",
                    g.size.width, g.size.height, g.scale ? " with RANQUA_SCALE=1" : "", played,
                    moves, score);
        std::printf("  peak resident memory %.1f MB   target <= %.0f MB: %s\n", peakMb, g.targetMb,
                    Verdict(peakMb <= g.targetMb).c_str());
        if (messages > 0) std::printf("  (%d message box(es) during the run)\n", messages);
    }

    // The program as shipped: every carried picture is inside it.
    const std::filesystem::path program = std::filesystem::path(self).parent_path() / "ranqua";
    std::error_code ec;
    const auto programBytes = std::filesystem::file_size(program, ec);
    size_t carried = 0, variants = 0;
    for (const Picture& p : CarriedPictures()) {
        carried += p.size;
        if (p.name.find('@') != std::string::npos) ++variants;
    }
    if (ec) {
        std::printf("program size: %s not found\n", program.c_str());
    } else {
        const double mb = static_cast<double>(programBytes) / (1024.0 * 1024.0);
        std::printf("program size %.1f MB (pictures %.1f MB, %zu of them drawn for 2x or 3x)   "
                    "target <= 32 MB: %s\n",
                    mb, static_cast<double>(carried) / (1024.0 * 1024.0), variants,
                    Verdict(mb <= 32.0).c_str());
    }
    return failed ? 1 : 0;
}

// SDL_mixer alone playing `path` for `seconds`, on the device the game would open, through the
// game's own player: what the music costs without the game around it (bench/idle.sh).
int PlayAlone(const char* path, int seconds) {
    platform::InitAudio();
    {
        std::unique_ptr<platform::MusicPlayer> player = platform::CreateMusicPlayer();
        player->Open(path);
        player->Play();
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
    }
    platform::ShutdownAudio();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 3 && std::strcmp(argv[1], "--play") == 0)
        return PlayAlone(argv[2], std::atoi(argv[3]));
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (argc > 3 && std::strcmp(argv[1], "--game-run") == 0)
        return GameRun({std::atoi(argv[2]), std::atoi(argv[3])});
    if (argc > 3 && std::strcmp(argv[1], "--startup") == 0) {
        // Start-ups alone, on one display: for a profiler to look at.
        SteppedClock clock;
        const platform::ServicesScope services({
            .clock = &clock,
            .display = platform::Size{std::atoi(argv[2]), std::atoi(argv[3])},
            .manualTimers = true,
        });
        if (!platform::InitPlatform()) return 1;
        std::printf("start-up up to the logo: %.1f us (median)\n", StartupToLogoMicros(clock));
        size_t bytes = 0; // at the art scale the start-ups left set
        std::printf("decode BACK + LOGO: %.1f us (median)\n",
                    DecodeMicros({"BACK", "LOGO"}, bytes));
        platform::ShutdownPlatform();
        return 0;
    }
    unsetenv("RANQUA_SCALE"); // the displays below are meant as given
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    return Measure(self.c_str());
}
