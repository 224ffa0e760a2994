// music_engine.h: notes, voices and the mixer that turns them into a mastered stereo part.
#pragma once

#include "music.h"

#include <cstdint>
#include <vector>

namespace music {

// A small seeded generator: the same seed gives the same music on every machine.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
    }
    // Uniform in [0, 1).
    float Unit() { return static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint64_t m_state;
};

enum class Voice { Pad, Bell, Keys, Pluck, Bass, Arp, Flute, Mallet };

struct Note {
    double start = 0;  // seconds
    double length = 0; // seconds the key is held; each voice adds its own release
    float pitch = 60;  // MIDI note number
    float velocity = 0.5f;
    float pan = 0;     // -1 left .. 1 right
    float send = 0.3f; // share sent to the reverb
    Voice voice = Voice::Pad;
};

// Seconds a note sounds after its start, release included.
double SoundingSeconds(const Note& n);

struct Room {
    float feedback = 0.84f; // larger: a longer tail
    float damping = 0.25f;  // larger: a darker tail
    float wet = 0.35f;
};

// Renders the notes into [from, to) of a track `length` seconds long, with the reverb, the
// fades and the level of the master.
Stereo Mix(const std::vector<Note>& notes, double length, double from, double to, const Room& room);

} // namespace music
