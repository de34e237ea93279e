// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <SDL_mixer.h>
#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>
#include <memory>

#include "desktop/audio/qt_track_source.h"
#include "audio/rmid.h"
#include "desktop/audio/music_synth.h"
#include "desktop/audio/game_audio.h"
#include "audio/sound_effects.h"
#include "audio_fixtures.h"

namespace pelmoravan {
namespace {

using namespace pelmoravan::testing;

// The desktop's sound parts with the effects and the music on them, as the game's house holds
// them; an end of track is posted to the test's own loop.
class SoundUnderTest {
public:
    SoundUnderTest(const TWaveCollection& waves, TRandom& random, std::unique_ptr<ITrackSource> tracks,
                   std::string trackPath, std::FILE* log)
        : Audio(std::move(tracks), log),
          Effects(waves, Audio.WaveOutput()),
          Music(Audio.MediaPlayer1(), Audio.Tracks(), random, std::move(trackPath)) {
        Audio.MediaPlayer1().Post = [this](TSdlMusicPlayer::TTask task) {
            QMetaObject::invokeMethod(&Loop, std::move(task), Qt::QueuedConnection);
        };
    }
    void PlaySound(const std::string& name) { Effects.PlaySound(name); }
    void PlaySoundAt(std::int32_t position) { Effects.PlaySoundAt(position); }
    void PlayMusic(bool start) { Music.PlayMusic(start); }
    void MediaPlayer1Notify(bool musicOn) { Music.MediaPlayer1Notify(musicOn); }
    TSdlAudio& DXSound1() { return Audio.DXSound1(); }
    TSdlMusicPlayer& MediaPlayer1() { return Audio.MediaPlayer1(); }
    TSdlWaveOutput& WaveOutput() { return Audio.WaveOutput(); }

private:
    QObject Loop; // gone with the parts: a late end of track is dropped
    TGameAudio Audio;
    TSoundEffects Effects;
    TBackgroundMusic Music;
};

// Each case runs the mixer on SDL's disk driver and reads back what it mixed.
class DiskAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        FillNoiseWaves(Waves);
    }

    QString MixPath() const { return Dir.filePath(QStringLiteral("mix.raw")); }
    std::string TrackPath() const { return Dir.filePath(QStringLiteral("back.MID")).toStdString(); }

    std::unique_ptr<SoundUnderTest> MakeAudio(std::vector<std::uint8_t> track, std::FILE* log = stderr) {
        return std::make_unique<SoundUnderTest>(Waves, Random, std::make_unique<FixedTracks>(std::move(track), &Asked),
                                                TrackPath(), log);
    }

    // Opens the device, runs act, lets the mixer run for ms, closes it and returns the mix.
    Mix Capture(const std::function<void(SoundUnderTest&)>& act, int ms, std::vector<std::uint8_t> track = ChordMidi(240)) {
        ScopedEnv driver("SDL_AUDIODRIVER", "disk");
        ScopedEnv file("SDL_DISKAUDIOFILE", MixPath().toUtf8());
        {
            auto audio = MakeAudio(std::move(track));
            EXPECT_TRUE(audio->DXSound1().Initialized());
            int rate = 0;
            int channels = 0;
            Uint16 format = 0;
            Mix_QuerySpec(&rate, &format, &channels);
            EXPECT_EQ(rate, TSdlAudio::MixRate);
            EXPECT_EQ(format, AUDIO_S16SYS);
            EXPECT_EQ(channels, 2);
            act(*audio);
            QTest::qWait(ms);
        }
        return Mix::Read(MixPath());
    }

    QTemporaryDir Dir;
    TWaveCollection Waves;
    TSteadyClockSeedSource Seeds;
    TRandom Random{&Seeds};
    std::vector<std::string> Asked;
};

TEST_F(DiskAudioTest, AnEffectSoundsAndNothingPlayedIsSilence) {
    const Mix quiet = Capture([](SoundUnderTest&) {}, 400);
    ASSERT_GT(quiet.Samples.size(), 4410u); // the driver did run
    EXPECT_EQ(quiet.Energy(), 0.0);

    const Mix one = Capture([](SoundUnderTest& audio) { audio.PlaySound("recycle"); }, 800);
    EXPECT_GT(one.PeakRms(), 2000.0);

    const Mix byPosition = Capture([](SoundUnderTest& audio) { audio.PlaySoundAt(4); }, 800);
    EXPECT_GT(byPosition.PeakRms(), 2000.0);
}

TEST_F(DiskAudioTest, TwoOverlappingCopiesAreLouderThanOne) {
    const Mix one = Capture([](SoundUnderTest& audio) { audio.PlaySound("recycle"); }, 900);
    const Mix two = Capture(
        [](SoundUnderTest& audio) {
            audio.PlaySound("recycle");
            QTest::qWait(30); // the second starts while the first is sounding
            audio.PlaySound("recycle");
        },
        900);
    EXPECT_GT(one.PeakRms(), 2000.0);
    EXPECT_GT(two.PeakRms(), 1.2 * one.PeakRms());
    EXPECT_GT(two.Energy(), 1.6 * one.Energy());
}

TEST_F(DiskAudioTest, MoreCopiesThanChannelsAllSound) {
    int channels = 0;
    const Mix many = Capture(
        [&channels](SoundUnderTest& audio) {
            for (int i = 0; i < 20; ++i) audio.PlaySound("Alert");
            channels = audio.WaveOutput().Channels();
        },
        300);
    EXPECT_GE(channels, 20);
    EXPECT_GT(many.PeakRms(), 2000.0);
}

TEST_F(DiskAudioTest, MusicIsAudibleFromTheTrackFileAlsoInsideAContainer) {
    const Mix plain = Capture([](SoundUnderTest& audio) { audio.PlayMusic(true); }, 1200, ChordMidi(960));
    EXPECT_GT(plain.PeakRms(), 300.0);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(TrackPath())));

    const Mix wrapped = Capture([](SoundUnderTest& audio) { audio.PlayMusic(true); }, 1200, AsRmid(ChordMidi(960)));
    EXPECT_GT(wrapped.PeakRms(), 300.0);
    // The track file holds the resource as it is; only the player looks inside the container.
    QFile file(QString::fromStdString(TrackPath()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("RIFF"));
}

TEST_F(DiskAudioTest, MusicSwitchedOffIsSilent) {
    const Mix off = Capture(
        [](SoundUnderTest& audio) {
            audio.PlayMusic(true);
            audio.PlayMusic(false);
        },
        800, ChordMidi(960));
    EXPECT_EQ(off.PeakRms(), 0.0);
}

TEST_F(DiskAudioTest, EndOfATrackIsReportedOnTheWindowThreadAndStartsTheNext) {
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", MixPath().toUtf8());
    auto audio = MakeAudio(ChordMidi(30));
    Asked.clear(); // the programs the tracks select were read already
    bool onMainThread = true;
    int notifications = 0;
    audio->MediaPlayer1().OnNotify = [&] {
        notifications += 1;
        onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        audio->MediaPlayer1Notify(true);
    };
    audio->PlayMusic(true);
    EXPECT_EQ(audio->MediaPlayer1().Mode(), TPlayerMode::Playing);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Asked.size() >= 2; }, 20000));
    EXPECT_GE(notifications, 1);
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(audio->MediaPlayer1().Mode(), TPlayerMode::Playing); // the next track runs
}

TEST_F(DiskAudioTest, StoppingTheMusicOurselvesIsNoEndOfTrack) {
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", MixPath().toUtf8());
    auto audio = MakeAudio(ChordMidi(960));
    int ends = 0;
    audio->MediaPlayer1().OnNotify = [&ends] { ends += 1; };
    audio->PlayMusic(true);
    QTest::qWait(100);
    audio->PlayMusic(false); // off
    audio->PlayMusic(true);  // on again: the old track is stopped, the new one starts
    QTest::qWait(400);
    EXPECT_EQ(ends, 0);
    audio->PlayMusic(false);
    EXPECT_EQ(audio->MediaPlayer1().Mode(), TPlayerMode::NotReady);
    QTest::qWait(200);
    EXPECT_EQ(ends, 0);
}

// The program's own tracks and effects, as built into it.
TEST_F(DiskAudioTest, EveryBuiltInTrackAndTheRealEffectsAreAudible) {
    TQtTrackSource resources;
    EXPECT_EQ(resources.Track("SOUND4").size(), resources.Track("Sound4").size());
    const auto container = resources.Track("sound4");
    ASSERT_GE(container.size(), 12u);
    EXPECT_EQ(std::string(container.begin(), container.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(container.begin() + 8, container.begin() + 12), "RMID");
    EXPECT_THROW(resources.Track("Sound6"), ETrackNotFound);

    for (int n = 1; n <= 4; ++n) {
        const Mix mix = Capture([](SoundUnderTest& audio) { audio.PlayMusic(true); }, 1500,
                                resources.Track("Sound" + std::to_string(n)));
        EXPECT_GT(mix.PeakRms(), 300.0) << "SOUND" << n;
    }

    Waves = TWaveCollection{};
    LoadWaves(Waves);
    const Mix effect = Capture([](SoundUnderTest& audio) { audio.PlaySound("recycle"); }, 800);
    EXPECT_GT(effect.PeakRms(), 300.0);
}

// Rendered by a synthesizer of its own: the track's first seconds, as the music player renders them.
std::vector<std::int16_t> Rendered(TMusicSynth& synth, const std::vector<std::uint8_t>& track, int seconds) {
    fluid_player_t* player = new_fluid_player(synth.Synth());
    fluid_player_add_mem(player, track.data(), track.size());
    fluid_player_play(player);
    std::vector<std::int16_t> out(static_cast<std::size_t>(TSdlAudio::MixRate * seconds) * 2);
    synth.Render(out.data(), TSdlAudio::MixRate * seconds);
    delete_fluid_player(player);
    return out;
}

bool HasPreset(TMusicSynth& synth, int bank, int program) {
    for (int i = 0; i < fluid_synth_sfcount(synth.Synth()); ++i) {
        if (fluid_sfont_get_preset(fluid_synth_get_sfont(synth.Synth(), i), bank, program) != nullptr) {
            return true;
        }
    }
    return false;
}

// The synthesizer loads only the presets the built-in tracks select: they sound exactly as with
// the whole soundfont, and a track that selects another program brings the whole soundfont in.
TEST(MusicSynth, TheBuiltInTracksSoundAlikeWithOnlyThePresetsTheySelect) {
    TQtTrackSource resources;
    const std::set<int> programs = TrackPrograms(resources);
    ASSERT_GT(programs.size(), 4u);
    for (int n = 1; n <= 4; ++n) {
        const auto track = UnwrapRmid(resources.Track("Sound" + std::to_string(n)));
        TMusicSynth whole(TSdlAudio::MixRate, TSdlAudio::SoundFontPaths());
        TMusicSynth cut(TSdlAudio::MixRate, TSdlAudio::SoundFontPaths(), TMusicSynth::Polyphony, programs);
        ASSERT_TRUE(whole.Available() && cut.Available());
        const auto expected = Rendered(whole, track, 20);
        EXPECT_GT(std::count_if(expected.begin(), expected.end(), [](std::int16_t v) { return v != 0; }), 0);
        EXPECT_TRUE(Rendered(cut, track, 20) == expected) << "SOUND" << n;
    }
    TMusicSynth cut(TSdlAudio::MixRate, TSdlAudio::SoundFontPaths(), TMusicSynth::Polyphony, programs);
    ASSERT_EQ(programs.count(127), 0u); // no track selects it
    EXPECT_TRUE(HasPreset(cut, 128, 0));
    EXPECT_FALSE(HasPreset(cut, 0, 127));
    cut.Cover({0, 127});
    EXPECT_TRUE(HasPreset(cut, 0, 127));
}

std::string ReadLog(std::FILE* log) {
    std::fflush(log);
    std::rewind(log);
    std::string text;
    for (int c = std::fgetc(log); c != EOF; c = std::fgetc(log)) text.push_back(static_cast<char>(c));
    return text;
}

TEST_F(DiskAudioTest, WithoutADeviceTheGameGoesOnSilentlyAfterOneLine) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    std::FILE* log = std::tmpfile();
    ASSERT_NE(log, nullptr);
    {
        auto audio = MakeAudio(ChordMidi(240), log);
        EXPECT_FALSE(audio->DXSound1().Initialized());
        EXPECT_NO_THROW(audio->PlaySound("recycle"));
        EXPECT_NO_THROW(audio->PlaySoundAt(4));
        EXPECT_NO_THROW(audio->PlaySound("no such wave")); // not looked for without a device
        EXPECT_NO_THROW(audio->PlayMusic(true));
        EXPECT_TRUE(QFile::exists(QString::fromStdString(TrackPath()))); // the track file is still written
        EXPECT_NO_THROW(audio->PlayMusic(true));
        EXPECT_NO_THROW(audio->MediaPlayer1Notify(true));
    }
    const std::string text = ReadLog(log);
    std::fclose(log);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_NE(text.find("no usable sound device"), std::string::npos) << text;
}

TEST_F(DiskAudioTest, WithoutASoundFontEffectsStillSoundAndMusicIsSilent) {
    ScopedEnv fonts("SDL_SOUNDFONTS", Dir.filePath(QStringLiteral("missing.sf2")).toUtf8());
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", MixPath().toUtf8());
    std::FILE* log = std::tmpfile();
    ASSERT_NE(log, nullptr);
    {
        auto audio = MakeAudio(ChordMidi(960), log);
        EXPECT_TRUE(audio->DXSound1().Initialized());
        EXPECT_FALSE(audio->DXSound1().MusicAvailable());
        EXPECT_NO_THROW(audio->PlayMusic(true));
        EXPECT_NO_THROW(audio->PlayMusic(true));
        QTest::qWait(600);
        audio->PlaySound("recycle");
        QTest::qWait(600);
    }
    const Mix mix = Mix::Read(MixPath());
    const std::size_t musicOnly = TSdlAudio::MixRate * 2 * 4 / 10; // the first 400 ms
    ASSERT_GT(mix.Samples.size(), musicOnly);
    EXPECT_TRUE(std::all_of(mix.Samples.begin(), mix.Samples.begin() + musicOnly, [](std::int16_t s) { return s == 0; }));
    EXPECT_GT(mix.PeakRms(), 2000.0);
    const std::string text = ReadLog(log);
    std::fclose(log);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_NE(text.find("soundfont"), std::string::npos) << text;
}

} // namespace
} // namespace pelmoravan
