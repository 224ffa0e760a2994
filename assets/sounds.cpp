// sounds.cpp: the sound effects, each of the exact length the game's sound table gives.
#include "art.h"
#include "wave.h"

#include <cmath>

namespace art {

namespace {

constexpr uint32_t kLogoBytes = 97536;
constexpr uint32_t kClickBytes = 38272;
constexpr uint32_t kShortBytes = 24000;

double Note(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// A chime: a bright arpeggio settling into a soft chord.
Sound Logo() {
    Sound s(kLogoBytes);
    const int notes[] = {3, 7, 10, 15, 19}; // C5 E5 G5 C6 E6
    for (int i = 0; i < 5; ++i)
        s.Bell(0.02 + i * 0.13, Note(notes[i]), 0.5, -0.6 + 0.3 * i, 2.4);
    for (int n : {-9, -2, 3})
        s.Pluck(0.72, Note(n), 0.22, 0.0, 2.2); // C4 G4 C5 underneath
    s.Bell(0.72, Note(22), 0.18, 0.3, 1.6);     // G6 sparkle
    s.Room(0.3);
    return s;
}

// A soft tap, like a fingertip on glass.
Sound Click() {
    Sound s(kClickBytes);
    s.Noise(0.0, 0.04, 2600, 900, 0.8, 0.0, 90, 11);
    s.Partial(0.0, 0.12, 1320, 0.5, 0.0, [](double t) { return std::exp(-55 * t); });
    s.Partial(0.0, 0.1, 2210, 0.2, 0.0, [](double t) { return std::exp(-80 * t); });
    s.Room(0.15);
    return s;
}

// A rising arpeggio to begin.
Sound NewGame() {
    Sound s(kShortBytes);
    const int notes[] = {-9, -5, -2, 3, 7}; // C4 E4 G4 C5 E5
    for (int i = 0; i < 5; ++i)
        s.Pluck(i * 0.065, Note(notes[i]), 0.4, -0.5 + 0.25 * i, 7);
    s.Bell(0.33, Note(15), 0.14, 0.4, 5);
    s.Room(0.2);
    return s;
}

// A soft sweep up, then two notes opening like a drawer.
Sound Load() {
    Sound s(kShortBytes);
    s.Noise(0.0, 0.22, 400, 2400, 0.6, -0.3, 6, 23);
    s.Bell(0.14, Note(-2), 0.4, -0.2, 6); // G4
    s.Bell(0.26, Note(5), 0.42, 0.25, 5); // D5
    s.Room(0.2);
    return s;
}

// Two bell tones a fourth apart: done.
Sound Save() {
    Sound s(kShortBytes);
    s.Bell(0.0, Note(7), 0.45, -0.2, 5);   // E5
    s.Bell(0.14, Note(12), 0.5, 0.2, 4.5); // A5
    s.Pluck(0.14, Note(0), 0.18, 0.0, 6);  // A4 underneath
    s.Room(0.2);
    return s;
}

// A marble set down: a falling pop with a little tick.
Sound Move() {
    Sound s(kShortBytes);
    s.Noise(0.0, 0.02, 3000, 1500, 0.4, 0.0, 160, 31);
    s.Glide(0.0, 0.3, 950, 520, 35, 0.55, 0.0, 22);
    s.Room(0.12);
    return s;
}

// A gentle falling minor line.
Sound Lose() {
    Sound s(kShortBytes);
    const int notes[] = {0, -4, -7, -12}; // A4 F4 D4 A3
    for (int i = 0; i < 4; ++i)
        s.Pluck(i * 0.1, Note(notes[i]), 0.42, 0.3 - 0.2 * i, 6);
    s.Room(0.25);
    return s;
}

// A ball rolling across the board and knocking into place.
Sound BoardMove() {
    Sound s(kClickBytes);
    s.Noise(0.0, 0.62, 300, 700, 0.9, -0.5, 2.5, 41);
    for (int i = 0; i < 9; ++i) { // the roll speeds up a little
        const double t = 0.03 + i * (0.075 - i * 0.003);
        s.Noise(t, 0.02, 1800, 1200, 0.4, -0.5 + i * 0.1, 150, 50 + i);
    }
    s.Bell(0.64, 1180, 0.35, 0.4, 14);
    s.Partial(0.64, 0.1, 600, 0.3, 0.4, [](double t) { return std::exp(-40 * t); });
    s.Room(0.15);
    return s;
}

} // namespace

bool MakeSounds(const std::string& dir) {
    bool ok = Logo().Write(dir + "/LOGO.wav");
    ok &= Click().Write(dir + "/BTN.wav");
    ok &= NewGame().Write(dir + "/W_NEW.wav");
    ok &= Load().Write(dir + "/W_LOAD.wav");
    ok &= Save().Write(dir + "/W_SAVE.wav");
    ok &= Move().Write(dir + "/W_MOVE.wav");
    ok &= Lose().Write(dir + "/W_LOSE.wav");
    ok &= BoardMove().Write(dir + "/W_BDMOVE.wav");
    return ok;
}

} // namespace art
