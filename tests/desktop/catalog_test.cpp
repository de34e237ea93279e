// SPDX-License-Identifier: MIT
// The embedded asset catalog: every picture, wave and music track the game looks up, with the
// sizes, keys and formats the drawing and sound code rely on.
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr QRgb kTileKey = 0xFFC7E4FF;  // red 199, green 228, blue 255
constexpr QRgb kBlack = 0xFF000000;

QByteArray Resource(const QString& path) {
    QFile file(QStringLiteral(":/assets/") + path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "missing resource " << path.toStdString();
        return {};
    }
    return file.readAll();
}

std::uint32_t LE16(const QByteArray& b, qsizetype at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8;
}
std::uint32_t LE32(const QByteArray& b, qsizetype at) {
    return LE16(b, at) | LE16(b, at + 2) << 16;
}
std::uint32_t BE16(const QByteArray& b, qsizetype at) {
    return static_cast<std::uint8_t>(b[at]) << 8 | static_cast<std::uint8_t>(b[at + 1]);
}
std::uint32_t BE32(const QByteArray& b, qsizetype at) {
    return BE16(b, at) << 16 | BE16(b, at + 2);
}

// Loads a catalog picture and checks what every one of them must be: an uncompressed 24-bit
// BMP of the given size.
QImage Picture(const QString& path, int width, int height) {
    const QByteArray bytes = Resource(path);
    if (bytes.size() < 54) {
        ADD_FAILURE() << path.toStdString() << " is too short for a BMP";
        return {};
    }
    EXPECT_EQ(bytes.left(2), QByteArray("BM")) << path.toStdString();
    EXPECT_EQ(LE16(bytes, 28), 24u) << path.toStdString() << ": bits per pixel";
    EXPECT_EQ(LE32(bytes, 30), 0u) << path.toStdString() << ": compression";
    QImage image;
    EXPECT_TRUE(image.loadFromData(bytes, "BMP")) << path.toStdString();
    EXPECT_EQ(image.width(), width) << path.toStdString();
    EXPECT_EQ(image.height(), height) << path.toStdString();
    return image.convertToFormat(QImage::Format_RGB32);
}

// Pixels of the key colour that cannot be reached from the border through other key pixels:
// holes that a colour key would punch into the middle of a picture.
int EnclosedKeyPixels(const QImage& image, QRgb key) {
    const int w = image.width(), h = image.height();
    std::vector<char> seen(static_cast<std::size_t>(w * h), 0);
    std::vector<std::pair<int, int>> todo;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) {
            return;
        }
        auto& flag = seen[static_cast<std::size_t>(y * w + x)];
        if (flag == 0 && image.pixel(x, y) == key) {
            flag = 1;
            todo.emplace_back(x, y);
        }
    };
    for (int x = 0; x < w; ++x) {
        visit(x, 0);
        visit(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        visit(0, y);
        visit(w - 1, y);
    }
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        visit(x + 1, y);
        visit(x - 1, y);
        visit(x, y + 1);
        visit(x, y - 1);
    }
    int enclosed = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            enclosed += image.pixel(x, y) == key && seen[static_cast<std::size_t>(y * w + x)] == 0 ? 1 : 0;
        }
    }
    return enclosed;
}

int CountColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

bool Corners(const QImage& image, QRgb colour) {
    const int r = image.width() - 1, b = image.height() - 1;
    return image.pixel(0, 0) == colour && image.pixel(r, 0) == colour && image.pixel(0, b) == colour &&
           image.pixel(r, b) == colour;
}

TEST(Catalog, ResourcesAreEmbedded) {
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/assets/tiles/1.bmp")));
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/assets/music/SOUND4.mid")));
    EXPECT_FALSE(QFile::exists(QStringLiteral(":/assets/tiles/101.bmp"))) << "exactly 100 tile pictures";
    EXPECT_FALSE(QFile::exists(QStringLiteral(":/assets/backs/back11.bmp"))) << "exactly 10 tile backs";
    EXPECT_FALSE(QFile::exists(QStringLiteral(":/assets/tiles/0.bmp")));
}

// ---- Tile pictures -----------------------------------------------------------------------------

class TilePictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tiles_ = new std::vector<QImage>;
        for (int n = 1; n <= 100; ++n) {
            tiles_->push_back(Picture(QStringLiteral("tiles/%1.bmp").arg(n), 50, 38));
        }
    }
    static void TearDownTestSuite() {
        delete tiles_;
        tiles_ = nullptr;
    }
    static std::vector<QImage>* tiles_;
};
std::vector<QImage>* TilePictures::tiles_ = nullptr;

TEST_F(TilePictures, BackgroundIsTheKeyAndThePictureFillsTheTile) {
    for (std::size_t i = 0; i < tiles_->size(); ++i) {
        const QImage& tile = (*tiles_)[i];
        SCOPED_TRACE("tile " + std::to_string(i + 1));
        ASSERT_FALSE(tile.isNull());
        // The whole rim is background, so the plate shows around every picture.
        for (int x = 0; x < tile.width(); ++x) {
            ASSERT_EQ(tile.pixel(x, 0), kTileKey);
            ASSERT_EQ(tile.pixel(x, tile.height() - 1), kTileKey);
        }
        for (int y = 0; y < tile.height(); ++y) {
            ASSERT_EQ(tile.pixel(0, y), kTileKey);
            ASSERT_EQ(tile.pixel(tile.width() - 1, y), kTileKey);
        }
        // A picture, not a blank or a dot: a fair part of the tile is drawn.
        const int drawn = tile.width() * tile.height() - CountColour(tile, kTileKey);
        EXPECT_GT(drawn, tile.width() * tile.height() / 10);
    }
}

TEST_F(TilePictures, EveryTileHasItsOwnShape) {
    // Outlines are compared, not colours: two tiles whose drawn areas nearly coincide would be
    // told apart by colour alone.
    std::vector<std::vector<bool>> masks;
    for (const QImage& tile : *tiles_) {
        std::vector<bool> mask;
        for (int y = 0; y < tile.height(); ++y) {
            for (int x = 0; x < tile.width(); ++x) {
                mask.push_back(tile.pixel(x, y) != kTileKey);
            }
        }
        masks.push_back(std::move(mask));
    }
    double closest = 1.0;
    std::pair<std::size_t, std::size_t> closestPair{0, 0};
    for (std::size_t a = 0; a < masks.size(); ++a) {
        for (std::size_t b = a + 1; b < masks.size(); ++b) {
            int either = 0, differ = 0;
            for (std::size_t k = 0; k < masks[a].size(); ++k) {
                either += masks[a][k] || masks[b][k] ? 1 : 0;
                differ += masks[a][k] != masks[b][k] ? 1 : 0;
            }
            const double distance = static_cast<double>(differ) / std::max(1, either);
            if (distance < closest) {
                closest = distance;
                closestPair = {a + 1, b + 1};
            }
        }
    }
    EXPECT_GE(closest, 0.10) << "tiles " << closestPair.first << " and " << closestPair.second
                             << " have nearly the same outline";
}

// ---- Tile backs and screens --------------------------------------------------------------------

TEST(Catalog, TileBacksArePlatesOnBlackOneColourPerLevel) {
    std::vector<QColor> faces;
    for (int level = 1; level <= 10; ++level) {
        SCOPED_TRACE("back" + std::to_string(level));
        const QImage back = Picture(QStringLiteral("backs/back%1.bmp").arg(level), 57, 45);
        ASSERT_FALSE(back.isNull());
        EXPECT_TRUE(Corners(back, kBlack));
        // The plate itself never uses the key: no see-through holes.
        EXPECT_EQ(EnclosedKeyPixels(back, kBlack), 0);
        // The face under the picture (the cell pitch, 50 x 37) is solid plate.
        for (int y = 3; y < 34; ++y) {
            for (int x = 3; x < 47; ++x) {
                ASSERT_NE(back.pixel(x, y), kBlack) << x << "," << y;
            }
        }
        // The plate's depth reaches the far corner region, beyond the face.
        EXPECT_NE(back.pixel(53, 40), kBlack);
        faces.emplace_back(back.pixel(25, 18));
    }
    for (std::size_t a = 0; a < faces.size(); ++a) {
        for (std::size_t b = a + 1; b < faces.size(); ++b) {
            const int distance = std::abs(faces[a].red() - faces[b].red()) + std::abs(faces[a].green() - faces[b].green()) +
                                 std::abs(faces[a].blue() - faces[b].blue());
            EXPECT_GE(distance, 20) << "back" << a + 1 << " and back" << b + 1 << " look alike";
        }
    }
}

TEST(Catalog, PauseAndGameOverScreensAreKeyedOnBlack) {
    for (const char* name : {"back", "gameover"}) {
        SCOPED_TRACE(name);
        const QImage screen = Picture(QStringLiteral("screens/%1.bmp").arg(QString::fromLatin1(name)), 200, 150);
        ASSERT_FALSE(screen.isNull());
        EXPECT_TRUE(Corners(screen, kBlack));
        EXPECT_EQ(EnclosedKeyPixels(screen, kBlack), 0);
        EXPECT_NE(screen.pixel(100, 75), kBlack);
        EXPECT_GT(200 * 150 - CountColour(screen, kBlack), 200 * 150 / 2);
    }
    EXPECT_NE(Resource(QStringLiteral("screens/back.bmp")), Resource(QStringLiteral("screens/gameover.bmp")));
}

TEST(Catalog, LogoIsOpaque) {
    const QImage logo = Picture(QStringLiteral("screens/logo.bmp"), 400, 300);
    ASSERT_FALSE(logo.isNull());
    // Shown without a key: it must look whole whether or not black were keyed out.
    EXPECT_FALSE(Corners(logo, kBlack));
    EXPECT_LT(CountColour(logo, kBlack), 400 * 300 / 100);
    std::set<QRgb> colours;
    for (int y = 0; y < logo.height(); y += 3) {
        for (int x = 0; x < logo.width(); x += 3) {
            colours.insert(logo.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 500u) << "a picture, not a flat fill";
}

// ---- Waves -------------------------------------------------------------------------------------

struct WaveEntry {
    const char* name;
    int channels;
    int bits;
    double seconds;
};

constexpr std::array<WaveEntry, 9> kWaves{{
    {"Alert", 1, 8, 0.08},
    {"chimes", 2, 16, 0.63},
    {"ding", 2, 16, 0.92},
    {"notify", 2, 16, 1.35},
    {"Pagemove", 1, 8, 0.28},
    {"recycle", 1, 16, 0.57},
    {"TestSnd", 2, 16, 0.87},
    {"tada", 2, 16, 1.94},
    {"event", 1, 8, 1.54},
}};

TEST(Catalog, WavesHaveTheirFormatsAndLengths) {
    for (const WaveEntry& entry : kWaves) {
        SCOPED_TRACE(entry.name);
        const QByteArray wav = Resource(QStringLiteral("waves/%1.wav").arg(QString::fromLatin1(entry.name)));
        ASSERT_GE(wav.size(), 44);
        ASSERT_EQ(wav.left(4), QByteArray("RIFF"));
        ASSERT_EQ(wav.mid(8, 4), QByteArray("WAVE"));
        EXPECT_EQ(LE32(wav, 4), static_cast<std::uint32_t>(wav.size() - 8));
        // Walk the chunks: the format first, then the samples.
        qsizetype at = 12;
        qsizetype dataAt = -1;
        std::uint32_t dataSize = 0;
        bool haveFormat = false;
        while (at + 8 <= wav.size()) {
            const QByteArray id = wav.mid(at, 4);
            const std::uint32_t size = LE32(wav, at + 4);
            ASSERT_LE(at + 8 + static_cast<qsizetype>(size), wav.size()) << id.toStdString() << " chunk overruns";
            if (id == "fmt ") {
                haveFormat = true;
                EXPECT_EQ(LE16(wav, at + 8), 1u) << "PCM";
                EXPECT_EQ(LE16(wav, at + 10), static_cast<std::uint32_t>(entry.channels));
                EXPECT_EQ(LE32(wav, at + 12), 22050u);
                const std::uint32_t align = static_cast<std::uint32_t>(entry.channels * entry.bits / 8);
                EXPECT_EQ(LE32(wav, at + 16), 22050u * align) << "byte rate";
                EXPECT_EQ(LE16(wav, at + 20), align);
                EXPECT_EQ(LE16(wav, at + 22), static_cast<std::uint32_t>(entry.bits));
            } else if (id == "data") {
                EXPECT_TRUE(haveFormat) << "format chunk before the data";
                dataAt = at + 8;
                dataSize = size;
            }
            at += 8 + size + (size % 2);
        }
        ASSERT_GE(dataAt, 0);
        const int align = entry.channels * entry.bits / 8;
        const double seconds = static_cast<double>(dataSize) / align / 22050.0;
        EXPECT_NEAR(seconds, entry.seconds, entry.seconds * 0.25);

        // Audible, and back to silence at the end so that it stops without a click.
        const auto sample = [&](std::uint32_t frame) {
            const qsizetype p = dataAt + static_cast<qsizetype>(frame) * align;
            return entry.bits == 8 ? (static_cast<std::uint8_t>(wav[p]) - 128) / 128.0
                                  : static_cast<std::int16_t>(LE16(wav, p)) / 32768.0;
        };
        const std::uint32_t frames = dataSize / static_cast<std::uint32_t>(align);
        double peak = 0;
        for (std::uint32_t f = 0; f < frames; ++f) {
            peak = std::max(peak, std::abs(sample(f)));
        }
        EXPECT_GT(peak, 0.3);
        EXPECT_LT(std::abs(sample(frames - 1)), 0.02);
    }
}

// ---- Music -------------------------------------------------------------------------------------

struct MidiTrackInfo {
    std::uint32_t endTick = 0;
    bool endsWithEndOfTrack = false;
    std::map<std::uint32_t, std::uint32_t> tempos;  // tick -> microseconds per quarter
    std::vector<std::array<std::uint32_t, 4>> notes;  // start, end, channel, key
    int unmatchedOffs = 0;
    int unfinishedNotes = 0;
};

struct MidiInfo {
    int format = -1;
    int division = 0;
    std::vector<MidiTrackInfo> tracks;
    bool wellFormed = true;
    std::string problem;
};

std::uint32_t VarLen(const QByteArray& b, qsizetype& at, qsizetype end, bool& ok) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= end) {
            ok = false;
            return 0;
        }
        const auto byte = static_cast<std::uint8_t>(b[at++]);
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
    ok = false;
    return value;
}

MidiInfo ParseMidi(const QByteArray& smf) {
    MidiInfo info;
    auto fail = [&](const std::string& why) {
        if (info.wellFormed) {
            info.problem = why;
        }
        info.wellFormed = false;
    };
    if (smf.size() < 14 || smf.left(4) != "MThd" || BE32(smf, 4) != 6) {
        fail("no MThd header");
        return info;
    }
    info.format = static_cast<int>(BE16(smf, 8));
    const std::uint32_t declared = BE16(smf, 10);
    info.division = static_cast<int>(BE16(smf, 12));
    qsizetype at = 14;
    while (at < smf.size()) {
        if (at + 8 > smf.size() || smf.mid(at, 4) != "MTrk") {
            fail("bytes after the tracks are not an MTrk chunk");
            return info;
        }
        const qsizetype end = at + 8 + static_cast<qsizetype>(BE32(smf, at + 4));
        if (end > smf.size()) {
            fail("MTrk chunk overruns the file");
            return info;
        }
        at += 8;
        MidiTrackInfo track;
        std::map<std::pair<int, int>, std::vector<std::uint32_t>> sounding;
        std::uint32_t tick = 0;
        std::uint8_t status = 0;
        bool ok = true;
        while (at < end && ok) {
            if (track.endsWithEndOfTrack) {
                fail("events after End of Track");
                break;
            }
            tick += VarLen(smf, at, end, ok);
            if (!ok || at >= end) {
                ok = false;
                break;
            }
            auto byte = static_cast<std::uint8_t>(smf[at]);
            if (byte & 0x80) {
                status = byte;
                ++at;
            } else if (status == 0 || status >= 0xF0) {
                ok = false;  // running status without a status to run on
                break;
            }
            if (status == 0xFF) {
                const int type = static_cast<std::uint8_t>(smf[at++]);
                const std::uint32_t length = VarLen(smf, at, end, ok);
                if (!ok || at + static_cast<qsizetype>(length) > end) {
                    ok = false;
                    break;
                }
                if (type == 0x51 && length == 3) {
                    track.tempos[tick] = static_cast<std::uint8_t>(smf[at]) << 16 |
                                         static_cast<std::uint8_t>(smf[at + 1]) << 8 | static_cast<std::uint8_t>(smf[at + 2]);
                }
                if (type == 0x2F) {
                    track.endsWithEndOfTrack = length == 0;
                }
                at += length;
                status = 0;
            } else if (status == 0xF0 || status == 0xF7) {
                at += VarLen(smf, at, end, ok);
                status = 0;
            } else {
                const int kind = status & 0xF0;
                const int channel = status & 0x0F;
                const int size = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
                if (at + size > end) {
                    ok = false;
                    break;
                }
                const int key = static_cast<std::uint8_t>(smf[at]);
                const int velocity = size == 2 ? static_cast<std::uint8_t>(smf[at + 1]) : 0;
                at += size;
                if (key > 127 || velocity > 127) {
                    ok = false;
                    break;
                }
                if (kind == 0x90 && velocity > 0) {
                    sounding[{channel, key}].push_back(tick);
                } else if (kind == 0x80 || kind == 0x90) {
                    auto& starts = sounding[{channel, key}];
                    if (starts.empty()) {
                        ++track.unmatchedOffs;
                    } else {
                        track.notes.push_back({starts.front(), tick, static_cast<std::uint32_t>(channel),
                                               static_cast<std::uint32_t>(key)});
                        starts.erase(starts.begin());
                    }
                }
            }
        }
        if (!ok) {
            fail("a malformed event");
        }
        if (at != end) {
            fail("an event runs past the end of its MTrk chunk");
        }
        for (const auto& [id, starts] : sounding) {
            track.unfinishedNotes += static_cast<int>(starts.size());
        }
        track.endTick = tick;
        info.tracks.push_back(std::move(track));
        at = end;
    }
    if (info.tracks.size() != declared) {
        fail("header declares " + std::to_string(declared) + " tracks, file holds " +
             std::to_string(info.tracks.size()));
    }
    return info;
}

// Seconds at the tick, from the tempo map (120 beats a minute until the first tempo event).
double SecondsAt(std::uint32_t tick, const std::map<std::uint32_t, std::uint32_t>& tempos, int division) {
    double seconds = 0;
    std::uint32_t from = 0;
    std::uint32_t micros = 500000;
    for (const auto& [at, value] : tempos) {
        if (at >= tick) {
            break;
        }
        seconds += static_cast<double>(at - from) * micros / division / 1e6;
        from = at;
        micros = value;
    }
    return seconds + static_cast<double>(tick - from) * micros / division / 1e6;
}

struct MusicEntry {
    const char* name;
    int format;
    int tracks;
    int division;
    bool rmid;
};

constexpr std::array<MusicEntry, 5> kMusic{{
    {"SOUND1", 1, 7, 120, false},
    {"SOUND2", 1, 10, 120, false},
    {"SOUND3", 1, 26, 240, false},
    {"SOUND4", 1, 5, 240, true},
    {"SOUND5", 0, 1, 120, false},
}};

// The MIDI file inside a RIFF RMID container, checking the container on the way.
QByteArray UnwrapRmid(const QByteArray& riff) {
    if (riff.size() < 20) {
        ADD_FAILURE() << "too short for a RIFF container";
        return {};
    }
    EXPECT_EQ(riff.left(4), QByteArray("RIFF"));
    EXPECT_EQ(LE32(riff, 4), static_cast<std::uint32_t>(riff.size() - 8)) << "RIFF size";
    EXPECT_EQ(riff.mid(8, 4), QByteArray("RMID"));
    EXPECT_EQ(riff.mid(12, 4), QByteArray("data"));
    const std::uint32_t size = LE32(riff, 16);
    EXPECT_LE(20 + static_cast<qsizetype>(size), riff.size());
    EXPECT_GE(20 + static_cast<qsizetype>(size), riff.size() - 1) << "only a pad byte may follow the data";
    return riff.mid(20, size);
}

TEST(Catalog, MusicTracksAreWellFormedMidiFilesOfAtLeastAMinute) {
    for (const MusicEntry& entry : kMusic) {
        SCOPED_TRACE(entry.name);
        const QByteArray bytes = Resource(QStringLiteral("music/%1.mid").arg(QString::fromLatin1(entry.name)));
        const QByteArray smf = entry.rmid ? UnwrapRmid(bytes) : bytes;
        const MidiInfo midi = ParseMidi(smf);
        ASSERT_TRUE(midi.wellFormed) << midi.problem;
        EXPECT_EQ(midi.format, entry.format);
        EXPECT_EQ(static_cast<int>(midi.tracks.size()), entry.tracks);
        EXPECT_EQ(midi.division, entry.division);

        // Tempo lives in the first track (the only one in format 0).
        ASSERT_FALSE(midi.tracks.empty());
        const auto& tempos = midi.tracks.front().tempos;
        EXPECT_FALSE(tempos.empty());
        for (std::size_t i = 0; i < midi.tracks.size(); ++i) {
            const MidiTrackInfo& track = midi.tracks[i];
            SCOPED_TRACE("track " + std::to_string(i));
            EXPECT_TRUE(track.endsWithEndOfTrack);
            EXPECT_EQ(track.unmatchedOffs, 0);
            EXPECT_EQ(track.unfinishedNotes, 0);
            EXPECT_GE(SecondsAt(track.endTick, tempos, midi.division), 60.0);
            if (entry.format == 1 && i > 0) {
                EXPECT_TRUE(track.tempos.empty()) << "tempo changes belong to the first track";
            }
        }
    }
}

TEST(Catalog, MusicTracksHaveMelodyHarmonyBassAndDrums) {
    for (const MusicEntry& entry : kMusic) {
        SCOPED_TRACE(entry.name);
        const QByteArray bytes = Resource(QStringLiteral("music/%1.mid").arg(QString::fromLatin1(entry.name)));
        const MidiInfo midi = ParseMidi(entry.rmid ? UnwrapRmid(bytes) : bytes);
        ASSERT_TRUE(midi.wellFormed) << midi.problem;
        std::vector<std::array<std::uint32_t, 4>> notes;
        for (const MidiTrackInfo& track : midi.tracks) {
            notes.insert(notes.end(), track.notes.begin(), track.notes.end());
        }
        std::set<std::uint32_t> channels;
        std::set<std::uint32_t> drumKeys;
        std::set<std::uint32_t> pitchClasses;
        std::uint32_t lowest = 127, highest = 0, lastStart = 0;
        for (const auto& n : notes) {
            lastStart = std::max(lastStart, n[0]);
            if (n[2] == 9) {
                drumKeys.insert(n[3]);
                continue;
            }
            channels.insert(n[2]);
            pitchClasses.insert(n[3] % 12);
            lowest = std::min(lowest, n[3]);
            highest = std::max(highest, n[3]);
        }
        EXPECT_GE(drumKeys.size(), 3u) << "a drum part on channel 10 with several instruments";
        EXPECT_GE(channels.size(), 3u) << "melody, harmony and bass on their own channels";
        EXPECT_LT(lowest, 52u) << "a bass line";
        EXPECT_GT(highest, 72u) << "a tune above the accompaniment";
        EXPECT_GE(pitchClasses.size(), 5u);

        // Harmony: on most beats three or more pitched notes sound together, and the music goes
        // on to the end instead of stopping early.
        const std::uint32_t beat = static_cast<std::uint32_t>(midi.division);
        int beats = 0, chordal = 0;
        for (std::uint32_t t = 0; t < lastStart; t += beat) {
            std::set<std::uint32_t> sounding;
            for (const auto& n : notes) {
                if (n[2] != 9 && n[0] <= t && t < n[1]) {
                    sounding.insert(n[3]);
                }
            }
            ++beats;
            chordal += sounding.size() >= 3 ? 1 : 0;
        }
        EXPECT_GT(chordal, beats * 3 / 4);
        EXPECT_GE(SecondsAt(lastStart, midi.tracks.front().tempos, midi.division), 55.0);
    }
}

}  // namespace
