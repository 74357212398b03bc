#include <gtest/gtest.h>

#include <fstream>
#include <thread>
#include <vector>

#include "platform/audio/audioDecoder.h"
#include "platform/audio/audioTags.h"
#include "platform/audio/decoderLibs.h"
#include "support/audioTestFiles.h"
#include "support/testEngine.h"

namespace {
std::vector<float> decodeAll(CaudioDecoder& d) {
    std::vector<float> out, block(4096 * 2);
    for (int n; (n = d.read(block.data(), 4096)) > 0;) out.insert(out.end(), block.begin(), block.begin() + n * 2);
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
    const CdecoderLibs& libs = decoderLibs();
    EXPECT_EQ(seen, std::vector<const CdecoderLibs*>(6, &libs));
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
        CaudioDecoder d;
        ASSERT_TRUE(d.open(path, {})) << d.lastError();
        EXPECT_NEAR(d.duration(), 2.0, 0.15);
        std::vector<float> mono = toMono(decodeAll(d));
        EXPECT_NEAR(mono.size() / 44100.0, 2.0, 0.15);
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

// A 59-byte WAV whose header claimed 579 MHz once had its resampler take 1.7
// GB and seconds; such rates, a claimed 1 Hz, a missing file and a text file
// are all refused at open. Real low and high rates still play.
TEST(AudioDecoder, UnplayableFilesAreRefusedAndUnusualRatesPlay) {
    unsigned char wav[] = {
        0x52, 0x49, 0x46, 0x46, 0x08, 0x6c, 0x00, 0x00, 0x57, 0x41, 0x56, 0x45, 0x66, 0x6d, 0x74, 0x20,
        0x10, 0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x56, 0x88, 0x22, 0x00, 0x58, 0x01, 0x3f,
        0x04, 0x00, 0x10, 0x00, 0x64, 0x61, 0x74, 0x61, 0x5c, 0x67, 0x00, 0xac, 0xd6, 0xc8, 0x63, 0x32,
        0x7d, 0xc6, 0x8a, 0x11, 0x72, 0x1a, 0x73, 0xf0, 0xe8, 0x31, 0x11,
    };
    std::string dir = makeTempFolder("rate");
    std::ofstream(dir + "/579MHz.wav", std::ios::binary).write((const char*)wav, sizeof wav);
    const unsigned char oneHz[4] = {1, 0, 0, 0};
    std::copy(oneHz, oneHz + 4, wav + 24);
    std::ofstream(dir + "/1Hz.wav", std::ios::binary).write((const char*)wav, sizeof wav);
    std::ofstream(dir + "/junk.mp3") << "this is not audio at all, just a text file pretending";
    const std::pair<const char*, const char*> bad[] = {{"/579MHz.wav", "unsupported format 579360256 Hz"},
                                                       {"/1Hz.wav", "unsupported format 1 Hz"},
                                                       {"/junk.mp3", ""},
                                                       {"/nothing.mp3", ""}};
    CaudioDecoder d;
    for (const auto& [name, why] : bad) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(d.open(dir + name, {}));
        EXPECT_NE(d.lastError().find(why), std::string::npos) << d.lastError();
        EXPECT_FALSE(d.lastError().empty());
        EXPECT_EQ(probeAudioLength(dir + name), 0.0f);
        EXPECT_EQ(d.read(nullptr, 10), -1);   // not open
    }
    for (int rate : {8000, 192000}) {
        ASSERT_TRUE(d.open(writeTestAudio(dir, "tone.wav", synth::makeTone(440.0, 0.5, rate, 1, 0.5f)), {})) << d.lastError();
        EXPECT_EQ(d.inputRate(), rate);
        std::vector<float> mono = toMono(decodeAll(d));
        EXPECT_NEAR(mono.size() / 44100.0, 0.5, 0.05);
        ASSERT_GE(mono.size(), 8192u);
        EXPECT_NEAR(dominantFrequency(mono.data(), 8192, 44100), 440.0, 8.0) << rate;
    }
    removeFolderTree(dir);
}

TEST(AudioDecoder, SeekLandsOnTheWantedTime) {
    std::string dir = makeTempFolder("seek");
    // 440 Hz for a second, then 880 Hz.
    CpcmBuffer a = synth::makeTone(440.0, 1.0), b = synth::makeTone(880.0, 1.0);
    a.samples.insert(a.samples.end(), b.samples.begin(), b.samples.end());
    CaudioDecoder d;
    ASSERT_TRUE(d.open(writeTestAudio(dir, "two.flac", a), {}));
    std::vector<float> block(8192 * 2);
    for (auto [at, pitch] : {std::pair{1.25, 880.0}, {0.1, 440.0}}) {
        ASSERT_TRUE(d.seek(at));
        ASSERT_EQ(d.read(block.data(), 8192), 8192);
        EXPECT_NEAR(dominantFrequency(toMono(block).data(), 8192, 44100), pitch, 8.0) << at;
    }
    removeFolderTree(dir);
}

TEST(AudioDecoder, PlaylistsAndIcyTitles) {
    const std::pair<std::string, std::string> playlists[] = {
        {"[playlist]\nnumberofentries=2\nFile2=http://b.example/2\r\nFile1=http://a.example:8000/stream\r\nTitle1=x\n",
         "http://a.example:8000/stream"},
        {"#EXTM3U\n#EXTINF:-1,Station\n\nhttp://c.example/live\n", "http://c.example/live"},
        {"[playlist]\nnumberofentries=0\n", ""},
        {"just text", ""},
    };
    for (const auto& [text, url] : playlists) EXPECT_EQ(CaudioDecoder::parsePlaylist(text), url) << text;
    // Apostrophes inside a title and format characters are kept as they are;
    // Latin-1 titles come out as UTF-8.
    const std::pair<std::string, std::string> titles[] = {
        {"StreamTitle='Band - Song';StreamUrl='';", "Band - Song"},
        {"StreamTitle='Don't Stop %s%n%d';", "Don't Stop %s%n%d"},
        {"StreamUrl='x';", ""},
        {"StreamTitle='Caf\xe9';", "Caf\xc3\xa9"},
        {"StreamTitle='Caf\xc3\xa9';", "Caf\xc3\xa9"},
    };
    for (const auto& [block, title] : titles) EXPECT_EQ(CaudioDecoder::parseIcyTitle(block), title) << block;
    EXPECT_TRUE(CaudioDecoder::isUrl("HTTP://x") && CaudioDecoder::isUrl("https://x"));
    EXPECT_FALSE(CaudioDecoder::isUrl("/music/http.mp3"));
}
