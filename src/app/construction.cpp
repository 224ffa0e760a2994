// construction.cpp: the main screen's visible start-up and its orderly release.
#include "app/interface.h"

#include "app/internet_link.h"
#include "app/link_file.h"
#include "gfx/jpeg_image.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/rand.h"
#include "platform/resources.h"
#include "ui/pic_button.h"

#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <sstream>
#include <system_error>

using platform::Rect;

const char* const CInterface::kMusicFolder = "../MUSIC/GAME/";
const char* const CInterface::kLinkFolder = "Internet/";
const char* const CInterface::kLinkFile = "internet.txt";

namespace {

struct ButtonSpec {
    MenuCommand id;
    const layout::MenuButton& button;
};

// The menu buttons in list order: exit, help, save, load, new, music, sound, then the best
// games. The list order is the order of the fades' random draws, so a button added later goes
// last: the first seven fade and draw as they always have.
constexpr ButtonSpec kButtons[] = {
    {MenuCommand::kExit, layout::kExitButton},   {MenuCommand::kHelp, layout::kHelpButton},
    {MenuCommand::kSave, layout::kSaveButton},   {MenuCommand::kLoad, layout::kLoadButton},
    {MenuCommand::kNew, layout::kNewButton},     {MenuCommand::kMusic, layout::kMusicButton},
    {MenuCommand::kSound, layout::kSoundButton}, {MenuCommand::kBest, layout::kBestButton},
};

std::future<CJpegImage::Decoded> DecodeAhead(const char* name) {
    const int32_t art = platform::ArtScaleAhead();
    try {
        return std::async(std::launch::async, CJpegImage::DecodeResource, std::string(name), art);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, CJpegImage::DecodeResource, std::string(name),
                          art); // no thread to be had: decoded when taken
    }
}

void TakeAhead(CJpegImage& picture, std::future<CJpegImage::Decoded>& ahead, const char* name) {
    CJpegImage::Decoded d = ahead.get();
    if (d.forScale != platform::ArtScale())
        d = CJpegImage::DecodeResource(name, platform::ArtScale()); // the window chose otherwise
    picture.LoadDecoded(std::move(d));
}

} // namespace

CInterface::CInterface(const std::string& className, platform::WindowMode mode) {
    (void)className; // kept on purpose: SDL has no window classes to name
    // 2. Display check.
    const platform::Size display = platform::DisplaySize();
    if (display.width < layout::kPlayWidth || display.height < layout::kPlayHeight) {
        platform::MessageBox("Minimum resulution is 800x600");
        std::exit(0);
    }
    // 3. Geometry.
    m_displayRect = {0, 0, display.width, display.height};
    m_displayWidth = display.width;
    m_displayHeight = display.height;
    m_playRect = {
        display.width / 2 - layout::kPlayWidth / 2, display.height / 2 - layout::kPlayHeight / 2,
        display.width / 2 + layout::kPlayWidth / 2, display.height / 2 + layout::kPlayHeight / 2};
    m_presentRect = m_playRect;
    // The two pictures up to the logo are most of start-up's time, so another core decodes the
    // background while the window is made, and the logo while the buffers are. Each is taken,
    // or refused with the usual box, at its own step.
    auto back = DecodeAhead("BACK");
    // 4. The window. Without one the player would only see a black screen.
    if (!Create("Game", m_displayRect, platform::FindResource("icon", "PRG_ICON"), mode))
        std::exit(1);
    // A window of its own wider or taller than the logical display shows the border beside it.
    SetSurroundColour(layout::kBorderColour);
    // 5. Link position in window coordinates.
    m_linkPosition = {layout::kLinkPosition.x + m_playRect.left,
                      layout::kLinkPosition.y + m_playRect.top};
    // 6. Window DC.
    m_windowDC = std::make_unique<WindowDC>(this);
    m_windowDC->m_transparent = true;
    m_windowDC->m_backgroundColour = layout::kWindowBackColour;
    m_windowDC->Fill(m_displayRect, platform::Rgb(255, 255, 255));
    // 7. Background picture.
    m_backPicture = std::make_unique<CJpegImage>();
    TakeAhead(*m_backPicture, back, "BACK");
    auto logoAhead = DecodeAhead("LOGO");
    // 8, 9. Back buffer and saved screen.
    m_backBuffer = CreateSurface(m_displayRect);
    // Only the dark fill is ever seen: a white fill first would just cost start-up time.
    m_backBuffer->Fill(m_displayRect, layout::kBorderColour);
    m_savedScreen = CreateSurface(m_displayRect);
    // 10. Logo on the whole display.
    {
        // Gone once drawn: the back buffer holds it from now on.
        CJpegImage logo;
        TakeAhead(logo, logoAhead, "LOGO");
        logo.DrawCentered(m_backBuffer.get(), m_displayRect);
    }
    m_presentRect = m_displayRect;
    Present();
    m_presentRect = m_playRect;
    // 11. Logo sound, whatever the stored switch says.
    m_soundOn = true;
    PlaySoundEffect(FindSound("LOGO"));
    // 12. Banner surfaces.
    m_bannerSurface = CreateSurface(layout::kBannerRect);
    m_bannerBackground = CreateSurface(layout::kBannerRect);
    // 13, 14. The one random seed (see platform::Rand) and counter frequency.
    platform::SeedRand(static_cast<uint32_t>(platform::GetClock().TimeSeconds()));
    m_counterFrequency = platform::GetClock().CounterFrequency();
    // 15. Click sound.
    m_clickSound = FindSound("BTN");
    // 16. Music window.
    m_musicWnd = platform::CreateMusicPlayer();
    // 17, 18. Button strip and menu buttons.
    m_butPicture = std::make_unique<CJpegImage>();
    m_butPicture->LoadFromResource("BUT");
    CreateMenuButtons();
    // 19. Input and banner state.
    m_hovered = m_pressed = nullptr;
    m_bannerAlpha = ui::kBannerIdleAlpha;
    m_pictureShown = m_helpShown = m_bestShown = false;
    // 20. Timer.
    SetTimer(layout::kTimerId, layout::kTimerPeriodMs);
    // 21, 22. Music files and links.
    CollectMusicFiles();
    ReadLinkFile();
    // 23. The first tick already chooses a link.
    m_nextLinkTime = platform::GetClock().TickCount();
    // 24. Background transition.
    {
        const platform::SurfacePtr back = CreateSurface(Rect{});
        m_backPicture->Draw(back.get());
        // From now on only the score field of the background is drawn again (DrawScore): the
        // rest of the picture would be megabytes kept for nothing on a large display, the
        // transition's memory on top of them the peak of the whole run.
        m_backPicture->KeepOnly(layout::kScoreField);
        ShowTransition(back.get(), 255, Rect{}, {0, 0}, 1.0f);
        Present();
    }
    // 25. Buttons; the repaint that start-up forces shows them.
    for (const auto& b : m_menuButtons)
        b->Draw(m_backBuffer.get(), m_backBuffer.get());
}

void CInterface::CreateMenuButtons() {
    for (const ButtonSpec& s : kButtons)
        m_menuButtons.push_back(std::make_unique<CPicButton>(
            ToScreenRect(s.button.place), s.button.cell, m_butPicture.get(), s.id));
}

void CInterface::ReadLinkFile() {
    // Coming back by the saved path rather than "..": the folder may be a symbolic link.
    const std::string start = platform::CurrentDirectory();
    const bool entered = platform::ChangeDirectory(kLinkFolder);
    // Without the folder there are no links: an internet.txt in the starting folder is not ours.
    // The folder is the player's: only a regular file is read, and only its head.
    const auto bytes =
        entered ? platform::ReadFileBytes(kLinkFile, kMaxLinkFileBytes, true) : std::nullopt;
    if (bytes) {
        std::istringstream in(std::string(bytes->begin(), bytes->end()));
        bool more = false;
        LinkPictures pictures(platform::ArtScale(), kLinkFolder);
        for (const auto& [picture, address] : ReadLinkPairs(in, kMaxLinkPairs, &more)) {
            m_links.push_back(
                std::make_unique<CInternetLink>(pictures, picture, address, m_linkPosition));
            m_currentLink = m_links.back().get();
        }
        if (more || bytes->size() == kMaxLinkFileBytes)
            std::fprintf(stderr, "ranqua: %s%s is too long; only its first %zu links are used\n",
                         kLinkFolder, kLinkFile, m_links.size());
    }
    if (entered && !platform::ChangeDirectory(start) && !platform::ChangeDirectory(".."))
        std::fprintf(stderr, "ranqua: cannot leave %s: the music is not found from there\n",
                     kLinkFolder);
}

CInterface::~CInterface() {
    // Released in this order on purpose, before the window itself: the buttons and links first
    // (the buttons draw from m_butPicture), the window DC before the surfaces it presents, and
    // the music player last.
    m_hovered = m_pressed = nullptr;
    m_currentLink = nullptr;
    m_menuButtons.clear();
    m_links.clear();
    m_windowDC.reset();
    FreeSurface(m_backBuffer);
    FreeSurface(m_savedScreen);
    FreeSurface(m_bannerSurface);
    FreeSurface(m_bannerBackground);
    m_clickSound = {};
    m_backPicture.reset();
    m_butPicture.reset();
    m_musicFiles.clear();
    m_musicWnd.reset();
}
