// SPDX-License-Identifier: MIT
#include "audio/soundfont_view.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace pelmoravan {
namespace {

std::uint32_t Le16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }

std::uint32_t Le32(const std::uint8_t* p) {
    return Le16(p) | (Le16(p + 2) << 16);
}

void PutLe16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void PutLe32(std::uint8_t* p, std::uint32_t v) {
    PutLe16(p, v);
    PutLe16(p + 2, v >> 16);
}

// The preset data's nine sub-chunks, in the order the format requires, with their record sizes.
constexpr std::array<const char*, 9> kIds = {"phdr", "pbag", "pmod", "pgen", "inst",
                                             "ibag", "imod", "igen", "shdr"};
constexpr std::array<std::size_t, 9> kRecord = {38, 4, 10, 4, 22, 4, 10, 4, 46};
enum { PHDR, PBAG, PMOD, PGEN, INST, IBAG, IMOD, IGEN, SHDR };
constexpr std::uint32_t kInstrumentGenerator = 41;
constexpr std::size_t kPresetBagAt = 24; // in a phdr record; an inst record keeps it at 20
constexpr std::size_t kInstrumentBagAt = 20;

struct TChunk {
    const std::uint8_t* Data = nullptr;
    std::size_t Count = 0; // records, the closing one included
    const std::uint8_t* Record(std::size_t i, std::size_t size) const { return Data + i * size; }
};

// Zones (bags) with their generators and modulators, copied from one list into another: the
// presets' or the instruments'.
struct TZoneCopier {
    const TChunk& Bags;
    const TChunk& Mods;
    const TChunk& Gens;
    std::size_t ModSize;
    std::vector<std::uint8_t>& NewBags;
    std::vector<std::uint8_t>& NewMods;
    std::vector<std::uint8_t>& NewGens;

    // Copies bags [first, last); `generator` may change each copied generator record. False when
    // an index points outside its list.
    template <typename F>
    bool Copy(std::size_t first, std::size_t last, F&& generator) {
        if (first > last || last >= Bags.Count) {
            return false;
        }
        for (std::size_t b = first; b < last; ++b) {
            const std::size_t gen0 = Le16(Bags.Record(b, 4));
            const std::size_t gen1 = Le16(Bags.Record(b + 1, 4));
            const std::size_t mod0 = Le16(Bags.Record(b, 4) + 2);
            const std::size_t mod1 = Le16(Bags.Record(b + 1, 4) + 2);
            if (gen0 > gen1 || gen1 >= Gens.Count || mod0 > mod1 || mod1 >= Mods.Count) {
                return false;
            }
            std::uint8_t bag[4];
            PutLe16(bag, static_cast<std::uint32_t>(NewGens.size() / 4));
            PutLe16(bag + 2, static_cast<std::uint32_t>(NewMods.size() / ModSize));
            NewBags.insert(NewBags.end(), bag, bag + 4);
            NewMods.insert(NewMods.end(), Mods.Record(mod0, ModSize), Mods.Record(mod1, ModSize));
            for (std::size_t g = gen0; g < gen1; ++g) {
                std::array<std::uint8_t, 4> record;
                std::memcpy(record.data(), Gens.Record(g, 4), 4);
                if (!generator(record)) {
                    return false;
                }
                NewGens.insert(NewGens.end(), record.begin(), record.end());
            }
        }
        return true;
    }

    // The closing records: a bag that points past the last generator and modulator, and the
    // original's closing modulator and generator.
    void Close() {
        std::uint8_t bag[4];
        PutLe16(bag, static_cast<std::uint32_t>(NewGens.size() / 4));
        PutLe16(bag + 2, static_cast<std::uint32_t>(NewMods.size() / ModSize));
        NewBags.insert(NewBags.end(), bag, bag + 4);
        NewMods.insert(NewMods.end(), Mods.Record(Mods.Count - 1, ModSize), Mods.Record(Mods.Count, ModSize));
        NewGens.insert(NewGens.end(), Gens.Record(Gens.Count - 1, 4), Gens.Record(Gens.Count, 4));
    }
};

// The rebuilt body of a "pdta" list (after its type), or nothing when the data is malformed.
std::optional<std::vector<std::uint8_t>> Rebuild(const std::vector<std::uint8_t>& body,
                                                 const std::set<int>& programs) {
    std::array<TChunk, 9> chunks;
    std::size_t at = 0;
    for (std::size_t i = 0; i < kIds.size(); ++i) {
        if (body.size() - at < 8 || std::memcmp(body.data() + at, kIds[i], 4) != 0) {
            return std::nullopt;
        }
        const std::size_t size = Le32(body.data() + at + 4);
        if (size > body.size() - at - 8 || size % kRecord[i] != 0 || size == 0) {
            return std::nullopt;
        }
        chunks[i] = {body.data() + at + 8, size / kRecord[i]};
        at += 8 + size;
    }
    std::array<std::vector<std::uint8_t>, 9> out;
    TZoneCopier presets{chunks[PBAG], chunks[PMOD], chunks[PGEN], kRecord[PMOD], out[PBAG], out[PMOD], out[PGEN]};
    TZoneCopier instruments{chunks[IBAG], chunks[IMOD], chunks[IGEN], kRecord[IMOD], out[IBAG], out[IMOD], out[IGEN]};
    std::map<std::uint32_t, std::uint32_t> instrumentIndex; // old index to new, in order of use
    std::vector<std::uint32_t> keptInstruments;
    const TChunk& phdr = chunks[PHDR];
    auto addHeader = [&](int list, const std::uint8_t* record, std::size_t bagAt, std::size_t bags) {
        const std::size_t size = kRecord[static_cast<std::size_t>(list)];
        std::vector<std::uint8_t>& to = out[static_cast<std::size_t>(list)];
        to.insert(to.end(), record, record + size);
        PutLe16(to.data() + to.size() - size + bagAt, static_cast<std::uint32_t>(bags));
    };
    for (std::size_t p = 0; p + 1 < phdr.Count; ++p) {
        const std::uint8_t* record = phdr.Record(p, kRecord[PHDR]);
        const auto program = static_cast<int>(Le16(record + 20));
        const std::uint32_t bank = Le16(record + 22);
        if (bank != 128 && programs.count(program) == 0) {
            continue;
        }
        addHeader(PHDR, record, kPresetBagAt, out[PBAG].size() / 4);
        const bool copied = presets.Copy(
            Le16(record + kPresetBagAt), Le16(phdr.Record(p + 1, kRecord[PHDR]) + kPresetBagAt),
            [&](std::array<std::uint8_t, 4>& gen) {
                if (Le16(gen.data()) != kInstrumentGenerator) {
                    return true;
                }
                const std::uint32_t old = Le16(gen.data() + 2);
                if (old + 1 >= chunks[INST].Count) {
                    return false;
                }
                const auto found = instrumentIndex.emplace(old, static_cast<std::uint32_t>(keptInstruments.size()));
                if (found.second) {
                    keptInstruments.push_back(old);
                }
                PutLe16(gen.data() + 2, found.first->second);
                return true;
            });
        if (!copied) {
            return std::nullopt;
        }
    }
    addHeader(PHDR, phdr.Record(phdr.Count - 1, kRecord[PHDR]), kPresetBagAt, out[PBAG].size() / 4);
    presets.Close();
    const TChunk& inst = chunks[INST];
    for (const std::uint32_t old : keptInstruments) {
        const std::uint8_t* record = inst.Record(old, kRecord[INST]);
        addHeader(INST, record, kInstrumentBagAt, out[IBAG].size() / 4);
        if (!instruments.Copy(Le16(record + kInstrumentBagAt),
                              Le16(inst.Record(old + 1, kRecord[INST]) + kInstrumentBagAt),
                              [](std::array<std::uint8_t, 4>&) { return true; })) {
            return std::nullopt;
        }
    }
    addHeader(INST, inst.Record(inst.Count - 1, kRecord[INST]), kInstrumentBagAt, out[IBAG].size() / 4);
    instruments.Close();
    out[SHDR].assign(chunks[SHDR].Data, chunks[SHDR].Record(chunks[SHDR].Count, kRecord[SHDR]));

    std::vector<std::uint8_t> rebuilt;
    for (std::size_t i = 0; i < kIds.size(); ++i) {
        std::uint8_t header[8];
        std::memcpy(header, kIds[i], 4);
        PutLe32(header + 4, static_cast<std::uint32_t>(out[i].size()));
        rebuilt.insert(rebuilt.end(), header, header + 8);
        rebuilt.insert(rebuilt.end(), out[i].begin(), out[i].end());
    }
    return rebuilt;
}

} // namespace

bool TSoundFontView::Read(const TReadAt& file, std::uint64_t offset, std::uint8_t* out,
                          std::size_t count) const {
    if (offset > Size() || count > Size() - offset) {
        return false;
    }
    if (offset < Prefix) {
        const auto fromFile = static_cast<std::size_t>(std::min<std::uint64_t>(count, Prefix - offset));
        if (!file(offset, out, fromFile)) {
            return false;
        }
        std::uint8_t size[4];
        PutLe32(size, RiffSize);
        for (std::uint64_t i = std::max<std::uint64_t>(offset, 4); i < std::min<std::uint64_t>(offset + fromFile, 8); ++i) {
            out[i - offset] = size[i - 4];
        }
        offset += fromFile;
        out += fromFile;
        count -= fromFile;
    }
    std::memcpy(out, Tail.data() + (offset - Prefix), count);
    return true;
}

std::optional<TSoundFontView> ViewWithPrograms(const TReadAt& file, std::uint64_t fileSize,
                                               const std::set<int>& programs) {
    std::uint8_t header[12];
    if (fileSize < 12 || !file(0, header, 12) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "sfbk", 4) != 0 || Le32(header + 4) + 8ull > fileSize) {
        return std::nullopt;
    }
    const std::uint64_t end = Le32(header + 4) + 8ull;
    std::uint64_t at = 12;
    while (end - at >= 12) {
        std::uint8_t list[12];
        if (!file(at, list, 12)) {
            return std::nullopt;
        }
        const std::uint64_t size = Le32(list + 4);
        const std::uint64_t next = at + 8 + size + (size & 1);
        if (std::memcmp(list, "LIST", 4) == 0 && std::memcmp(list + 8, "pdta", 4) == 0) {
            if (next != end || size < 4) {
                return std::nullopt; // preset data cut short, or not last
            }
            std::vector<std::uint8_t> body(static_cast<std::size_t>(size - 4));
            if (!file(at + 12, body.data(), body.size())) {
                return std::nullopt;
            }
            const auto rebuilt = Rebuild(body, programs);
            if (!rebuilt) {
                return std::nullopt;
            }
            TSoundFontView view;
            view.Prefix = at;
            std::uint8_t listHeader[12];
            std::memcpy(listHeader, list, 12);
            PutLe32(listHeader + 4, static_cast<std::uint32_t>(rebuilt->size() + 4));
            view.Tail.assign(listHeader, listHeader + 12);
            view.Tail.insert(view.Tail.end(), rebuilt->begin(), rebuilt->end());
            view.RiffSize = static_cast<std::uint32_t>(view.Size() - 8);
            return view;
        }
        at = next;
    }
    return std::nullopt;
}

} // namespace pelmoravan
