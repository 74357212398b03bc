#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "platform/audio/audioDecoder.h"
#include "platform/audio/audioTags.h"
#include "platform/audio/decoderLibs.h"
#include "platform/audio/fft.h"
#include "platform/audio/resampler.h"
#include "support/audioTestFiles.h"
#include "support/testEngine.h"

namespace {
std::vector<float> decodeAll(CaudioDecoder& d) {
    std::vector<float> out, block(4096 * 2);
    for (;;) {
        int n = d.read(block.data(), 4096);
        if (n <= 0) break;
        out.insert(out.end(), block.begin(), block.begin() + n * 2);
    }
    return out;
}
}  // namespace

// The decoding libraries open once, whoever asks first and however many ask
// at the same time, and every function the decoder calls is found.
TEST(AudioDecoder, DecodingLibrariesOpenOnceWithEveryFunction) {
    preloadDecoderLibs();
    preloadDecoderLibs();   // a second preload starts nothing more
    std::vector<const CdecoderLibs*> seen(6, nullptr);
    std::vector<std::thread> askers;
    for (size_t i = 0; i < seen.size(); ++i) askers.emplace_back([&seen, i] { seen[i] = &decoderLibs(); });
    for (auto& t : askers) t.join();
    for (const CdecoderLibs* l : seen) EXPECT_EQ(l, &decoderLibs());
    const CdecoderLibs& libs = decoderLibs();
    ASSERT_TRUE(libs.ok) << libs.error;
#define ZX_EXPECT_FOUND(lib, name) EXPECT_NE(libs.name, nullptr) << #name;
    ZX_DECODER_FUNCTIONS(ZX_EXPECT_FOUND)
#undef ZX_EXPECT_FOUND
}

// Every format a player's library is likely to hold decodes to the right
// length and pitch, and its tags read back.
TEST(AudioDecoder, EveryLibraryFormatDecodesAndTagsRead) {
    std::string dir = makeTempFolder("fmt");
    CpcmBuffer tone = synth::makeTone(440.0, 2.0, 44100, 2, 0.5f);
    CfileTags tags{"Tone Title", "Tone Artist", "Tone Album", "Test", 7, 2026};
    for (const char* ext : {"mp3", "ogg", "opus", "flac", "m4a", "wav", "wma"}) {
        SCOPED_TRACE(ext);
        std::string path = writeTestAudio(dir, std::string("tone.") + ext, tone, &tags);
        ASSERT_FALSE(path.empty());
        CaudioDecoder d;
        ASSERT_TRUE(d.open(path, {})) << d.lastError();
        EXPECT_NEAR(d.duration(), 2.0, 0.15);
        std::vector<float> pcm = decodeAll(d);
        double seconds = (double)pcm.size() / 2 / 44100;
        EXPECT_NEAR(seconds, 2.0, 0.15);
        std::vector<float> mono = toMono(pcm);
        ASSERT_GE(mono.size(), 30000u);
        EXPECT_NEAR(dominantFrequency(mono.data() + 20000, 8192, 44100), 440.0, 8.0);

        CaudioFileTags t;
        ASSERT_TRUE(readAudioFileTags(path, t));
        EXPECT_EQ(t.title + "|" + t.artist + "|" + t.album, "Tone Title|Tone Artist|Tone Album");
        EXPECT_EQ(t.trackNumber, 7u);
        EXPECT_NEAR(t.lengthSeconds, 2.0, 0.2);
    }
    removeFolderTree(dir);
}

TEST(AudioDecoder, MissingAndNonAudioFilesFail) {
    std::string dir = makeTempFolder("bad");
    CaudioDecoder d;
    EXPECT_FALSE(d.open(dir + "/nothing.mp3", {}));
    EXPECT_FALSE(d.lastError().empty());
    std::string junk = dir + "/junk.mp3";
    std::ofstream(junk) << "this is not audio at all, just a text file pretending";
    EXPECT_FALSE(d.open(junk, {}));
    CaudioFileTags t;
    EXPECT_FALSE(readAudioFileTags(dir + "/nothing.mp3", t));
    EXPECT_FALSE(readAudioFileTags(junk, t) && t.lengthSeconds > 0);
    EXPECT_EQ(d.read(nullptr, 10), -1);   // not open
    removeFolderTree(dir);
}

// A 59-byte WAV whose header claims 579 MHz: the resampler built for that rate
// took 1.7 GB and seconds. Such a file is refused at open, and a real
// high-rate recording still plays.
TEST(AudioDecoder, ImplausibleSampleRateIsRefusedAndHighRatesStillPlay) {
    static const unsigned char kClaims579MHz[] = {
        0x52, 0x49, 0x46, 0x46, 0x08, 0x6c, 0x00, 0x00, 0x57, 0x41, 0x56, 0x45,
        0x66, 0x6d, 0x74, 0x20, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00,
        0x00, 0x56, 0x88, 0x22, 0x00, 0x58, 0x01, 0x3f, 0x04, 0x00, 0x10, 0x00,
        0x64, 0x61, 0x74, 0x61, 0x5c, 0x67, 0x00, 0xac, 0xd6, 0xc8, 0x63, 0x32,
        0x7d, 0xc6, 0x8a, 0x11, 0x72, 0x1a, 0x73, 0xf0, 0xe8, 0x31, 0x11,
    };
    std::string dir = makeTempFolder("rate");
    std::string path = dir + "/claims.wav";
    std::ofstream(path, std::ios::binary).write((const char*)kClaims579MHz, sizeof kClaims579MHz);
    CaudioDecoder d;
    EXPECT_FALSE(d.open(path, {}));
    EXPECT_NE(d.lastError().find("unsupported format 579360256 Hz"), std::string::npos) << d.lastError();
    EXPECT_EQ(probeAudioLength(path), 0.0f);

    // A claimed 1 Hz would make each sample 44,100 on the way out.
    unsigned char claims1Hz[sizeof kClaims579MHz];
    std::copy(std::begin(kClaims579MHz), std::end(kClaims579MHz), claims1Hz);
    claims1Hz[24] = 1, claims1Hz[25] = claims1Hz[26] = claims1Hz[27] = 0;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write((const char*)claims1Hz, sizeof claims1Hz);
    EXPECT_FALSE(d.open(path, {}));
    EXPECT_NE(d.lastError().find("unsupported format 1 Hz"), std::string::npos) << d.lastError();

    std::string low = writeTestAudio(dir, "low.wav", synth::makeTone(440.0, 0.5, 8000, 1, 0.5f));
    ASSERT_FALSE(low.empty());
    ASSERT_TRUE(d.open(low, {})) << d.lastError();
    EXPECT_NEAR((double)decodeAll(d).size() / 2 / 44100, 0.5, 0.05);

    std::string high = writeTestAudio(dir, "high.wav", synth::makeTone(440.0, 0.5, 192000, 2, 0.5f));
    ASSERT_FALSE(high.empty());
    ASSERT_TRUE(d.open(high, {})) << d.lastError();
    EXPECT_EQ(d.inputRate(), 192000);
    std::vector<float> pcm = decodeAll(d);
    EXPECT_NEAR((double)pcm.size() / 2 / 44100, 0.5, 0.05);
    removeFolderTree(dir);
}

TEST(AudioDecoder, SeekLandsOnTheWantedTime) {
    std::string dir = makeTempFolder("seek");
    // 440 Hz for a second, then 880 Hz.
    CpcmBuffer a = synth::makeTone(440.0, 1.0), b = synth::makeTone(880.0, 1.0);
    a.samples.insert(a.samples.end(), b.samples.begin(), b.samples.end());
    std::string path = writeTestAudio(dir, "two.flac", a);
    CaudioDecoder d;
    ASSERT_TRUE(d.open(path, {}));
    ASSERT_TRUE(d.seek(1.25));
    std::vector<float> block(8192 * 2);
    ASSERT_EQ(d.read(block.data(), 8192), 8192);
    std::vector<float> mono = toMono(block);
    EXPECT_NEAR(dominantFrequency(mono.data(), 8192, 44100), 880.0, 8.0);
    ASSERT_TRUE(d.seek(0.1));
    ASSERT_EQ(d.read(block.data(), 8192), 8192);
    mono = toMono(block);
    EXPECT_NEAR(dominantFrequency(mono.data(), 8192, 44100), 440.0, 8.0);
    removeFolderTree(dir);
}

TEST(AudioDecoder, PlaylistsAndIcyTitles) {
    EXPECT_EQ(CaudioDecoder::parsePlaylist("[playlist]\nnumberofentries=2\nFile2=http://b.example/2\r\n"
                                           "File1=http://a.example:8000/stream\r\nTitle1=x\n"),
              "http://a.example:8000/stream");
    EXPECT_EQ(CaudioDecoder::parsePlaylist("#EXTM3U\n#EXTINF:-1,Station\n\nhttp://c.example/live\n"), "http://c.example/live");
    EXPECT_EQ(CaudioDecoder::parsePlaylist("[playlist]\nnumberofentries=0\n") + CaudioDecoder::parsePlaylist("just text"), "");

    EXPECT_EQ(CaudioDecoder::parseIcyTitle("StreamTitle='Band - Song';StreamUrl='';"), "Band - Song");
    // Apostrophes inside a title and format characters are kept as they are.
    EXPECT_EQ(CaudioDecoder::parseIcyTitle("StreamTitle='Don't Stop %s%n%d';"), "Don't Stop %s%n%d");
    EXPECT_EQ(CaudioDecoder::parseIcyTitle("StreamUrl='x';"), "");
    // Latin-1 titles come out as UTF-8.
    EXPECT_EQ(CaudioDecoder::parseIcyTitle(std::string("StreamTitle='Caf\xe9';")), "Caf\xc3\xa9");
    EXPECT_EQ(CaudioDecoder::parseIcyTitle("StreamTitle='Caf\xc3\xa9';"), "Caf\xc3\xa9");

    EXPECT_TRUE(CaudioDecoder::isUrl("HTTP://x") && CaudioDecoder::isUrl("https://x"));
    EXPECT_FALSE(CaudioDecoder::isUrl("/music/http.mp3"));
}

TEST(AudioDecoder, FftAndResampler) {
    Cfft fft;
    EXPECT_FALSE(fft.setSize(1000));
    ASSERT_TRUE(fft.setSize(1024));
    std::vector<float> in(1024), out(512);
    for (int i = 0; i < 1024; ++i) in[i] = (float)std::sin(2 * M_PI * 64 * i / 1024.0);   // bin 64
    fft.magnitudes(in.data(), out.data());
    EXPECT_NEAR(out[64], 1.0f, 0.05f);
    EXPECT_LT(out[200], 0.01f);

    // 48 kHz stereo to 8 kHz mono keeps the pitch and scales the length.
    Cresampler r;
    ASSERT_TRUE(r.init(1, 48000, 8000));
    CpcmBuffer tone = synth::makeTone(1000.0, 1.0, 48000, 1, 0.5f);
    std::vector<float> got;
    ASSERT_TRUE(r.process(tone.samples.data(), 24000, got));
    ASSERT_TRUE(r.process(tone.samples.data() + 24000, 24000, got));
    EXPECT_NEAR((double)got.size(), 8000.0, 100.0);
    ASSERT_GE(got.size(), 4096u + 1000);
    EXPECT_NEAR(dominantFrequency(got.data() + 1000, 4096, 8000), 1000.0, 5.0);
}
