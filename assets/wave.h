// wave.h: a small synthesiser for the sound effects and the WAVE writer.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace art {

constexpr int kRate = 11025;

// Stereo sample buffer of a fixed length, in seconds-based time.
class Sound {
public:
    explicit Sound(uint32_t dataBytes);
    size_t Frames() const { return m_left.size(); }
    uint32_t DataBytes() const { return static_cast<uint32_t>(Frames() * 4); }

    // Adds one sine partial; env gives the amplitude at time t since start.
    template <class Envelope>
    void Partial(double start, double length, double freq, double amp, double pan, Envelope env);
    // A struck bell: inharmonic partials, the high ones dying first.
    void Bell(double start, double freq, double amp, double pan, double decay = 3.0);
    // A plucked string: harmonics with a soft attack.
    void Pluck(double start, double freq, double amp, double pan, double decay = 6.0);
    // Noise through a one-pole low-pass whose corner follows from (lo to hi) over the length.
    void Noise(double start, double length, double lo, double hi, double amp, double pan,
               double decay, uint32_t seed);
    // A sine whose pitch falls from f0 towards f1 at the given speed while it dies away.
    void Glide(double start, double length, double f0, double f1, double speed, double amp,
               double pan, double decay);
    // A short room: two feedback delays per side, mixed in.
    void Room(double mix);

    // Scales to a peak of 0.75 of full scale, fades both ends, writes a PCM WAVE file.
    bool Write(const std::string& path);

private:
    std::vector<double> m_left, m_right;
};

template <class Envelope>
void Sound::Partial(double start, double length, double freq, double amp, double pan,
                    Envelope env) {
    if (freq >= kRate * 0.45) return; // would fold back as a false pitch
    const size_t first = static_cast<size_t>(start * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    const double gl = amp * (1 - pan) * 0.5, gr = amp * (1 + pan) * 0.5;
    double phase = 0;
    const double step = 2 * 3.141592653589793 * freq / kRate;
    for (size_t i = 0; i < count && first + i < Frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double s = env(t) * std::sin(phase);
        m_left[first + i] += gl * s;
        m_right[first + i] += gr * s;
        phase += step;
    }
}

} // namespace art
