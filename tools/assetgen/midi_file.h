// SPDX-License-Identifier: MIT
#pragma once
#include "output.h"

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// One track of a standard MIDI file, filled in any order and written sorted by time.
class MidiTrack {
public:
    void Name(const std::string& name);
    void Text(std::uint32_t tick, const std::string& text);
    void Marker(std::uint32_t tick, const std::string& text);
    // Microseconds per quarter note from beats per minute.
    void Tempo(std::uint32_t tick, double bpm);
    void TimeSignature(std::uint32_t tick, int numerator, int denominator);
    // sharps < 0 are flats.
    void KeySignature(std::uint32_t tick, int sharps, bool minor);
    void Program(std::uint32_t tick, int channel, int program);
    void Control(std::uint32_t tick, int channel, int controller, int value);
    void Note(std::uint32_t tick, std::uint32_t length, int channel, int key, int velocity);
    // Where the End of Track event goes; never before the last event.
    void EndAt(std::uint32_t tick) { end_ = tick; }

    std::uint32_t LastTick() const;
    // The MTrk chunk, header included.
    Bytes Encode() const;

private:
    struct Event {
        std::uint32_t tick;
        int rank;  // at one tick: note-offs, then settings, then note-ons
        std::uint32_t sequence;
        Bytes data;
    };
    void Add(std::uint32_t tick, int rank, Bytes data);
    void Meta(std::uint32_t tick, int type, const Bytes& payload);

    std::vector<Event> events_;
    std::uint32_t end_ = 0;
};

// A standard MIDI file: the MThd chunk followed by the tracks.
Bytes SmfFile(int format, int division, const std::vector<MidiTrack>& tracks);

// The same file inside a RIFF "RMID" container with its "data" chunk.
Bytes RmidFile(const Bytes& smf);

}  // namespace assetgen
