// The Twitter client against a local stand-in: linking by PIN, the saved
// token, posts with and without media, and every way a post fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/resourceFile.h"
#include "engine/webMessage.h"
#include "services/twitter.h"
#include "support/fakeTwitter.h"
#include "support/testEngine.h"

namespace {
class TwitterClient : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            unsetenv(v);
        gEngine->gameSystem().set("tck", "ck");
        gEngine->gameSystem().set("tsk", "cs");
    }
    void pointAtServer(Ctwitter& t) {
        t.schemeIndex = 1;
        t.restHost = t.uploadHost = server.hostPort();
    }
    // A client started from a saved twitter.dat holding the access token.
    void startLinked(Ctwitter& t) {
        Cbytes record;
        CwebMessage::addBlock(record, 0, "accTok-1", 9);
        CwebMessage::addBlock(record, 0, "accSec", 7);
        ASSERT_TRUE(CresourceFile::saveTwitterFile(record.data(), record.size()));
        t.init();
        pointAtServer(t);
        ASSERT_TRUE(t.authorised());
    }
    std::string savedFile() const { return eng.saveDir() + "/twitter.dat"; }
    // Tweets with the image "Tweet.png" of the save folder (the game's working
    // folder), written first when png is given.
    bool tweetImage(Ctwitter& t, const std::string& text, const std::string* png = nullptr) {
        std::string cwd = std::filesystem::current_path();
        std::filesystem::current_path(eng.saveDir());
        if (png) std::ofstream("Tweet.png", std::ios::binary) << *png;
        bool ok = t.tweetWithImage(text);
        std::filesystem::current_path(cwd);
        return ok;
    }

    CtestEngine eng;
    CfakeTwitter server;
};
}  // namespace

TEST_F(TwitterClient, PinFlowLinksSavesTwoBlocksAndANewClientStartsLinked) {
    Ctwitter t;
    int ticks = 0;
    t.loadingTick = [&] { ++ticks; };
    t.init();
    EXPECT_FALSE(t.authorised());
    pointAtServer(t);
    std::string opened;
    t.openUrl = [&](const std::string& url) {
        opened = url;
        return true;
    };

    ASSERT_TRUE(t.openAuthorisePage()) << t.errorText().str();
    EXPECT_EQ(opened, "http://" + server.hostPort() + "/oauth/authorize?oauth_token=reqTok");
    EXPECT_FALSE(t.authorised());

    ASSERT_TRUE(t.authorisePin("7654321")) << t.errorText().str();
    EXPECT_TRUE(t.authorised());
    EXPECT_EQ(ticks, 2);   // the loading screen ticks at start-up and after linking

    auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(CfakeTwitter::authFields(reqs[1])["oauth_verifier"], "7654321");
    EXPECT_TRUE(server.problems().empty()) << server.problems()[0];

    // The file, as earlier versions read it: a two-block record kept unpacked,
    // each block a text and its zero byte.
    CresourceFile f;
    ASSERT_TRUE(f.open("twitter.dat", RF_SAVE));
    EXPECT_EQ(f.packedType(), 0);
    ASSERT_EQ(f.size(), 54u);
    const std::string bytes((const char*)f.data(), f.size());
    const std::pair<size_t, std::string> fields[] = {{0, {"\2\0\0\0\x36\0\0\0\x36\0\0\0\0\0\0\0\x09\0\0\0", 20}},
                                                     {26, {"accTok-1\0\0\0\x07\0\0\0", 15}},
                                                     {47, {"accSec\0", 7}}};
    for (const auto& [at, want] : fields) EXPECT_EQ(bytes.substr(at, want.size()), want) << at;
    // The next run reads it back and can post at once.
    Ctwitter next;
    next.init();
    EXPECT_TRUE(next.authorised());
    pointAtServer(next);
    EXPECT_TRUE(next.tweet("unused")) << next.errorText().str();
    EXPECT_TRUE(server.problems().empty());
}

// A rejected PIN writes nothing; a linked client given one is unlinked too,
// and its file is left alone.
TEST_F(TwitterClient, RejectedPinLeavesClientUnlinkedAndWritesNothing) {
    Ctwitter t;
    t.init();
    pointAtServer(t);
    t.openUrl = [](const std::string&) { return true; };
    ASSERT_TRUE(t.openAuthorisePage());
    EXPECT_FALSE(t.authorisePin("0000000"));
    EXPECT_FALSE(fileExistsW(savedFile()));
    EXPECT_FALSE(t.postTweet());

    ASSERT_TRUE(t.authorisePin("7654321"));   // the request token stays for another try
    Cbytes before;
    ASSERT_TRUE(CresourceFile::readWholeFile(savedFile(), before));
    ASSERT_TRUE(t.openAuthorisePage());
    EXPECT_FALSE(t.authorisePin("1111111"));
    EXPECT_FALSE(t.authorised());
    Cbytes after;
    ASSERT_TRUE(CresourceFile::readWholeFile(savedFile(), after));
    EXPECT_EQ(before, after);
}

TEST_F(TwitterClient, StatusPostCarriesEncodedBodyAndAValidSignature) {
    Ctwitter t;
    t.oauth().setConsumer("ck", "cs");
    t.oauth().setToken("accTok-1", "accSec");
    pointAtServer(t);
    EXPECT_FALSE(t.postStatus("", ""));
    EXPECT_TRUE(server.requests().empty());

    ASSERT_TRUE(t.postStatus("Hello world! \xc3\xbc & 100%", "123")) << t.errorText().str();
    auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 1u);
    EXPECT_EQ(reqs[0].body, "status=Hello%20world%21%20%C3%BC%20%26%20100%25&in_reply_to_status_id=123");
    EXPECT_TRUE(server.problems().empty()) << server.problems()[0];
}

TEST_F(TwitterClient, MediaFailuresAreReported) {
    auto line = [](const std::string& curl, const std::string& web) {
        return "\n---- Twitter\nFailed to post tweet with media.\nCurl Error: " + curl + "\nWeb Response: " + web + "\n----";
    };
    Ctwitter t;
    startLinked(t);
    // No image file: nothing is sent.
    EXPECT_FALSE(tweetImage(t, "x"));
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(t.errorText().str(), "Curl Error: 'Can't open file: Tweet.png'");
    EXPECT_TRUE(gEngine->log.contains(line("Can't open file: Tweet.png", "")));

    // An upload reply without a media id stops before the status update.
    server.setUploadReply("{\"media_id\":5}");
    const std::string png = "png";
    EXPECT_FALSE(tweetImage(t, "x", &png));
    EXPECT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(gEngine->log.contains(line("No media id in the upload reply", "{\"media_id\":5}")));
}

// No file, a file that is no record, a record of one block: the client is
// unlinked and sends nothing.
TEST_F(TwitterClient, NothingIsSentWhileUnlinked) {
    const char junk[] = "not a record at all";
    Cbytes oneBlock;
    CwebMessage::addBlock(oneBlock, 0, "tok", 4);
    for (const Cbytes& file : {Cbytes(), Cbytes(junk, junk + sizeof junk), oneBlock}) {
        if (!file.empty()) ASSERT_TRUE(CresourceFile::saveTwitterFile(file.data(), file.size()));
        Ctwitter t;
        t.init();
        EXPECT_FALSE(t.authorised());
        pointAtServer(t);
        EXPECT_FALSE(t.tweet("x"));
        EXPECT_FALSE(t.tweetWithImage("x"));
        EXPECT_EQ(t.errorText().str(), "");
    }
    EXPECT_TRUE(server.requests().empty());
}
