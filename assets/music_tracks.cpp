// music_tracks.cpp: the four pieces of the soundtrack: harmony, melodies and their parts.
#include "music_engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace music {

namespace {

using Mode = std::array<int, 7>;
constexpr Mode kMajor{0, 2, 4, 5, 7, 9, 11};
constexpr Mode kMinor{0, 2, 3, 5, 7, 8, 10};

enum class Style { PadBells, Arpeggio, Fingerpick, KeysBass };

struct Song {
    TrackInfo info;
    int tonic; // pitch class, 0 = C
    Mode mode;
    int beatsPerBar;
    std::array<int, 8> verse, bridge; // chord of each bar, as a degree of the mode
    const char* plan;                 // sections of 8 bars: Intro, A (verse), B (bridge), Outro
    Style style;
    Room room;
    uint64_t seed;
};

const std::array<Song, 4> kSongs{{
    {{"Still Water", "D major", 64},
     2,
     kMajor,
     4,
     {0, 5, 3, 4, 0, 5, 1, 4},
     {3, 4, 2, 5, 3, 4, 1, 4},
     "IAABAO",
     Style::PadBells,
     {0.86f, 0.3f, 0.5f},
     11},
    {{"Lantern Steps", "A minor", 92},
     9,
     kMinor,
     4,
     {0, 5, 2, 6, 0, 5, 3, 4},
     {3, 0, 5, 6, 3, 0, 1, 4},
     "IAABAABO",
     Style::Arpeggio,
     {0.82f, 0.35f, 0.35f},
     23},
    {{"Paper Boats", "G major", 84},
     7,
     kMajor,
     3,
     {0, 4, 5, 3, 0, 4, 3, 4},
     {5, 2, 3, 0, 5, 2, 1, 4},
     "IAABAABAO",
     Style::Fingerpick,
     {0.8f, 0.4f, 0.3f},
     37},
    {{"Evening Ember", "F major", 72},
     5,
     kMajor,
     4,
     {0, 2, 5, 1, 3, 2, 1, 4},
     {3, 4, 2, 5, 1, 4, 0, 4},
     "IAABAO",
     Style::KeysBass,
     {0.83f, 0.45f, 0.3f},
     53},
}};

constexpr int kSectionBars = 8;
constexpr int kTailBars = 2; // the last chord rings out under the fade

// One note of a melody: beats from the start of its two-bar motif, and a degree counted
// from the root of the chord it starts on.
struct MotifNote {
    double beat, beats;
    int degree;
};
using Motif = std::vector<MotifNote>;

class Composer {
public:
    explicit Composer(const Song& song) : m_song(song), m_rand(song.seed) {}

    std::vector<Note> Write() {
        m_main = MakeMotif();
        m_answer = MakeMotif();
        int bar = 0, verses = 0;
        for (const char* p = m_song.plan; *p; ++p, bar += kSectionBars) {
            switch (*p) {
            case 'I':
                Intro(bar);
                break;
            case 'A':
                Verse(bar, verses++);
                break;
            case 'B':
                Bridge(bar);
                break;
            case 'O':
                Outro(bar);
                break;
            }
        }
        return std::move(m_notes);
    }

private:
    double Seconds(double beat) const { return beat * 60.0 / m_song.info.tempo; }
    int BarBeats() const { return m_song.beatsPerBar; }

    // MIDI pitch of a degree of the mode; octave 4 starts at middle C.
    float Pitch(int degree, int octave) const {
        const int o = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
        const int d = degree - 7 * o;
        return static_cast<float>(12 * (octave + 1 + o) + m_song.tonic +
                                  m_song.mode[static_cast<size_t>(d)]);
    }

    void Add(Voice v, double beat, double beats, float pitch, float velocity, float pan,
             float send) {
        Note n;
        // A player is never exactly on the grid.
        n.start = std::max(0.0, Seconds(beat) + (m_rand.Unit() - 0.5) * 0.012);
        n.length = Seconds(beats);
        n.pitch = pitch;
        n.velocity = velocity * (0.9f + 0.2f * m_rand.Unit());
        n.pan = pan;
        n.send = send;
        n.voice = v;
        m_notes.push_back(n);
    }

    // A two-bar motif: a rhythm from a few shapes, a line that mostly steps, chord tones on
    // the strong beats.
    Motif MakeMotif() {
        static const std::vector<std::vector<std::pair<double, double>>> four{
            {{0, 1.5}, {1.5, 0.5}, {2, 2}, {4, 1}, {5, 1}, {6, 2}},
            {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 3}, {7, 1}},
            {{0, 2}, {2, 1}, {3, 1}, {4, 4}},
            {{0.5, 0.5}, {1, 1.5}, {2.5, 1.5}, {4, 1}, {5, 0.5}, {5.5, 2.5}},
        };
        static const std::vector<std::vector<std::pair<double, double>>> three{
            {{0, 2}, {2, 1}, {3, 1.5}, {4.5, 0.5}, {5, 1}},
            {{0, 1}, {1, 1}, {2, 1}, {3, 3}},
            {{0, 3}, {3, 1}, {4, 2}},
        };
        const auto& shapes = BarBeats() == 3 ? three : four;
        const auto& rhythm =
            shapes[static_cast<size_t>(m_rand.Below(static_cast<int>(shapes.size())))];
        Motif m;
        int degree = std::array<int, 3>{0, 2, 4}[static_cast<size_t>(m_rand.Below(3))];
        int direction = m_rand.Below(2) ? 1 : -1;
        for (const auto& [beat, beats] : rhythm) {
            if (!m.empty()) {
                if (m_rand.Below(4) == 0) direction = -direction;
                degree += direction * (1 + (m_rand.Below(3) == 0));
                degree = std::clamp(degree, -3, 9);
            }
            const bool strong = std::fmod(beat, BarBeats()) == 0 || beats >= 2;
            if (strong) degree = ChordTone(degree);
            m.push_back({beat, beats, degree});
        }
        return m;
    }

    // The nearest chord tone (root, third, fifth) at or below a degree.
    static int ChordTone(int degree) {
        const int r = ((degree % 7) + 7) % 7;
        return r == 1 || r == 3 || r == 5 ? degree - 1 : r == 6 ? degree + 1 : degree;
    }

    int Chord(const std::array<int, 8>& prog, int bar) const {
        return prog[static_cast<size_t>(bar % kSectionBars)];
    }

    // Plays a motif over two bars of a progression, each note measured from the chord of its
    // own bar; `variant` changes it as a returning phrase changes.
    void PlayMotif(const Motif& m, const std::array<int, 8>& prog, int firstBar, int localBar,
                   int variant, Voice voice, int octave, float velocity, float pan) {
        const double base = firstBar * BarBeats();
        for (size_t k = 0; k < m.size(); ++k) {
            MotifNote n = m[k];
            if (variant == 2) n.degree = -n.degree + 4;              // the line turned upside down
            if (variant == 3 && k % 2 == 1 && n.beats < 1) continue; // plainer, calmer
            const int barInMotif = static_cast<int>(n.beat) / BarBeats();
            const int chord = Chord(prog, localBar + barInMotif);
            int degree = chord + n.degree;
            if (std::fmod(n.beat, BarBeats()) == 0) degree = chord + ChordTone(n.degree);
            if (variant == 1 && n.beats >= 1.5 && k + 1 < m.size()) {
                // A grace of the note above leads into the long notes.
                Add(voice, base + n.beat, 0.5, Pitch(degree + 1, octave), velocity * 0.8f, pan,
                    0.4f);
                Add(voice, base + n.beat + 0.5, n.beats - 0.5, Pitch(degree, octave), velocity, pan,
                    0.4f);
                continue;
            }
            Add(voice, base + n.beat, n.beats, Pitch(degree, octave), velocity, pan, 0.4f);
        }
    }

    // Eight bars of melody: motif, motif again (changed), the answer, and the motif closing
    // on the chord's root.
    void Phrase(const std::array<int, 8>& prog, int bar, int variant, Voice voice, int octave,
                float velocity, float pan, const Motif& first, const Motif& second) {
        PlayMotif(first, prog, bar, 0, variant, voice, octave, velocity, pan);
        PlayMotif(first, prog, bar + 2, 2, (variant + 1) % 4, voice, octave, velocity, pan);
        PlayMotif(second, prog, bar + 4, 4, variant, voice, octave, velocity * 0.95f, pan);
        Motif close = first;
        while (close.size() > 1 && close.back().beat >= BarBeats())
            close.pop_back();
        close.push_back({static_cast<double>(BarBeats()), static_cast<double>(BarBeats()), 0});
        PlayMotif(close, prog, bar + 6, 6, variant == 2 ? 0 : variant, voice, octave, velocity,
                  pan);
    }

    // Close voicing of the chord around a middle pitch: root, third, fifth (and seventh).
    std::vector<float> Voicing(int chord, int tones, float centre) const {
        std::vector<float> out;
        for (int t = 0; t < tones; ++t) {
            float p = Pitch(chord + 2 * t, 4);
            while (p > centre + 6)
                p -= 12;
            while (p < centre - 6)
                p += 12;
            out.push_back(p);
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    void Accompany(const std::array<int, 8>& prog, int bar, int bars, float density) {
        for (int b = 0; b < bars; ++b) {
            const int chord = Chord(prog, b);
            const int next = Chord(prog, b + 1);
            const double at = (bar + b) * BarBeats();
            const double len = BarBeats();
            switch (m_song.style) {
            case Style::PadBells: {
                for (float p : Voicing(chord, 3, 62))
                    Add(Voice::Pad, at, len + 0.2, p, 0.16f, (p - 62) / 14, 0.6f);
                Add(Voice::Bass, at, len * 0.9, Pitch(chord, 2), 0.4f, 0, 0.1f);
                // Bells now and then, high and far.
                if (density > 0 && m_rand.Unit() < 0.5f * density) {
                    const double when = at + m_rand.Below(2 * BarBeats()) * 0.5;
                    const int tone = chord + 2 * m_rand.Below(3);
                    Add(Voice::Bell, when, 1, Pitch(tone, 6), 0.1f, m_rand.Unit() * 1.4f - 0.7f,
                        0.8f);
                }
                break;
            }
            case Style::Arpeggio: {
                for (float p : Voicing(chord, 3, 60))
                    Add(Voice::Pad, at, len + 0.2, p, 0.09f, 0, 0.5f);
                Add(Voice::Bass, at, 1.8, Pitch(chord, 2), 0.35f, 0, 0.1f);
                Add(Voice::Bass, at + 2, 1.8, Pitch(b % 2 ? chord + 4 : chord, 2), 0.3f, 0, 0.1f);
                static const std::array<int, 8> up{0, 2, 4, 7, 9, 7, 4, 2};
                for (int s = 0; s < 2 * BarBeats(); ++s) {
                    if (density < 1 && s % 2 == 1) continue;
                    const int degree = chord + up[static_cast<size_t>(s % 8)];
                    Add(Voice::Arp, at + s * 0.5, 0.45, Pitch(degree, 4), 0.22f,
                        s % 2 ? 0.45f : -0.45f, 0.35f);
                }
                break;
            }
            case Style::Fingerpick: {
                for (float p : Voicing(chord, 3, 64))
                    Add(Voice::Pad, at, len + 0.2, p, 0.06f, 0, 0.5f);
                const int bass = b % 2 ? chord + 4 - 7 : chord;
                Add(Voice::Pluck, at, 2.5, Pitch(bass, 3), 0.4f, -0.2f, 0.25f);
                static const std::array<int, 5> pick{4, 7, 9, 7, 4};
                for (int s = 1; s < 2 * BarBeats(); ++s) {
                    if (density < 1 && s % 2 == 0) continue;
                    const int degree = chord + pick[static_cast<size_t>((s - 1) % 5)];
                    Add(Voice::Pluck, at + s * 0.5, 1.5, Pitch(degree, 3), 0.25f, 0.3f, 0.3f);
                }
                break;
            }
            case Style::KeysBass: {
                for (float p : Voicing(chord, 3, 58))
                    Add(Voice::Pad, at, len + 0.2, p, 0.06f, 0, 0.5f);
                const std::vector<float> keys = Voicing(chord, 4, 62);
                for (float p : keys) {
                    Add(Voice::Keys, at, 1.4, p, 0.16f, -0.25f, 0.35f);
                    if (density > 0) Add(Voice::Keys, at + 2.5, 1.3, p, 0.12f, -0.25f, 0.35f);
                }
                // A walking line: root, fifth, and a step into the next chord.
                const float root = Pitch(chord, 2);
                const float target = Pitch(next, 2);
                Add(Voice::Bass, at, 1.5, root, 0.42f, 0.1f, 0.1f);
                const float fifth = Pitch(chord + 4, 2);
                Add(Voice::Bass, at + 1.5, 1, fifth - (fifth - root > 7 ? 12 : 0), 0.32f, 0.1f,
                    0.1f);
                if (density > 0) {
                    Add(Voice::Bass, at + 2.5, 1, Pitch(chord + 2, 2), 0.3f, 0.1f, 0.1f);
                    Add(Voice::Bass, at + 3.5, 0.5, target + (target > root ? -1.0f : 1.0f), 0.28f,
                        0.1f, 0.1f);
                } else {
                    Add(Voice::Bass, at + 2.5, 1.5, root, 0.3f, 0.1f, 0.1f);
                }
                break;
            }
            }
        }
    }

    Voice Lead(int variant) const {
        switch (m_song.style) {
        case Style::PadBells:
            return variant % 2 ? Voice::Mallet : Voice::Bell;
        case Style::Arpeggio:
            return variant % 2 ? Voice::Bell : Voice::Flute;
        case Style::Fingerpick:
        case Style::KeysBass:
            return variant % 2 ? Voice::Flute : Voice::Mallet;
        }
        return Voice::Bell;
    }

    void Intro(int bar) {
        Accompany(m_song.verse, bar, kSectionBars, 0);
        // A hint of the tune, slow and far, in the second half.
        Motif hint;
        for (const MotifNote& n : m_main)
            if (n.beats >= 1) hint.push_back({n.beat, n.beats * 1.5, n.degree});
        PlayMotif(hint, m_song.verse, bar + 4, 4, 3, Voice::Bell, 5, 0.12f, 0.3f);
    }

    void Verse(int bar, int count) {
        Accompany(m_song.verse, bar, kSectionBars, 1);
        const int variant = count % 4;
        Phrase(m_song.verse, bar, variant, Lead(count), 5, 0.3f, count % 2 ? 0.2f : -0.1f, m_main,
               m_answer);
        // On its return the tune gets a second voice, a third below, quieter.
        if (count >= 1)
            Phrase(m_song.verse, bar, variant, Lead(count + 1), 4, 0.13f, -0.4f, m_answer, m_main);
    }

    void Bridge(int bar) {
        Accompany(m_song.bridge, bar, kSectionBars, 0.6f);
        Phrase(m_song.bridge, bar, 2, Lead(1), 5, 0.26f, 0.25f, m_answer, m_main);
    }

    void Outro(int bar) {
        Accompany(m_song.verse, bar, kSectionBars / 2, 0);
        Motif hint;
        for (const MotifNote& n : m_main)
            if (n.beat < BarBeats()) hint.push_back(n);
        PlayMotif(hint, m_song.verse, bar, 0, 3, Lead(0), 5, 0.2f, 0);
        // The home chord, held to the end.
        const double at = (bar + kSectionBars / 2) * BarBeats();
        const double held = (kSectionBars / 2 + kTailBars) * BarBeats();
        for (float p : Voicing(0, 3, 62))
            Add(Voice::Pad, at, held, p, 0.16f, (p - 62) / 14, 0.6f);
        Add(Voice::Bass, at, held, Pitch(0, 2), 0.35f, 0, 0.1f);
        Add(Voice::Bell, at, 1, Pitch(0, 5), 0.18f, 0.2f, 0.7f);
        Add(Voice::Bell, at + BarBeats() * 2, 1, Pitch(4, 5), 0.12f, -0.3f, 0.7f);
        Add(Voice::Bell, at + BarBeats() * 4, 1, Pitch(0, 5), 0.1f, 0.3f, 0.8f);
    }

    const Song& m_song;
    Random m_rand;
    Motif m_main, m_answer;
    std::vector<Note> m_notes;
};

double SongSeconds(const Song& s) {
    const int bars = static_cast<int>(std::string(s.plan).size()) * kSectionBars + kTailBars;
    return bars * s.beatsPerBar * 60.0 / s.info.tempo;
}

} // namespace

const std::vector<TrackInfo>& Tracks() {
    static const std::vector<TrackInfo> tracks = [] {
        std::vector<TrackInfo> t;
        for (const Song& s : kSongs)
            t.push_back(s.info);
        return t;
    }();
    return tracks;
}

double TrackSeconds(size_t track) {
    return SongSeconds(kSongs.at(track));
}

Stereo Render(size_t track, double from, double to) {
    const Song& song = kSongs.at(track);
    const std::vector<Note> notes = Composer(song).Write();
    return Mix(notes, SongSeconds(song), std::max(0.0, from), to, song.room);
}

} // namespace music
