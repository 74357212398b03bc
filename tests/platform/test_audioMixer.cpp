#include <gtest/gtest.h>

#include "engine/resourceFile.h"
#include "platform/audio/audioCapture.h"
#include "platform/audio/audioMixer.h"
#include "support/audioTestFiles.h"
#include "support/localHttpServer.h"
#include "support/testEngine.h"

namespace {
// Mixes in manual mode until pred holds (or the wait for a hang runs out).
template <class P>
bool mixUntil(CaudioMixer& m, P pred) {
    std::vector<float> buf(1024 * 2);
    return waitUntil([&] {
        if (pred()) return true;
        m.mix(buf.data(), 1024);
        return false;
    });
}

// The pitch of what a channel played last.
double pitchOf(CaudioMixer& m, HaudioChannel c) {
    std::vector<float> mono(8192);
    return m.getData(c, mono.data(), 8192) == 8192 ? dominantFrequency(mono.data(), 8192, 44100) : 0;
}

// The loudest sample of one side of interleaved stereo (side -1: both).
float peak(const std::vector<float>& v, int side = -1) {
    float m = 0;
    for (size_t i = side < 0 ? 0 : side; i < v.size(); i += side < 0 ? 1 : 2) m = std::max(m, std::fabs(v[i]));
    return m;
}

// A radio station: an MP3 body with ICY metadata every metaint bytes.
std::string icyBody(const Cbytes& mp3, size_t metaint, const std::string& title) {
    std::string meta = "StreamTitle='" + title + "';";
    meta.resize((meta.size() + 15) / 16 * 16, '\0');
    std::string out;
    for (size_t at = 0; at < mp3.size(); at += metaint) {
        out.append(mp3.begin() + at, mp3.begin() + std::min(mp3.size(), at + metaint));
        if (at + metaint <= mp3.size()) out += std::string(1, (char)(meta.size() / 16)) + meta;
    }
    return out;
}
}  // namespace

TEST(AudioMixer, SamplesPlayWithVolumePanRateAndEnd) {
    std::string dir = makeTempFolder("mix");
    std::string path = writeTestAudio(dir, "blip.wav", synth::makeTone(1000.0, 0.25));
    CaudioMixer m;
    ASSERT_TRUE(m.init(nullptr, 44100, 1024, true));
    HaudioSample s = m.loadSample(path, 2);
    EXPECT_NEAR(m.sampleLength(s), 0.25, 0.01);
    EXPECT_EQ(m.loadSample(dir + "/missing.wav"), 0u);

    HaudioChannel c = m.sampleChannel(s);
    ASSERT_TRUE(m.setAttribute(c, AUDIO_PAN, -1.0f));   // left only
    ASSERT_TRUE(m.play(c));
    std::vector<float> out(2048 * 2);
    m.mix(out.data(), 2048);
    EXPECT_GT(peak(out, 0), 0.3f);
    EXPECT_EQ(peak(out, 1), 0.0f);
    EXPECT_NEAR(m.position(c), 2048.0 / 44100, 1e-6);

    // Paused: nothing more is taken; played again: it runs to its end and stops.
    ASSERT_TRUE(m.pause(c));
    m.mix(out.data(), 2048);
    EXPECT_EQ(peak(out), 0.0f);
    EXPECT_NEAR(m.position(c), 2048.0 / 44100, 1e-6);
    ASSERT_TRUE(m.play(c));
    for (int i = 0; i < 10; ++i) m.mix(out.data(), 2048);
    EXPECT_EQ(m.state(c), CHANNEL_STOPPED);

    // Double rate halves the time; volume 0 is silent.
    HaudioChannel fast = m.sampleChannel(s);
    m.setAttribute(fast, AUDIO_RATE, 2.0f);
    m.setAttribute(fast, AUDIO_VOLUME, 0.0f);
    EXPECT_FALSE(m.setAttribute(fast, AUDIO_VOLUME, NAN));
    m.play(fast);
    m.mix(out.data(), 2048);
    EXPECT_EQ(peak(out), 0.0f);
    for (int i = 0; i < 2; ++i) m.mix(out.data(), 2048);
    EXPECT_EQ(m.state(fast), CHANNEL_STOPPED);   // 0.25 s at double rate is under 6144 frames

    // A third playback of a two-playback sample takes over the oldest played
    // one, never one made and not yet played.
    HaudioChannel a = m.sampleChannel(s), b = m.sampleChannel(s);
    m.play(a);
    m.stop(a);
    HaudioChannel third = m.sampleChannel(s);
    EXPECT_TRUE(!m.exists(a) && m.exists(b) && m.exists(third));
    m.play(b);
    m.play(third);
    HaudioChannel fourth = m.sampleChannel(s);
    EXPECT_TRUE(!m.exists(b) && m.exists(third) && m.exists(fourth));

    EXPECT_FALSE(m.play(9999));   // unknown
    m.freeSample(s);
    EXPECT_FALSE(m.exists(third));
    EXPECT_EQ(m.sampleChannel(s), 0u);
    removeFolderTree(dir);
}

// A sample with the same sound on both sides is held as one, yet plays every decoded value on each side.
TEST(AudioMixer, SamplesPlayWhatDecodesWhetherSidesMatchOrNot) {
    std::string dir = makeTempFolder("sides");
    CpcmBuffer apart(44100, 2, 0.1);
    synth::addTone(apart, 0, 0.1, 440.0, 0.5f, WAVE_SINE, -0.5f);
    for (const CpcmBuffer& pcm : {synth::makeTone(440.0, 0.1), apart}) {
        std::string path = writeTestAudio(dir, "t.wav", pcm);
        CaudioDecoder d;
        std::vector<float> want(pcm.samples.size() + 8);
        ASSERT_TRUE(d.open(path, CaudioDecoder::Coptions()));
        want.resize((size_t)d.read(want.data(), (int)want.size() / 2) * 2);
        CaudioMixer m;
        ASSERT_TRUE(m.init(nullptr, 44100, 1024, true));
        HaudioSample s = m.loadSample(path);
        EXPECT_DOUBLE_EQ(m.sampleLength(s), want.size() / 2 / 44100.0);
        ASSERT_TRUE(m.play(m.sampleChannel(s)));
        std::vector<float> out(want.size() + 64, -1.0f);
        m.mix(out.data(), (int)out.size() / 2);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), out.begin()) && out[want.size()] == 0.0f);
    }
    removeFolderTree(dir);
}

TEST(AudioMixer, FileStreamPositionSeekRestartAndEnd) {
    std::string dir = makeTempFolder("stream");
    CpcmBuffer a = synth::makeTone(440.0, 1.0), b = synth::makeTone(880.0, 1.0);
    a.samples.insert(a.samples.end(), b.samples.begin(), b.samples.end());
    std::string path = writeTestAudio(dir, "two.ogg", a);
    CaudioMixer m;
    ASSERT_TRUE(m.init(nullptr, 44100, 1024, true));
    EXPECT_EQ(m.streamFile(dir + "/missing.ogg"), 0u);
    HaudioChannel c = m.streamFile(path);
    EXPECT_NEAR(m.length(c), 2.0, 0.05);
    ASSERT_TRUE(m.play(c));
    ASSERT_TRUE(mixUntil(m, [&] { return m.position(c) > 0.5; }));
    EXPECT_NEAR(pitchOf(m, c), 440.0, 8.0);
    ASSERT_TRUE(m.setPosition(c, 1.4));
    EXPECT_NEAR(m.position(c), 1.4, 0.01);
    ASSERT_TRUE(mixUntil(m, [&] { return m.position(c) > 1.7; }));
    EXPECT_NEAR(pitchOf(m, c), 880.0, 8.0);

    // It ends by itself, and play with restart starts it over.
    ASSERT_TRUE(mixUntil(m, [&] { return m.state(c) == CHANNEL_STOPPED; }));
    EXPECT_NEAR(m.position(c), 2.0, 0.05);
    ASSERT_TRUE(m.play(c, true));
    EXPECT_LT(m.position(c), 0.01);
    removeFolderTree(dir);
}

TEST(AudioMixer, PushStreamCarriesWhatIsPushed) {
    CaudioMixer m;
    ASSERT_TRUE(m.init(nullptr, 44100, 1024, true));
    HaudioChannel c = m.streamPush(1);
    m.play(c);
    EXPECT_EQ(m.state(c), CHANNEL_STALLED);   // nothing pushed yet
    CpcmBuffer tone = synth::makeTone(300.0, 0.5, 44100, 1, 0.4f);
    EXPECT_EQ(m.pushData(c, tone.samples.data(), (int)tone.frames()), (int)tone.frames());
    EXPECT_EQ(m.state(c), CHANNEL_PLAYING);
    std::vector<float> out(4096 * 2);
    m.mix(out.data(), 4096);
    for (int side : {0, 1}) EXPECT_NEAR(peak(out, side), 0.4f, 0.01f);   // mono goes to both sides
    EXPECT_EQ(m.pushData(9999, tone.samples.data(), 10), 0);
}

TEST(AudioMixer, DummyDeviceOpensAndPlays) {
    CaudioMixer m;
    if (!m.init(nullptr, 44100, 512)) GTEST_SKIP() << "no audio driver: " << m.lastError();
    std::string dir = makeTempFolder("dev");
    HaudioChannel c = m.streamFile(writeTestAudio(dir, "t.mp3", synth::makeTone(500.0, 1.0)));
    m.play(c);
    EXPECT_TRUE(waitUntil([&] { return m.position(c) >= 0.2; }));
    m.shutdown();
    EXPECT_FALSE(m.exists(c));
    removeFolderTree(dir);
}

// A radio station served on 127.0.0.1: a .pls playlist leads to an MP3 or AAC
// stream with ICY metadata; the channel connects off the caller's thread.
TEST(AudioMixer, RadioStreamConnectsAndReadsIcyTitle) {
    std::string dir = makeTempFolder("radio");
    for (std::string ext : {"mp3", "aac"}) {
        SCOPED_TRACE(ext);
        Cbytes audio;
        ASSERT_TRUE(CresourceFile::readWholeFile(writeTestAudio(dir, "station." + ext, synth::makeTone(660.0, 4.0), nullptr, 128), audio));
        const std::string title = "Live Band - It's %s Live";
        std::string url;
        ClocalHttpServer server([&](const ChttpRequest& req) -> ChttpResponse {
            if (req.path.rfind("/tunein.pls", 0) == 0)
                return {200, "[playlist]\nnumberofentries=1\nFile1=" + url + "/stream\nTitle1=Test\n"};
            if (req.path != "/stream") return {404};
            return {200, icyBody(audio, 8192, title), ext == "aac" ? "audio/aacp" : "audio/mpeg",
                    {{"icy-metaint", "8192"}, {"icy-name", "Test Station"}, {"icy-genre", "Pop"}}};
        });
        url = server.url();
        CaudioMixer m;
        ASSERT_TRUE(m.init(nullptr, 44100, 1024, true));
        HaudioChannel c = m.streamUrl(url + "/tunein.pls?id=5", 60000, 60000);
        m.play(c);
        ASSERT_TRUE(mixUntil(m, [&] { return m.position(c) > 1.0; }));
        EXPECT_EQ(m.length(c), 0.0);   // live
        EXPECT_TRUE(m.streamTitle(c) == title && m.titleSerial(c) >= 1u && m.stationName(c) == "Test Station");
        EXPECT_NEAR(pitchOf(m, c), 660.0, 8.0);
        m.freeChannel(c);
    }
    removeFolderTree(dir);
}

TEST(AudioMixer, DeadStreamsFailWithoutBlocking) {
    CheldAnswer held;
    ClocalHttpServer server([&](const ChttpRequest& req) -> ChttpResponse {
        if (req.path == "/empty.pls") return {200, "[playlist]\nnumberofentries=0\n"};
        if (req.path == "/held") held.waitTurn();
        return {req.path == "/held" ? 200 : 404, "late"};
    });
    CaudioMixer m;
    ASSERT_TRUE(m.init(nullptr, 44100, 1024, true));
    held.hold();
    // The last has nothing listening on its port.
    for (std::string url : {server.url() + "/missing", server.url() + "/empty.pls", server.url() + "/held",
                            std::string("http://127.0.0.1:1/stream")}) {
        SCOPED_TRACE(url);
        HaudioChannel c = m.streamUrl(url, 500, 500);
        m.play(c);
        ASSERT_TRUE(mixUntil(m, [&] { return m.state(c) == CHANNEL_FAILED; }));
        EXPECT_FALSE(m.error(c).empty());
        m.freeChannel(c);
    }
    EXPECT_EQ(held.answered(), 0);   // the held stream gave up by its own limit
    held.letGo();
    ASSERT_TRUE(waitUntil([&] { return held.answered() == 1; }));

    // Paused while still connecting (a countdown pausing a track that has
    // just started), a stream says paused and can be resumed; freeing it while
    // it connects comes back before the service answers.
    held.hold();
    HaudioChannel slow = m.streamUrl(server.url() + "/held", 120000, 120000);
    m.play(slow);
    EXPECT_EQ(m.state(slow), CHANNEL_CONNECTING);
    m.pause(slow);
    EXPECT_EQ(m.state(slow), CHANNEL_PAUSED);
    m.play(slow, false);
    EXPECT_EQ(m.state(slow), CHANNEL_CONNECTING);
    m.freeChannel(slow);
    EXPECT_EQ(held.answered(), 1);
    held.letGo();
}

TEST(AudioCapture, SourceKindsAndDefaults) {
    const std::pair<const char*, int> names[] = {{"Monitor of Built-in Audio Analog Stereo", CAPTURE_DESKTOP},
                                                 {"alsa_output.pci.analog-stereo.monitor", CAPTURE_DESKTOP},
                                                 {"Built-in Audio Line In", CAPTURE_LINE_IN},
                                                 {"USB Microphone", CAPTURE_MICROPHONE}};
    for (const auto& [name, kind] : names) EXPECT_EQ(CaudioCapture::kindOfName(name), kind) << name;
    std::vector<CaudioDeviceInfo> list = {{0, CAPTURE_MICROPHONE, "Mic A", 1, 48000, false},
                                          {1, CAPTURE_DESKTOP, "Monitor of X", 2, 48000, false},
                                          {2, CAPTURE_MICROPHONE, "Mic B", 1, 48000, true}};
    for (auto [kind, device] : {std::pair{CAPTURE_MICROPHONE, 2}, {CAPTURE_DESKTOP, 1}, {CAPTURE_LINE_IN, -1}})
        EXPECT_EQ(CaudioCapture::defaultOfKind(list, kind), device) << kind;
}
