// score.cpp: the score digits in the main screen's score field, for the game it hosts, and
// the finished game's entry into the table of the best games.
#include "app/interface.h"

#include "gfx/jpeg_image.h"
#include "platform/clock.h"
#include "platform/message_box.h"

using platform::Rect;

void CInterface::DrawScore(int32_t value) {
    // The background keeps only its score field (see the end of start-up).
    m_backPicture->DrawStretched(m_backBuffer.get(), ToScreenRect(layout::kScoreField),
                                 {0, 0, layout::kScoreField.Width(), layout::kScoreField.Height()});
    CJpegImage digits;
    digits.LoadFromResource("DIGITS");
    const bool negative = value < 0;
    // Unsigned, so that the most negative number is drawn rather than overflowing.
    uint32_t v = negative ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    Rect digit = layout::kLastDigitPlace;
    do {
        const int32_t d = static_cast<int32_t>(v % 10);
        v /= 10;
        digits.DrawStretched(m_backBuffer.get(), ToScreenRect(digit), layout::DigitCell(d));
        digit = digit.Offset(-layout::kDigitWidth, 0);
    } while (v != 0);
    if (negative) {
        digits.DrawStretched(m_backBuffer.get(), ToScreenRect(digit),
                             layout::DigitCell(layout::kMinusDigit));
        digit = digit.Offset(-layout::kDigitWidth, 0);
    }
}

void CInterface::GameEnded(int32_t score, uint32_t level) {
    if (score <= 0) return; // never enters: the file is not even looked at
    const BestEntry entry{score, platform::LocalDate(platform::GetClock().TimeSeconds()), level};
    std::optional<BestMark> mark;
    std::string reason;
    if (!BestGamesFile().Record(entry, mark, &reason)) {
        platform::MessageBox("The best games could not be saved: " + reason);
        return;
    }
    if (!mark) return;
    m_newestBest = mark;
    m_followBanner = mark->place == 0 ? "M_BEST" : "M_TOPTEN";
    m_followTicks = layout::kFollowBannerTicks;
}
