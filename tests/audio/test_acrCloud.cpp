#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/acrCloud.h"
#include "audio/songInfoMgr.h"
#include "support/audioTestFiles.h"
#include "support/localHttpServer.h"
#include "support/testEngine.h"

namespace {
const char* kMatch =
    "{\"status\":{\"msg\":\"Success\",\"code\":0,\"version\":\"1.0\"},\"metadata\":{\"music\":[{"
    "\"title\":\"Caf\\u00e9 %s\",\"artists\":[{\"name\":\"The \\\"Band\\\"\"},{\"name\":\"Other\"}],"
    "\"album\":{\"name\":\"LP\"},\"genres\":[{\"name\":\"Pop\"}],\"duration_ms\":215500,"
    "\"external_ids\":{},\"score\":100}],\"timestamp_utc\":\"2026-01-01 10:00:00\"},\"result_type\":0}";
}

TEST(TrackIdentification, RepliesParse) {
    CtrackTags t;
    ASSERT_TRUE(CacrCloud::parseReply(kMatch, t));
    EXPECT_EQ(t.title, "Caf\xc3\xa9 %s");
    EXPECT_EQ(t.artist, "The \"Band\"");
    EXPECT_EQ(t.album, "LP");
    EXPECT_EQ(t.genre, "Pop");
    EXPECT_FLOAT_EQ(t.length, 215.5f);
    EXPECT_FALSE(CacrCloud::parseReply("{\"status\":{\"msg\":\"No result\",\"code\":1001}}", t));
    EXPECT_FALSE(CacrCloud::parseReply("{\"status\":{\"code\":0},\"metadata\":{\"music\":[]}}", t));
    EXPECT_FALSE(CacrCloud::parseReply("{\"status\":{\"code\":0", t));
    EXPECT_FALSE(CacrCloud::parseReply("not json", t));
    EXPECT_FALSE(CacrCloud::parseReply(std::string(100, '['), t));
    std::string wav = CacrCloud::wavBytes({0, 1000, -1000}, 8000);
    ASSERT_EQ(wav.size(), 50u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 4), "WAVE");
}

TEST(TrackIdentification, NoHostMeansNothingIdentified) {
    CtestEngine eng;
    CacrCloud acr;
    ASSERT_TRUE(acr.init());
    EXPECT_TRUE(eng->log.contains("ARC Cloud Init Success"));
    EXPECT_TRUE(acr.host.empty());   // musicServices.txt ships without one
    acr.startListening();
    EXPECT_FALSE(acr.listening());
    EXPECT_TRUE(eng->log.contains("ACR: no identification host set; the track stays unidentified"));
    CpcmBuffer tone = synth::makeTone(440, 1.0, 48000, 2);
    acr.feedCapture(tone.samples.data(), (int)tone.frames(), 2, 48000);
    acr.update();
    CtrackTags t;
    EXPECT_FALSE(acr.takeResult(t));
}

TEST(TrackIdentification, CapturedAudioIsResampledPostedAndNamed) {
    CtestEngine eng;
    ClocalHttpServer server([](const ChttpRequest&) {
        ChttpResponse r;
        r.contentType = "application/json";
        r.body = kMatch;
        return r;
    });
    CacrCloud acr;
    ASSERT_TRUE(acr.init());
    acr.host = server.hostPort();
    acr.accessKey = "key1";
    acr.accessSecret = "secret";
    acr.listenSeconds = 1.0f;
    std::string signedText;
    acr.sign = [&](const std::string& text, const std::string& secret) {
        signedText = text;
        return "SIG-" + secret;
    };
    acr.startListening();
    ASSERT_TRUE(acr.listening());
    CpcmBuffer tone = synth::makeTone(440, 1.5, 48000, 2);
    for (size_t at = 0; at < tone.frames(); at += 4800)   // 0.1 s blocks, as capture delivers
        acr.feedCapture(tone.samples.data() + at * 2, (int)std::min<size_t>(4800, tone.frames() - at), 2, 48000);
    EXPECT_FALSE(acr.listening());
    CtrackTags t;
    waitUntil([&] {
        acr.update();
        return acr.takeResult(t);
    });
    EXPECT_EQ(t.title, "Caf\xc3\xa9 %s");
    ASSERT_EQ(server.requests().size(), 1u);
    ChttpRequest req = server.requests()[0];
    EXPECT_EQ(req.method, "POST");
    EXPECT_EQ(req.path, "/v1/identify");
    EXPECT_NE(req.header("content-type").find("multipart/form-data; boundary="), std::string::npos);
    EXPECT_NE(req.body.find("name=\"access_key\"\r\n\r\nkey1\r\n"), std::string::npos);
    EXPECT_NE(req.body.find("name=\"signature\"\r\n\r\nSIG-secret\r\n"), std::string::npos);
    EXPECT_EQ(signedText.rfind("POST\n/v1/identify\nkey1\naudio\n1\n", 0), 0u);
    // The sample: one second of 8 kHz mono 16-bit WAV.
    size_t riff = req.body.find("RIFF");
    ASSERT_NE(riff, std::string::npos);
    uint32_t dataBytes = getU32((const uint8_t*)req.body.data() + riff + 40);
    EXPECT_NEAR((double)dataBytes, 16000.0, 400.0);
    EXPECT_EQ(getU32((const uint8_t*)req.body.data() + riff + 24), 8000u);

    // What the player then does with it: an identified open-mic track in the library.
    CsongInfoMgr lib;
    lib.init();
    CsongPackInfo mic;
    mic.kind = SONG_OPEN_MIC;
    mic.path = "OpenMic - Desktop";
    mic.setOpenMic(&mic, t);
    EXPECT_EQ(mic.getKey(), makeSongKey(SONG_OPEN_MIC, t.title, t.artist, t.length));
    CsongPackInfo* kept = lib.addOpenMicTrack(t, mic.path);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(lib.findByKey(mic.getKey(), false), kept);
}
