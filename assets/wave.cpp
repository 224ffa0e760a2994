// wave.cpp: synthesis primitives and the PCM WAVE writer.
#include "wave.h"

#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace art {

Sound::Sound(uint32_t dataBytes) : m_left(dataBytes / 4), m_right(dataBytes / 4) {}

void Sound::Bell(double start, double freq, double amp, double pan, double decay) {
    static const double ratios[] = {1.0, 2.0, 2.76, 4.07, 5.4};
    static const double gains[] = {1.0, 0.45, 0.32, 0.16, 0.1};
    const double length = (Frames() / static_cast<double>(kRate)) - start;
    for (int i = 0; i < 5; ++i) {
        const double d = decay * (1 + 0.9 * i);
        Partial(start, length, freq * ratios[i], amp * gains[i], pan,
                [d](double t) { return std::min(1.0, t / 0.003) * std::exp(-d * t); });
    }
}

void Sound::Pluck(double start, double freq, double amp, double pan, double decay) {
    const double length = (Frames() / static_cast<double>(kRate)) - start;
    for (int n = 1; n <= 6; ++n) {
        const double d = decay * (1 + 0.5 * (n - 1));
        Partial(start, length, freq * n, amp / (n * n * 0.6 + 0.4), pan,
                [d](double t) { return std::min(1.0, t / 0.006) * std::exp(-d * t); });
    }
}

void Sound::Noise(double start, double length, double lo, double hi, double amp, double pan,
                  double decay, uint32_t seed) {
    Rng rng(seed);
    const size_t first = static_cast<size_t>(start * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    const double gl = amp * (1 - pan) * 0.5, gr = amp * (1 + pan) * 0.5;
    double y1 = 0, y = 0; // two one-pole stages, for a soft rather than hissy noise
    for (size_t i = 0; i < count && first + i < Frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double corner = lo + (hi - lo) * (t / length);
        const double a = 1 - std::exp(-2 * M_PI * corner / kRate);
        y1 += a * ((rng.Uniform() * 2 - 1) - y1);
        y += a * (y1 - y);
        const double env = std::min(1.0, t / 0.004) * std::exp(-decay * t);
        m_left[first + i] += gl * env * y;
        m_right[first + i] += gr * env * y;
    }
}

void Sound::Glide(double start, double length, double f0, double f1, double speed, double amp,
                  double pan, double decay) {
    const size_t first = static_cast<size_t>(start * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    const double gl = amp * (1 - pan) * 0.5, gr = amp * (1 + pan) * 0.5;
    double phase = 0;
    for (size_t i = 0; i < count && first + i < Frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double env = std::min(1.0, t / 0.003) * std::exp(-decay * t);
        const double s = env * std::sin(phase);
        m_left[first + i] += gl * s;
        m_right[first + i] += gr * s;
        phase += 2 * M_PI * (f1 + (f0 - f1) * std::exp(-speed * t)) / kRate;
    }
}

void Sound::Room(double mix) {
    auto comb = [](std::vector<double>& x, size_t d1, size_t d2, double g) {
        std::vector<double> y(x.size(), 0.0);
        for (size_t i = 0; i < x.size(); ++i) {
            const double a = i >= d1 ? y[i - d1] : 0, b = i >= d2 ? y[i - d2] : 0;
            y[i] = x[i] + g * 0.5 * (a + b);
        }
        return y;
    };
    const std::vector<double> l = comb(m_left, 331, 487, 0.62);
    const std::vector<double> r = comb(m_right, 373, 449, 0.62);
    for (size_t i = 0; i < Frames(); ++i) {
        m_left[i] = m_left[i] * (1 - mix) + (l[i] - m_left[i]) * mix;
        m_right[i] = m_right[i] * (1 - mix) + (r[i] - m_right[i]) * mix;
    }
}

namespace {
void Put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(static_cast<uint8_t>(x & 0xFF));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, static_cast<uint16_t>(x & 0xFFFF));
    Put16(v, static_cast<uint16_t>(x >> 16));
}
void PutTag(std::vector<uint8_t>& v, const char* tag) {
    v.insert(v.end(), tag, tag + 4);
}
} // namespace

bool Sound::Write(const std::string& path) {
    double peak = 1e-9;
    for (size_t i = 0; i < Frames(); ++i)
        peak = std::max({peak, std::fabs(m_left[i]), std::fabs(m_right[i])});
    const double gain = 0.75 / peak;
    const size_t fadeIn = kRate * 3 / 1000, fadeOut = kRate * 30 / 1000;
    std::vector<uint8_t> v;
    PutTag(v, "RIFF");
    Put32(v, 36 + DataBytes());
    PutTag(v, "WAVE");
    PutTag(v, "fmt ");
    Put32(v, 16);
    Put16(v, 1); // PCM
    Put16(v, 2);
    Put32(v, kRate);
    Put32(v, kRate * 4);
    Put16(v, 4);
    Put16(v, 16);
    PutTag(v, "data");
    Put32(v, DataBytes());
    for (size_t i = 0; i < Frames(); ++i) {
        double env = 1;
        if (i < fadeIn) env = static_cast<double>(i) / fadeIn;
        if (Frames() - i <= fadeOut) env = std::min(env, (Frames() - 1 - i) / double(fadeOut));
        for (double s : {m_left[i], m_right[i]}) {
            const long q = std::lround(std::clamp(s * gain * env, -1.0, 1.0) * 32767);
            Put16(v, static_cast<uint16_t>(static_cast<int16_t>(q)));
        }
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(v.data(), 1, v.size(), f) == v.size();
    if (f) ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "ranqua-assets: cannot write %s\n", path.c_str());
    return ok;
}

} // namespace art
