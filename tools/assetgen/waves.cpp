// SPDX-License-Identifier: MIT
#include "waves.h"

#include "output.h"
#include "rng.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace assetgen {
namespace {

constexpr int kRate = 22050;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct Sound {
    int channels;
    int bits;
    std::vector<double> left, right;  // -1..1; right unused for mono

    Sound(int ch, int b, double seconds)
        : channels(ch),
          bits(b),
          left(static_cast<std::size_t>(std::lround(seconds * kRate)), 0.0),
          right(left.size(), 0.0) {}

    int Frames() const { return static_cast<int>(left.size()); }

    // Adds a mono value at frame i, placed between the speakers by pan (-1 left .. 1 right).
    void Add(int i, double value, double pan = 0.0) {
        if (i < 0 || i >= Frames()) {
            return;
        }
        if (channels == 1) {
            left[static_cast<std::size_t>(i)] += value;
            return;
        }
        const double angle = (pan + 1.0) * std::numbers::pi / 4.0;  // equal-power panning
        left[static_cast<std::size_t>(i)] += value * std::cos(angle) * std::numbers::sqrt2;
        right[static_cast<std::size_t>(i)] += value * std::sin(angle) * std::numbers::sqrt2;
    }

    // Scales so that the loudest sample reaches peak, and fades the last milliseconds to silence
    // so that no effect ends on a click.
    void Finish(double peak) {
        double most = 1e-9;
        for (int i = 0; i < Frames(); ++i) {
            most = std::max({most, std::abs(left[static_cast<std::size_t>(i)]), std::abs(right[static_cast<std::size_t>(i)])});
        }
        const int fade = std::min(Frames() / 4, kRate / 200);
        for (int i = 0; i < Frames(); ++i) {
            double gain = peak / most;
            if (i >= Frames() - fade) {
                gain *= static_cast<double>(Frames() - 1 - i) / fade;
            }
            left[static_cast<std::size_t>(i)] *= gain;
            right[static_cast<std::size_t>(i)] *= gain;
        }
    }
};

// A two-pole band-pass (RBJ cookbook, constant peak gain) whose centre may move every sample.
class BandPass {
public:
    double Run(double x, double centre, double q) {
        const double w = kTwoPi * std::clamp(centre, 20.0, kRate * 0.45) / kRate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        const double b0 = alpha / a0, b2 = -alpha / a0;
        const double a1 = -2.0 * std::cos(w) / a0, a2 = (1.0 - alpha) / a0;
        const double y = b0 * x + b2 * x2_ - a1 * y1_ - a2 * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A one-pole low-pass, for taking the edge off noise and buzzy tones.
class LowPass {
public:
    double Run(double x, double cutoff) {
        const double a = 1.0 - std::exp(-kTwoPi * cutoff / kRate);
        y_ += a * (x - y_);
        return y_;
    }

private:
    double y_ = 0;
};

double NoteHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

// A struck bell or chime: inharmonic partials that die away at different speeds.
void Bell(Sound& s, double start, double hz, double seconds, double gain, double pan) {
    struct Partial {
        double ratio, level, decay;
    };
    constexpr Partial kPartials[] = {{0.5, 0.25, 0.9}, {1.0, 1.0, 1.0}, {2.0, 0.45, 0.55}, {2.76, 0.35, 0.4},
                                     {4.07, 0.18, 0.25}, {5.4, 0.12, 0.18}};
    const int from = static_cast<int>(start * kRate);
    const int count = static_cast<int>(seconds * kRate);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.002);
        double v = 0;
        for (const Partial& p : kPartials) {
            v += p.level * std::exp(-t / (seconds * p.decay * 0.35)) * std::sin(kTwoPi * hz * p.ratio * t);
        }
        s.Add(from + i, gain * attack * v, pan);
    }
}

// A mallet tone (marimba-like): a fundamental with a quickly fading fourth partial.
void Mallet(Sound& s, double start, double hz, double seconds, double gain, double pan) {
    const int from = static_cast<int>(start * kRate);
    const int count = static_cast<int>(seconds * kRate);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.003);
        const double v = std::exp(-t / (seconds * 0.3)) * std::sin(kTwoPi * hz * t) +
                         0.35 * std::exp(-t / 0.03) * std::sin(kTwoPi * hz * 4.0 * t) +
                         0.15 * std::exp(-t / (seconds * 0.2)) * std::sin(kTwoPi * hz * 2.0 * t);
        s.Add(from + i, gain * attack * v, pan);
    }
}

// A brass-like tone: band-limited sawtooth whose brightness swells in with the note.
void Brass(Sound& s, double start, double hz, double seconds, double gain, double pan, double vibratoFrom) {
    const int from = static_cast<int>(start * kRate);
    const int count = static_cast<int>(seconds * kRate);
    double phase = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double vib = t > vibratoFrom ? 0.006 * std::min(1.0, (t - vibratoFrom) / 0.3) * std::sin(kTwoPi * 5.5 * t) : 0;
        phase += hz * (1.0 + vib) / kRate;
        const double bright = std::min(1.0, 0.35 + t / 0.08);
        double v = 0;
        for (int h = 1; h <= 12 && h * hz < kRate * 0.45; ++h) {
            v += std::pow(bright, h * 0.5) * std::sin(kTwoPi * h * phase) / h;
        }
        const double attack = std::min(1.0, t / 0.03);
        const double release = std::min(1.0, (seconds - t) / 0.25);
        s.Add(from + i, gain * attack * std::max(0.0, release) * v, pan);
    }
}

// A soft square-ish tone for game sparkles: odd harmonics, gently rounded.
void Chip(Sound& s, double start, double hz, double seconds, double gain, double pan, double decay) {
    const int from = static_cast<int>(start * kRate);
    const int count = static_cast<int>(seconds * kRate);
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0;
        for (int h = 1; h <= 7 && h * hz < kRate * 0.45; h += 2) {
            v += std::sin(kTwoPi * h * hz * t) / (h * h * 0.6 + 0.4);
        }
        const double attack = std::min(1.0, t / 0.004);
        s.Add(from + i, gain * attack * std::exp(-t / decay) * v, pan);
    }
}

// "Alert": a short wooden tick for selecting a tile.
Sound Alert() {
    Sound s(1, 8, 0.08);
    Rng rng(0xA1E27);
    BandPass body;
    for (int i = 0; i < s.Frames(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double knock = std::exp(-t / 0.008) * (std::sin(kTwoPi * 1750 * t) + 0.5 * std::sin(kTwoPi * 2950 * t));
        const double noise = body.Run(rng.Signed(), 2400, 2.0) * std::exp(-t / 0.003);
        s.Add(i, knock + 1.5 * noise);
    }
    s.Finish(0.85);
    return s;
}

// "chimes": three falling wind-chime notes across the stereo field.
Sound Chimes() {
    Sound s(2, 16, 0.63);
    Bell(s, 0.00, NoteHz(88), 0.62, 0.8, -0.6);  // E7
    Bell(s, 0.12, NoteHz(84), 0.50, 0.8, 0.0);   // C7
    Bell(s, 0.24, NoteHz(79), 0.38, 0.9, 0.6);   // G6
    s.Finish(0.8);
    return s;
}

// "ding": one clear bell with a slow shimmer between the channels.
Sound Ding() {
    Sound s(2, 16, 0.92);
    Bell(s, 0.0, NoteHz(81), 0.91, 0.7, -0.25);
    Bell(s, 0.0, NoteHz(81) * 1.003, 0.91, 0.7, 0.25);
    s.Finish(0.8);
    return s;
}

// "notify": a rising two-note mallet call, the sound of a hint.
Sound Notify() {
    Sound s(2, 16, 1.35);
    Mallet(s, 0.00, NoteHz(67), 0.9, 0.8, -0.3);   // G4
    Mallet(s, 0.00, NoteHz(79), 0.6, 0.25, -0.3);  // with its octave
    Mallet(s, 0.22, NoteHz(74), 1.1, 0.8, 0.3);    // D5
    Mallet(s, 0.22, NoteHz(86), 0.7, 0.25, 0.3);
    s.Finish(0.75);
    return s;
}

// "Pagemove": a swish of air sweeping upwards, after the tiles are shuffled.
Sound Pagemove() {
    Sound s(1, 8, 0.28);
    Rng rng(0x9A6E);
    BandPass band;
    const double n = s.Frames();
    for (int i = 0; i < s.Frames(); ++i) {
        const double x = i / n;
        const double centre = 500.0 * std::pow(9.0, x);
        const double env = std::sin(std::numbers::pi * std::pow(x, 0.7));
        s.Add(i, band.Run(rng.Signed(), centre, 1.4) * env * env);
    }
    s.Finish(0.9);
    return s;
}

// "recycle": paper crumpled and tossed away, for a removed pair.
Sound Recycle() {
    Sound s(1, 16, 0.57);
    Rng rng(0x2EC7C1E);
    BandPass crackleBand;
    BandPass whooshBand;
    LowPass smooth;
    double crackle = 0;
    const double n = s.Frames();
    for (int i = 0; i < s.Frames(); ++i) {
        const double x = i / n;
        const double t = static_cast<double>(i) / kRate;
        // Crumple: sparse crackles of random size, thickest at the start.
        if (t < 0.32 && rng.Chance(0.018 * (1.0 - t / 0.32) + 0.002)) {
            crackle += rng.Signed() * (0.4 + rng.Unit());
        }
        crackle *= 0.82;
        const double crumple = crackleBand.Run(crackle + 0.05 * rng.Signed(), 2600 + 1400 * rng.Unit(), 0.9);
        // Toss: a falling whoosh that carries the ball away.
        const double whooshEnv = std::exp(-std::pow((t - 0.33) / 0.12, 2.0));
        const double whoosh = whooshBand.Run(rng.Signed(), 2600.0 * std::pow(0.18, x), 1.2) * whooshEnv;
        s.Add(i, smooth.Run(1.3 * crumple * std::min(1.0, t / 0.01) + 0.9 * whoosh, 6000));
    }
    s.Finish(0.8);
    return s;
}

// "TestSnd": a bright major arpeggio travelling from the left speaker to the right.
Sound TestSnd() {
    Sound s(2, 16, 0.87);
    const double notes[] = {72, 76, 79, 84};
    for (int k = 0; k < 4; ++k) {
        Mallet(s, k * 0.14, NoteHz(notes[k]), 0.87 - k * 0.14, 0.7, -0.9 + k * 0.6);
    }
    s.Finish(0.8);
    return s;
}

// "tada": a short brass fanfare with a cymbal, for completing a difficulty.
Sound Tada() {
    Sound s(2, 16, 1.94);
    Brass(s, 0.00, NoteHz(67), 0.13, 1.4, -0.2, 9);  // G4 pick-up
    Brass(s, 0.15, NoteHz(67), 0.13, 1.4, -0.2, 9);
    const double chord[] = {60, 64, 67, 72};
    const double pans[] = {-0.5, -0.15, 0.15, 0.5};
    for (int k = 0; k < 4; ++k) {
        Brass(s, 0.30, NoteHz(chord[k]), 1.62, 0.45, pans[k], 0.35);
    }
    Rng rng(0x7ADA);
    BandPass hiss;
    for (int i = static_cast<int>(0.30 * kRate); i < s.Frames(); ++i) {
        const double t = static_cast<double>(i) / kRate - 0.30;
        const double v = hiss.Run(rng.Signed(), 7000, 0.7) * std::exp(-t / 0.35) * 0.5;
        s.Add(i, v, 0.3);
    }
    s.Finish(0.85);
    return s;
}

// "event": a rising sparkle and a shimmering tail, for a bonus.
Sound Event() {
    Sound s(1, 8, 1.54);
    const double notes[] = {72, 76, 79, 84, 88, 91};
    for (int k = 0; k < 6; ++k) {
        Chip(s, k * 0.075, NoteHz(notes[k]), 0.4, 0.45, 0, 0.12);
    }
    // The tail: a trill between the top two notes, fading out.
    for (int k = 0; k < 14; ++k) {
        const double start = 0.45 + k * 0.07;
        Chip(s, start, NoteHz(k % 2 == 0 ? 96 : 91), 0.2, 0.3 * std::exp(-k / 5.0), 0, 0.06);
    }
    s.Finish(0.85);
    return s;
}

void WriteWav(const std::filesystem::path& path, const Sound& s) {
    const std::uint32_t blockAlign = static_cast<std::uint32_t>(s.channels * s.bits / 8);
    const std::uint32_t dataSize = blockAlign * static_cast<std::uint32_t>(s.Frames());
    Bytes out;
    PutTag(out, "RIFF");
    PutLE32(out, 4 + (8 + 16) + (8 + dataSize + dataSize % 2));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutLE32(out, 16);
    PutLE16(out, 1);  // PCM
    PutLE16(out, static_cast<std::uint32_t>(s.channels));
    PutLE32(out, kRate);
    PutLE32(out, kRate * blockAlign);
    PutLE16(out, blockAlign);
    PutLE16(out, static_cast<std::uint32_t>(s.bits));
    PutTag(out, "data");
    PutLE32(out, dataSize);
    for (int i = 0; i < s.Frames(); ++i) {
        for (int c = 0; c < s.channels; ++c) {
            const double v = std::clamp((c == 0 ? s.left : s.right)[static_cast<std::size_t>(i)], -1.0, 1.0);
            if (s.bits == 8) {
                out.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(128.0 + v * 127.0), 0L, 255L)));
            } else {
                PutLE16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767.0))));
            }
        }
    }
    if (dataSize % 2 != 0) {
        out.push_back(0);  // RIFF chunks are word-aligned
    }
    WriteFile(path, out);
}

}  // namespace

void MakeWaves(const std::filesystem::path& assets) {
    const auto dir = assets / "waves";
    WriteWav(dir / "Alert.wav", Alert());
    WriteWav(dir / "chimes.wav", Chimes());
    WriteWav(dir / "ding.wav", Ding());
    WriteWav(dir / "notify.wav", Notify());
    WriteWav(dir / "Pagemove.wav", Pagemove());
    WriteWav(dir / "recycle.wav", Recycle());
    WriteWav(dir / "TestSnd.wav", TestSnd());
    WriteWav(dir / "tada.wav", Tada());
    WriteWav(dir / "event.wav", Event());
}

}  // namespace assetgen
