// soundtrack_test.cpp: the level, fades and smoothness of the soundtrack, synthesised and
// shipped.
#include "music.h"
#include "music_engine.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

namespace {

// Level in dBFS of frames [first, first + count) of both channels.
double RmsDb(const music::Stereo& s, size_t first, size_t count) {
    double sum = 0;
    for (size_t i = first; i < first + count && i < s.Frames(); ++i)
        sum += double(s.left[i]) * s.left[i] + double(s.right[i]) * s.right[i];
    return 10 * std::log10(std::max(sum / (2.0 * double(count)), 1e-20));
}

// How far the largest step between consecutive samples stands out from the steps around it
// (+-5 ms). Music moves in steps of similar size; a click is one step far above its neighbours.
double WorstClick(const music::Stereo& s) {
    const size_t n = s.Frames(), radius = music::kRate / 200;
    double worst = 0;
    for (const std::vector<float>* ch : {&s.left, &s.right}) {
        std::vector<double> step(n, 0), sum(n + 1, 0);
        for (size_t i = 1; i < n; ++i)
            step[i] = std::fabs((*ch)[i] - (*ch)[i - 1]);
        for (size_t i = 0; i < n; ++i)
            sum[i + 1] = sum[i] + step[i] * step[i];
        for (size_t i = radius; i + radius < n; ++i) {
            if (step[i] < 0.01) continue; // too small to hear
            const double around =
                (sum[i + radius + 1] - sum[i - radius] - step[i] * step[i]) / double(2 * radius);
            worst = std::max(worst, step[i] / (std::sqrt(around) + 1e-9));
        }
    }
    return worst;
}

// Longest run, in seconds, of 50 ms stretches quieter than -50 dBFS.
double LongestSilence(const music::Stereo& s) {
    const size_t win = music::kRate / 20;
    double run = 0, longest = 0;
    for (size_t at = 0; at + win <= s.Frames(); at += win) {
        run = RmsDb(s, at, win) < -50 ? run + 0.05 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// Power of one frequency in frames [first, first + count) of the left channel (Goertzel).
double PowerAt(const music::Stereo& s, double hz, size_t first, size_t count) {
    const double k = 2 * std::cos(2 * 3.141592653589793 * hz / music::kRate);
    double a = 0, b = 0;
    for (size_t i = first; i < first + count; ++i) {
        const double c = s.left[i] + k * a - b;
        b = a;
        a = c;
    }
    return a * a + b * b - k * a * b;
}

// Each voice alone: it sounds at the pitch asked for (not a semitone off), and is silent once
// its release is over.
TEST(Soundtrack, EveryVoiceSoundsAtItsPitchAndThenFallsSilent) {
    using music::Voice;
    for (Voice v : {Voice::Pad, Voice::Bell, Voice::Keys, Voice::Pluck, Voice::Bass, Voice::Arp,
                    Voice::Flute, Voice::Mallet}) {
        for (float pitch : {45.0f, 69.0f}) { // 110 Hz and 440 Hz
            music::Note n;
            n.start = 3.0;
            n.length = 1.0;
            n.pitch = pitch;
            n.voice = v;
            const music::Room dry{0.5f, 0.5f, 0.0f};
            const music::Stereo s = music::Mix({n}, 20, 0, 10, dry);
            const double hz = 440 * std::pow(2.0, (pitch - 69) / 12);
            const size_t at = size_t(3.2 * music::kRate), count = music::kRate / 4;
            const double on = PowerAt(s, hz, at, count);
            EXPECT_GT(on, 4 * PowerAt(s, hz * 1.0595, at, count)) << int(v) << " " << pitch;
            EXPECT_GT(on, 4 * PowerAt(s, hz / 1.0595, at, count)) << int(v) << " " << pitch;
            const size_t over = size_t((3.05 + music::SoundingSeconds(n)) * music::kRate);
            ASSERT_LT(over, s.Frames());
            EXPECT_LT(RmsDb(s, over, s.Frames() - over), -90) << int(v) << " " << pitch;
            EXPECT_LE(music::PeakDb(s), -1.0) << int(v);
        }
    }
}

TEST(Soundtrack, ExcerptsAreMasteredSmoothAndTheSameEveryTime) {
    ASSERT_GE(music::Tracks().size(), 4u);
    double total = 0;
    for (size_t t = 0; t < music::Tracks().size(); ++t) {
        const double length = music::TrackSeconds(t);
        total += length;
        EXPECT_GE(length, 120) << t;
        EXPECT_LE(length, 300) << t;
        const size_t rate = music::kRate;

        const music::Stereo middle = music::Render(t, 60, 66);
        ASSERT_EQ(middle.Frames(), 6 * rate);
        EXPECT_LE(music::PeakDb(middle), -1.0) << t;
        EXPECT_GE(music::RmsDb(middle), -20) << t;
        EXPECT_LE(music::RmsDb(middle), -14) << t;
        EXPECT_LT(WorstClick(middle), 10) << t;
        EXPECT_LT(LongestSilence(middle), 2.0) << t;
        double mean = 0;
        for (size_t i = 0; i < middle.Frames(); ++i)
            mean += middle.left[i] + middle.right[i];
        EXPECT_LT(std::fabs(mean / (2.0 * double(middle.Frames()))), 2e-3) << t;
        const music::Stereo again = music::Render(t, 60, 66);
        EXPECT_TRUE(again.left == middle.left && again.right == middle.right) << t;

        // It rises from silence and falls back to it, without a step at either end.
        const music::Stereo start = music::Render(t, 0, 4);
        EXPECT_LT(std::fabs(start.left[0]) + std::fabs(start.right[0]), 1e-4f) << t;
        EXPECT_LT(RmsDb(start, 0, rate / 10), RmsDb(start, 3 * rate, rate) - 20) << t;
        EXPECT_LT(WorstClick(start), 10) << t;
        const music::Stereo end = music::Render(t, length - 4, length);
        const size_t last = end.Frames() - 1;
        EXPECT_LT(std::fabs(end.left[last]) + std::fabs(end.right[last]), 1e-4f) << t;
        EXPECT_LT(RmsDb(end, last + 1 - rate / 10, rate / 10), RmsDb(end, 0, rate) - 20) << t;
    }
    EXPECT_GE(total, 600);
}

// The tracks the build made, decoded by the same SDL_mixer the game plays them with.
TEST(Soundtrack, ShippedTracksDecodeWithTheirLengthAndLevel) {
    if (!RANQUA_SOUNDTRACK_BUILT) GTEST_SKIP() << "this build makes no tracks";
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    ASSERT_EQ(Mix_OpenAudio(music::kRate, AUDIO_S16SYS, 2, 2048), 0) << Mix_GetError();
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(RANQUA_MUSIC_DIR))
        if (e.path().extension() == ".mp3") files.push_back(e.path());
    EXPECT_EQ(files.size(), music::Tracks().size());
    double total = 0;
    for (const auto& file : files) {
        Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
        ASSERT_NE(chunk, nullptr) << file << ": " << Mix_GetError();
        const auto* pcm = reinterpret_cast<const int16_t*>(chunk->abuf);
        const size_t frames = chunk->alen / 4;
        music::Stereo s;
        s.left.resize(frames);
        s.right.resize(frames);
        for (size_t i = 0; i < frames; ++i) {
            s.left[i] = pcm[2 * i] / 32768.0f;
            s.right[i] = pcm[2 * i + 1] / 32768.0f;
        }
        Mix_FreeChunk(chunk);
        const double seconds = double(frames) / music::kRate;
        total += seconds;
        EXPECT_GE(seconds, 120) << file;
        EXPECT_LE(seconds, 300) << file;
        EXPECT_LE(music::PeakDb(s), -1.0) << file;
        EXPECT_GE(music::RmsDb(s), -20) << file;
        EXPECT_LE(music::RmsDb(s), -14) << file;
        EXPECT_LT(LongestSilence(s), 2.0) << file;
    }
    EXPECT_GE(total, 600);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace
