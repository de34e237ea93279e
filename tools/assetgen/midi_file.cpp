// SPDX-License-Identifier: MIT
#include "midi_file.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {
namespace {

void PutVarLen(Bytes& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1) {
        out.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
    }
    out.push_back(groups[0]);
}

std::uint8_t Data7(int value) {
    if (value < 0 || value > 127) {
        throw std::runtime_error("MIDI data byte out of range: " + std::to_string(value));
    }
    return static_cast<std::uint8_t>(value);
}

std::uint8_t Status(int kind, int channel) {
    if (channel < 0 || channel > 15) {
        throw std::runtime_error("MIDI channel out of range");
    }
    return static_cast<std::uint8_t>(kind | channel);
}

constexpr int kRankOff = 0;
constexpr int kRankSetting = 1;
constexpr int kRankOn = 2;

}  // namespace

void MidiTrack::Add(std::uint32_t tick, int rank, Bytes data) {
    events_.push_back({tick, rank, static_cast<std::uint32_t>(events_.size()), std::move(data)});
}

void MidiTrack::Meta(std::uint32_t tick, int type, const Bytes& payload) {
    Bytes data{0xFF, static_cast<std::uint8_t>(type)};
    PutVarLen(data, static_cast<std::uint32_t>(payload.size()));
    data.insert(data.end(), payload.begin(), payload.end());
    Add(tick, kRankSetting, std::move(data));
}

void MidiTrack::Name(const std::string& name) {
    Meta(0, 0x03, Bytes(name.begin(), name.end()));
}

void MidiTrack::Text(std::uint32_t tick, const std::string& text) {
    Meta(tick, 0x01, Bytes(text.begin(), text.end()));
}

void MidiTrack::Marker(std::uint32_t tick, const std::string& text) {
    Meta(tick, 0x06, Bytes(text.begin(), text.end()));
}

void MidiTrack::Tempo(std::uint32_t tick, double bpm) {
    const auto micros = static_cast<std::uint32_t>(std::lround(60'000'000.0 / bpm));
    Meta(tick, 0x51, Bytes{static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
                           static_cast<std::uint8_t>(micros)});
}

void MidiTrack::TimeSignature(std::uint32_t tick, int numerator, int denominator) {
    int power = 0;
    while ((1 << power) < denominator) {
        ++power;
    }
    Meta(tick, 0x58, Bytes{Data7(numerator), Data7(power), 24, 8});
}

void MidiTrack::KeySignature(std::uint32_t tick, int sharps, bool minor) {
    Meta(tick, 0x59, Bytes{static_cast<std::uint8_t>(static_cast<std::int8_t>(sharps)), minor ? std::uint8_t{1} : std::uint8_t{0}});
}

void MidiTrack::Program(std::uint32_t tick, int channel, int program) {
    Add(tick, kRankSetting, Bytes{Status(0xC0, channel), Data7(program)});
}

void MidiTrack::Control(std::uint32_t tick, int channel, int controller, int value) {
    Add(tick, kRankSetting, Bytes{Status(0xB0, channel), Data7(controller), Data7(value)});
}

void MidiTrack::Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity) {
    if (length == 0) {
        return;
    }
    Add(tick, kRankOn, Bytes{Status(0x90, channel), Data7(key), Data7(std::clamp(velocity, 1, 127))});
    Add(tick + length, kRankOff, Bytes{Status(0x80, channel), Data7(key), 64});
}

std::uint32_t MidiTrack::LastTick() const {
    std::uint32_t last = 0;
    for (const Event& e : events_) {
        last = std::max(last, e.tick);
    }
    return last;
}

Bytes MidiTrack::Encode() const {
    std::vector<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        if (a.tick != b.tick) {
            return a.tick < b.tick;
        }
        if (a.rank != b.rank) {
            return a.rank < b.rank;
        }
        return a.sequence < b.sequence;
    });
    Bytes body;
    std::uint32_t now = 0;
    for (const Event& e : sorted) {
        PutVarLen(body, e.tick - now);
        now = e.tick;
        body.insert(body.end(), e.data.begin(), e.data.end());
    }
    PutVarLen(body, std::max(end_, now) - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    Bytes chunk;
    PutTag(chunk, "MTrk");
    PutBE32(chunk, static_cast<std::uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

Bytes SmfFile(int format, int division, const std::vector<MidiTrack>& tracks) {
    if (format == 0 && tracks.size() != 1) {
        throw std::runtime_error("a format 0 file holds exactly one track");
    }
    Bytes out;
    PutTag(out, "MThd");
    PutBE32(out, 6);
    PutBE16(out, static_cast<std::uint32_t>(format));
    PutBE16(out, static_cast<std::uint32_t>(tracks.size()));
    PutBE16(out, static_cast<std::uint32_t>(division));
    for (const MidiTrack& track : tracks) {
        const Bytes chunk = track.Encode();
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

Bytes RmidFile(const Bytes& smf) {
    Bytes out;
    PutTag(out, "RIFF");
    const std::uint32_t pad = smf.size() % 2;
    PutLE32(out, static_cast<std::uint32_t>(4 + 8 + smf.size() + pad));
    PutTag(out, "RMID");
    PutTag(out, "data");
    PutLE32(out, static_cast<std::uint32_t>(smf.size()));
    out.insert(out.end(), smf.begin(), smf.end());
    if (pad != 0) {
        out.push_back(0);  // RIFF chunks are word-aligned
    }
    return out;
}

}  // namespace assetgen
