// music_engine.cpp: the voices (additive, FM, plucked string), a reverb and the master.
#include "music_engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

namespace music {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTurn = 4294967296.0; // one turn of a 32-bit phase

// Sine from a 32-bit phase: a table with linear interpolation is plenty for music and fast.
class SineTable {
public:
    SineTable() {
        for (size_t i = 0; i < m_t.size(); ++i)
            m_t[i] = static_cast<float>(std::sin(2 * kPi * static_cast<double>(i) / 4096));
    }
    float operator()(uint32_t phase) const {
        const uint32_t i = phase >> 20;
        const float f = static_cast<float>(phase & 0xFFFFF) * (1.0f / 1048576.0f);
        return m_t[i] + (m_t[i + 1] - m_t[i]) * f;
    }

private:
    std::array<float, 4097> m_t{};
};

const SineTable kSin;

uint32_t Step(double hz) {
    return static_cast<uint32_t>(static_cast<int64_t>(hz / kRate * kTurn));
}
// A phase offset of `radians` (for phase modulation).
uint32_t Offset(float radians) {
    return static_cast<uint32_t>(static_cast<int64_t>(radians * (kTurn / (2 * kPi))));
}

// A sine that dies away: each Tick gives its value (its phase moved by `offset`), then steps
// the phase and the amplitude on.
struct Partial {
    uint32_t step;
    float amp;
    float decay;
    uint32_t phase = 0;
    float Tick(uint32_t offset = 0) {
        const float s = amp * kSin(phase + offset);
        phase += step;
        amp *= decay;
        return s;
    }
};

double Hz(float pitch) {
    return 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0);
}

double ReleaseSeconds(Voice v) {
    switch (v) {
    case Voice::Pad:
        return 2.2;
    case Voice::Bell:
        return 0.3;
    case Voice::Keys:
        return 0.35;
    case Voice::Pluck:
        return 0.12;
    case Voice::Bass:
        return 0.25;
    case Voice::Arp:
        return 0.15;
    case Voice::Flute:
        return 0.3;
    case Voice::Mallet:
        return 0.1;
    }
    return 0.2;
}

// Struck voices ring for a fixed time whatever the held length.
double RingSeconds(const Note& n) {
    switch (n.voice) {
    case Voice::Bell:
        return 5.0;
    case Voice::Mallet:
        return 2.0;
    case Voice::Pluck:
        return std::min(4.0, std::max(n.length, 1.5));
    default:
        return n.length;
    }
}

// The part of the track being rendered: absolute frames [first, first + size).
struct Bus {
    int64_t first = 0;
    std::vector<float> left, right, send;
};

// Runs `sample(i, t)` for every frame of the note and adds it, shaped by the attack and the
// release ramps, into the bus. Frames before the bus are computed (phases must run) but not
// written.
template <class Sample> void Play(Bus& bus, const Note& n, double attack, Sample sample) {
    const int64_t start = static_cast<int64_t>(std::llround(n.start * kRate));
    const double ring = RingSeconds(n), release = ReleaseSeconds(n.voice);
    const int64_t count = static_cast<int64_t>((ring + release) * kRate);
    const int64_t held = static_cast<int64_t>(ring * kRate);
    const int64_t size = static_cast<int64_t>(bus.left.size());
    if (start + count <= bus.first || start >= bus.first + size) return;
    const float gl = n.velocity * std::sqrt(0.5f * (1 - n.pan));
    const float gr = n.velocity * std::sqrt(0.5f * (1 + n.pan));
    const float attackStep = static_cast<float>(1.0 / std::max(1.0, attack * kRate));
    const float releaseStep = static_cast<float>(1.0 / std::max(1.0, release * kRate));
    float env = 0, fall = 1;
    const int64_t stop = std::min(count, bus.first + size - start);
    for (int64_t i = 0; i < stop; ++i) {
        const float s = sample(i);
        env = std::min(1.0f, env + attackStep);
        if (i >= held) fall = std::max(0.0f, fall - releaseStep);
        const int64_t at = start + i - bus.first;
        if (at < 0) continue;
        // Raised-cosine-like ramps: smooth at both ends, so no step reaches the output.
        const float shaped = env * env * (3 - 2 * env) * fall * fall * (3 - 2 * fall) * s;
        bus.left[at] += gl * shaped;
        bus.right[at] += gr * shaped;
        bus.send[at] += n.send * n.velocity * shaped;
    }
}

void PlayNote(Bus& bus, const Note& n, Random& noise) {
    const double f = Hz(n.pitch);
    const float dt = 1.0f / kRate;
    switch (n.voice) {
    case Voice::Pad: {
        // Two slightly detuned additive oscillators with a soft spectrum and a slow swell.
        constexpr int kParts = 6;
        std::array<uint32_t, 2 * kParts> ph{}, st{};
        std::array<float, 2 * kParts> amp{};
        int parts = 0;
        for (int h = 1; h <= kParts; ++h)
            for (int d = 0; d < 2; ++d) {
                const double hz = f * h * (d ? 1.0023 : 0.9977);
                if (hz > 16000) continue;
                st[parts] = Step(hz);
                ph[parts] = static_cast<uint32_t>(h * 0x2F1A3B7u + d * 0x61C88647u);
                amp[parts] = 0.5f / std::pow(static_cast<float>(h), 1.6f);
                ++parts;
            }
        const uint32_t lfoStep = Step(0.17 + 0.03 * std::fmod(n.pitch, 5.0f));
        uint32_t lfo = 0;
        Play(bus, n, 1.4, [&](int64_t) {
            float s = 0;
            for (int k = 0; k < parts; ++k) {
                s += amp[k] * kSin(ph[k]);
                ph[k] += st[k];
            }
            lfo += lfoStep;
            return s * (0.88f + 0.12f * kSin(lfo));
        });
        break;
    }
    case Voice::Bell: {
        // FM with an inharmonic modulator whose index dies faster than the tone.
        Partial tone{Step(f), 1, std::exp(-dt / 2.4f)};
        // High bells get a smaller index: their sidebands would only add hiss up top.
        Partial mod{Step(f * 3.5), 2.6f * static_cast<float>(std::min(1.0, 700.0 / f)),
                    std::exp(-dt / 0.5f)};
        Partial third{Step(f * 2.76), 0.25f, std::exp(-dt / 0.9f)};
        Play(bus, n, 0.004, [&](int64_t) {
            const float s = tone.Tick(Offset(mod.Tick())) + third.Tick();
            return 0.6f * s;
        });
        break;
    }
    case Voice::Keys: {
        // Electric-piano-like: FM 1:1 whose brightness fades, and a short metallic tine.
        Partial tone{Step(f), 1, std::exp(-dt / 2.2f)};
        Partial mod{Step(f), 1.6f, std::exp(-dt / 0.45f)};
        Partial tine{f * 14 < 16000 ? Step(f * 14) : 0, 0.12f, std::exp(-dt / 0.04f)};
        Play(bus, n, 0.003, [&](int64_t) {
            const float s = tone.Tick(Offset(0.25f + mod.Tick())) + tine.Tick();
            return 0.55f * s;
        });
        break;
    }
    case Voice::Pluck: {
        // A plucked string: a noise burst circulating in a damped delay line.
        // The averaging in the loop delays by half a frame; the rest is the line.
        const double period = kRate / f - 0.5;
        const size_t len = std::max<size_t>(2, static_cast<size_t>(period));
        const float frac = static_cast<float>(period - static_cast<double>(len));
        std::vector<float> line(len + 1);
        float lp = 0, lp2 = 0;
        for (float& x : line) {
            // Two low-passes on the burst: a finger, not a pick.
            lp += 0.16f * ((noise.Unit() * 2 - 1) - lp);
            lp2 += 0.16f * (lp - lp2);
            x = 5.0f * lp2;
        }
        float mean = 0;
        for (float x : line)
            mean += x;
        mean /= static_cast<float>(line.size());
        for (float& x : line)
            x -= mean;
        size_t pos = 0;
        float prev = 0, ap = 0;
        const float loss = static_cast<float>(std::pow(0.001, 1.0 / (f * 3.2)));
        Play(bus, n, 0.0015, [&](int64_t) {
            // Delay len + frac: between the oldest sample and the one after it.
            const float oldest = line[pos];
            const float newer = line[(pos + 1) % line.size()];
            const float y = newer + frac * (oldest - newer);
            const float fb = loss * 0.5f * (y + prev);
            prev = y;
            line[pos] = fb;
            pos = (pos + 1) % line.size();
            ap += 0.4f * (y - ap);
            return 1.6f * ap;
        });
        break;
    }
    case Voice::Bass: {
        uint32_t p = 0;
        const uint32_t s = Step(f);
        float amp = 1;
        const float ka = std::exp(-dt / 1.8f);
        Play(bus, n, 0.03, [&](int64_t) {
            const float x = kSin(p + Offset(0.5f * kSin(p)));
            p += s;
            amp = 0.65f + (amp - 0.65f) * ka;
            return 0.8f * amp * x;
        });
        break;
    }
    case Voice::Arp: {
        // A soft square-ish tone (odd partials) that dies quickly.
        std::array<uint32_t, 4> ph{}, st{};
        const std::array<float, 4> amp{1.0f, 0.2f, 0.11f, 0.05f};
        const std::array<double, 4> mul{1, 2, 3, 5};
        for (size_t k = 0; k < 4; ++k)
            st[k] = f * mul[k] < 16000 ? Step(f * mul[k]) : 0;
        float decay = 1;
        const float kd = std::exp(-dt / 0.5f);
        Play(bus, n, 0.006, [&](int64_t) {
            float s = 0;
            for (size_t k = 0; k < 4; ++k) {
                s += amp[k] * kSin(ph[k]);
                ph[k] += st[k];
            }
            decay *= kd;
            return 0.6f * decay * s;
        });
        break;
    }
    case Voice::Flute: {
        // Sine with two harmonics and a vibrato that comes in late.
        uint32_t p = 0, vib = 0;
        const double base = f / kRate * kTurn;
        const uint32_t vibStep = Step(4.8);
        Play(bus, n, 0.09, [&](int64_t i) {
            const float depth = std::min(1.0f, static_cast<float>(i) / (0.6f * kRate)) * 0.004f;
            const float s = kSin(p) + 0.2f * kSin(2 * p) + 0.06f * kSin(3 * p);
            p += static_cast<uint32_t>(base * (1 + depth * kSin(vib)));
            vib += vibStep;
            return 0.55f * s;
        });
        break;
    }
    case Voice::Mallet: {
        Partial low{Step(f), 1, std::exp(-dt / 0.9f)};
        Partial mid{Step(f * 3.99), 0.3f, std::exp(-dt / 0.12f)};
        Partial high{f * 10 < 16000 ? Step(f * 10) : 0, 0.06f, std::exp(-dt / 0.03f)};
        Play(bus, n, 0.002, [&](int64_t) {
            const float s = low.Tick() + mid.Tick() + high.Tick();
            return 0.7f * s;
        });
        break;
    }
    }
}

// A reverb of parallel damped combs into series allpasses, one network per side.
class Reverb {
public:
    explicit Reverb(const Room& room) : m_room(room) {
        static const std::array<int, 8> comb{1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        static const std::array<int, 4> pass{556, 441, 341, 225};
        for (int side = 0; side < 2; ++side) {
            for (size_t k = 0; k < comb.size(); ++k)
                m_comb[side][k].line.assign(static_cast<size_t>(comb[k] + side * 23), 0.0f);
            for (size_t k = 0; k < pass.size(); ++k)
                m_pass[side][k].line.assign(static_cast<size_t>(pass[k] + side * 23), 0.0f);
        }
    }
    void Run(const std::vector<float>& in, std::vector<float>& left, std::vector<float>& right) {
        for (size_t i = 0; i < in.size(); ++i) {
            const float x = in[i] * 0.03f;
            left[i] += m_room.wet * Side(0, x);
            right[i] += m_room.wet * Side(1, x);
        }
    }

private:
    struct Delay {
        std::vector<float> line;
        size_t pos = 0;
        float store = 0;
    };
    float Side(int side, float x) {
        float out = 0;
        for (Delay& c : m_comb[side]) {
            const float y = c.line[c.pos];
            c.store = y * (1 - m_room.damping) + c.store * m_room.damping;
            c.line[c.pos] = x + c.store * m_room.feedback;
            if (++c.pos == c.line.size()) c.pos = 0;
            out += y;
        }
        for (Delay& a : m_pass[side]) {
            const float b = a.line[a.pos];
            a.line[a.pos] = out + b * 0.5f;
            if (++a.pos == a.line.size()) a.pos = 0;
            out = b - out;
        }
        return out;
    }
    Room m_room;
    std::array<std::array<Delay, 8>, 2> m_comb;
    std::array<std::array<Delay, 4>, 2> m_pass;
};

double Db(double x) {
    return x > 0 ? 20 * std::log10(x) : -200;
}

// Gain that keeps every sample under `ceiling`, changing gently: the needed gain's minimum
// over +-radius frames, averaged over radius frames, is never above the need at any frame.
std::vector<float> LimiterGain(const Stereo& s, float ceiling, size_t radius) {
    const size_t n = s.Frames();
    std::vector<float> need(n), low(n), gain(n);
    for (size_t i = 0; i < n; ++i) {
        const float peak = std::max(std::fabs(s.left[i]), std::fabs(s.right[i]));
        need[i] = peak > ceiling ? ceiling / peak : 1.0f;
    }
    std::deque<size_t> window; // indices with rising need
    size_t next = 0;
    for (size_t i = 0; i < n; ++i) {
        for (; next < n && next <= i + radius; ++next) {
            while (!window.empty() && need[window.back()] >= need[next])
                window.pop_back();
            window.push_back(next);
        }
        while (window.front() + radius < i)
            window.pop_front();
        low[i] = need[window.front()];
    }
    // Averaging over +-radius/2 keeps every frame's gain under its own need: each value
    // averaged is a minimum over a window that holds that frame.
    const size_t half = radius / 2;
    std::vector<double> prefix(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i)
        prefix[i + 1] = prefix[i] + low[i];
    for (size_t i = 0; i < n; ++i) {
        const size_t a = i > half ? i - half : 0, b = std::min(n, i + half + 1);
        gain[i] = std::min(
            1.0f, static_cast<float>((prefix[b] - prefix[a]) / static_cast<double>(b - a)));
    }
    return gain;
}

} // namespace

double SoundingSeconds(const Note& n) {
    return RingSeconds(n) + ReleaseSeconds(n.voice);
}

double PeakDb(const Stereo& s) {
    float peak = 0;
    for (size_t i = 0; i < s.Frames(); ++i)
        peak = std::max({peak, std::fabs(s.left[i]), std::fabs(s.right[i])});
    return Db(peak);
}

namespace {

// Both channels' squares over frames [a, b).
double SumSquares(const Stereo& s, size_t a, size_t b) {
    double sum = 0;
    for (size_t i = a; i < b; ++i)
        sum += static_cast<double>(s.left[i]) * s.left[i] +
               static_cast<double>(s.right[i]) * s.right[i];
    return sum;
}

} // namespace

double RmsDb(const Stereo& s) {
    const double sum = SumSquares(s, 0, s.Frames());
    return s.Frames() ? Db(std::sqrt(sum / (2.0 * static_cast<double>(s.Frames())))) : -200;
}

Stereo Mix(const std::vector<Note>& notes, double length, double from, double to,
           const Room& room) {
    // The reverb needs a few seconds of what came before to sound the same in an excerpt.
    const double warm = std::max(0.0, from - 4.0);
    Bus bus;
    bus.first = static_cast<int64_t>(std::llround(warm * kRate));
    const int64_t last = static_cast<int64_t>(std::llround(std::min(to, length) * kRate));
    const size_t size = static_cast<size_t>(std::max<int64_t>(0, last - bus.first));
    bus.left.assign(size, 0.0f);
    bus.right.assign(size, 0.0f);
    bus.send.assign(size, 0.0f);
    Random noise(0x5EED);
    for (const Note& n : notes) {
        // Each pluck's noise is its own, so an excerpt hears the same strings as the whole.
        Random own(noise.Next() ^ static_cast<uint32_t>(n.start * 1000));
        PlayNote(bus, n, own);
    }
    Reverb reverb(room);
    reverb.Run(bus.send, bus.left, bus.right);

    Stereo out;
    out.left = std::move(bus.left);
    out.right = std::move(bus.right);
    // No DC: a gentle high-pass at about 12 Hz.
    const float r = static_cast<float>(std::exp(-2 * kPi * 12.0 / kRate));
    for (std::vector<float>* ch : {&out.left, &out.right}) {
        float x1 = 0, y1 = 0;
        for (float& x : *ch) {
            const float y = x - x1 + r * y1;
            x1 = x;
            y1 = y;
            x = y;
        }
    }
    // Level from the part outside the fades.
    const int64_t fadeInEnd = static_cast<int64_t>(kFadeInSeconds * kRate);
    const int64_t fadeOutStart = static_cast<int64_t>((length - kFadeOutSeconds) * kRate);
    const int64_t from64 = static_cast<int64_t>(std::llround(from * kRate));
    const auto frames = static_cast<int64_t>(out.Frames());
    const auto a = static_cast<size_t>(
        std::clamp(std::max(from64, fadeInEnd) - bus.first, int64_t{0}, frames));
    const auto b = static_cast<size_t>(std::clamp(fadeOutStart - bus.first, int64_t{0}, frames));
    size_t counted = b > a ? b - a : 0;
    double sum = counted ? SumSquares(out, a, b) : 0;
    if (counted == 0) {
        sum = SumSquares(out, 0, out.Frames());
        counted = out.Frames();
    }
    const double rms = counted ? std::sqrt(sum / (2.0 * static_cast<double>(counted))) : 0;
    const float gain = rms > 0 ? static_cast<float>(std::pow(10.0, kRmsTargetDb / 20) / rms) : 1.0f;
    for (size_t i = 0; i < out.Frames(); ++i) {
        const double t = static_cast<double>(bus.first + static_cast<int64_t>(i)) / kRate;
        double fade = 1;
        if (t < kFadeInSeconds) fade = 0.5 - 0.5 * std::cos(kPi * t / kFadeInSeconds);
        if (t > length - kFadeOutSeconds)
            fade *= 0.5 + 0.5 * std::cos(kPi * std::min(1.0, (t - (length - kFadeOutSeconds)) /
                                                                 kFadeOutSeconds));
        out.left[i] *= gain * static_cast<float>(fade);
        out.right[i] *= gain * static_cast<float>(fade);
    }
    const float ceiling = static_cast<float>(std::pow(10.0, kPeakCeilingDb / 20));
    const std::vector<float> limit = LimiterGain(out, ceiling, kRate / 100);
    for (size_t i = 0; i < out.Frames(); ++i) {
        out.left[i] *= limit[i];
        out.right[i] *= limit[i];
    }
    // Rounding in the averages must not let a sample through above the ceiling.
    const double over = std::pow(10.0, (PeakDb(out) - kPeakCeilingDb) / 20);
    if (over > 1)
        for (size_t i = 0; i < out.Frames(); ++i) {
            out.left[i] /= static_cast<float>(over);
            out.right[i] /= static_cast<float>(over);
        }
    // Drop the warm-up.
    const size_t skip = static_cast<size_t>(
        std::clamp<int64_t>(from64 - bus.first, 0, static_cast<int64_t>(out.Frames())));
    out.left.erase(out.left.begin(), out.left.begin() + static_cast<std::ptrdiff_t>(skip));
    out.right.erase(out.right.begin(), out.right.begin() + static_cast<std::ptrdiff_t>(skip));
    return out;
}

} // namespace music
