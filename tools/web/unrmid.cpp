// SPDX-License-Identifier: MIT
// Host tool of the page's asset build: writes the bare MIDI file that FluidSynth can read, taking
// it out of a RIFF container the same way the game does.
#include "audio/rmid.h"

#include <cstdio>
#include <fstream>
#include <iterator>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <in.mid|in.rmi> <out.mid>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "unrmid: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const std::vector<std::uint8_t> midi = pelmoravan::UnwrapRmid(bytes);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(midi.data()), static_cast<std::streamsize>(midi.size()));
    return out.good() ? 0 : 1;
}
