// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/music.h"
#include "media/collection.h"
#include "desktop/media/asset_loader.h"

namespace pelmoravan::testing {

inline void PutLe(QByteArray& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}
inline void PutBe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

// A mono 16-bit 22050 Hz wave of deterministic noise with a flat envelope, so that two copies
// started at any offset add up louder than one.
inline QByteArray NoiseWave(double seconds, int amplitude = 8000, std::uint32_t seed = 1) {
    const int frames = static_cast<int>(22050 * seconds);
    QByteArray data;
    for (int i = 0; i < frames; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const int sample = static_cast<int>((seed >> 16) % (2 * amplitude + 1)) - amplitude;
        PutLe(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(sample)), 2);
    }
    QByteArray wave("RIFF");
    PutLe(wave, static_cast<std::uint32_t>(36 + data.size()), 4);
    wave.append("WAVEfmt ");
    PutLe(wave, 16, 4);
    PutLe(wave, 1, 2);         // PCM
    PutLe(wave, 1, 2);         // mono
    PutLe(wave, 22050, 4);
    PutLe(wave, 22050 * 2, 4); // bytes per second
    PutLe(wave, 2, 2);
    PutLe(wave, 16, 2);
    wave.append("data");
    PutLe(wave, static_cast<std::uint32_t>(data.size()), 4);
    wave.append(data);
    return wave;
}

// The nine effects of the catalog, each a short noise.
inline void FillNoiseWaves(TWaveCollection& waves, double seconds = 0.5) {
    std::uint32_t seed = 1;
    for (const char* name : {"Alert", "chimes", "ding", "notify", "Pagemove", "recycle", "TestSnd", "tada", "event"}) {
        waves.Add(name).Wave = std::make_shared<TWaveFileData>(NoiseWave(seconds, 8000, seed++));
    }
}

// A format-0 MIDI file: a piano chord held for the given ticks at 120 ticks a quarter note
// (500 ms a quarter).
inline std::vector<std::uint8_t> ChordMidi(std::uint32_t ticks) {
    std::vector<std::uint8_t> track = {0x00, 0xC0, 0x00, 0x00, 0x90, 60, 110, 0x00, 0x90, 64, 110, 0x00, 0x90, 67, 110};
    std::vector<std::uint8_t> delta{static_cast<std::uint8_t>(ticks & 0x7F)};
    while ((ticks >>= 7) != 0) {
        delta.insert(delta.begin(), static_cast<std::uint8_t>((ticks & 0x7F) | 0x80));
    }
    track.insert(track.end(), delta.begin(), delta.end());
    for (std::uint8_t note : {60, 64, 67}) {
        if (note != 60) track.push_back(0x00);
        track.insert(track.end(), {0x80, note, 0});
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> midi = {'M', 'T', 'h', 'd'};
    PutBe(midi, 6, 4);
    PutBe(midi, 0, 2);
    PutBe(midi, 1, 2);
    PutBe(midi, 120, 2);
    midi.insert(midi.end(), {'M', 'T', 'r', 'k'});
    PutBe(midi, static_cast<std::uint32_t>(track.size()), 4);
    midi.insert(midi.end(), track.begin(), track.end());
    return midi;
}

inline std::vector<std::uint8_t> AsRmid(const std::vector<std::uint8_t>& midi) {
    QByteArray out("RIFF");
    PutLe(out, static_cast<std::uint32_t>(4 + 8 + 6 + 8 + midi.size() + (midi.size() % 2)), 4);
    out.append("RMIDLIST");
    PutLe(out, 5, 4);
    out.append("INFOx", 5);
    out.append('\0'); // pad byte of the odd-sized chunk
    out.append("data");
    PutLe(out, static_cast<std::uint32_t>(midi.size()), 4);
    out.append(reinterpret_cast<const char*>(midi.data()), static_cast<qsizetype>(midi.size()));
    if (midi.size() % 2 == 1) out.append('\0');
    return {out.begin(), out.end()};
}

// Every name gets the same track; records the names asked for.
class FixedTracks final : public ITrackSource {
public:
    explicit FixedTracks(std::vector<std::uint8_t> bytes, std::vector<std::string>* asked = nullptr)
        : Bytes(std::move(bytes)), Asked(asked) {}
    std::vector<std::uint8_t> Track(const std::string& name) override {
        if (Asked != nullptr) Asked->push_back(name);
        return Bytes;
    }
    std::vector<std::uint8_t> Bytes;
    std::vector<std::string>* Asked;
};

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : Name(name), Had(qEnvironmentVariableIsSet(name)), Old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (Had) qputenv(Name, Old);
        else qunsetenv(Name);
    }
    const char* Name;
    bool Had;
    QByteArray Old;
};

// The mix as the disk audio driver wrote it: 16-bit stereo samples.
struct Mix {
    std::vector<std::int16_t> Samples;

    static Mix Read(const QString& path) {
        QFile file(path);
        Mix mix;
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = file.readAll();
            mix.Samples.resize(static_cast<std::size_t>(bytes.size() / 2));
            std::memcpy(mix.Samples.data(), bytes.constData(), mix.Samples.size() * 2);
        }
        return mix;
    }
    double Energy() const {
        double sum = 0;
        for (std::int16_t s : Samples) sum += static_cast<double>(s) * s;
        return sum;
    }
    // The loudest 20 ms (at 22050 Hz stereo), as root mean square.
    double PeakRms() const {
        const std::size_t window = 882;
        double best = 0;
        for (std::size_t at = 0; at + window <= Samples.size(); at += window / 2) {
            double sum = 0;
            for (std::size_t i = at; i < at + window; ++i) sum += static_cast<double>(Samples[i]) * Samples[i];
            best = std::max(best, std::sqrt(sum / window));
        }
        return best;
    }
};

} // namespace pelmoravan::testing
