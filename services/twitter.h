#pragma once
// Ctwitter: links a Twitter account by PIN and posts tweets, with or without
// the game's screenshot, through REST API 1.1. Requests run synchronously on
// the calling (main) thread over one libcurl easy handle, signed by Coauth.
//
// Hosts and scheme come from "twitterHosts.txt" in the text files folder (or
// are set on the fields directly); the consumer key and secret are the
// game-system texts "tck" and "tsk".
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "engine/bString.h"
#include "services/oauth.h"

typedef void CURL;

class Ctwitter {
public:
    static constexpr size_t kErrorBufferSize = 1024;
    static constexpr int kMaxMediaIds = 4;
    static constexpr size_t kMaxReply = 1024 * 1024;
    static constexpr size_t kMaxMediaIdLength = 499;

    // The quoted value that follows "media_id_string" in an upload reply.
    static bool findMediaId(const std::string& reply, std::string& id);

    Ctwitter();
    ~Ctwitter();
    Ctwitter(const Ctwitter&) = delete;
    Ctwitter& operator=(const Ctwitter&) = delete;

    // Once at start-up: hosts, consumer pair, then the saved credentials.
    void init();
    bool readHostsFile(const std::string& fileName = "twitterHosts.txt");

    // Transport; each true on success.
    // False (error "No connection handle") without a connection handle.
    bool prepareStandardParams();
    // Success when the transfer completes, whatever the HTTP status.
    bool performGet(const std::string& url, const std::string& headerLine);
    // Signed POST of a form body; success only on HTTP 200.
    bool performPost(const std::string& url, const std::string& body);

    // Twitter operations.
    bool getAuthoriseUrl(std::string& authoriseUrl);
    bool getAccessToken();
    bool postStatus(const std::string& text, const std::string& replyToId);
    bool uploadMedia(const std::string& fileName);
    bool statusUpdate(const std::string& url, const std::vector<std::string>& mediaIds, std::string body);
    bool postStatusWithMedia(const std::string& text, const std::string& replyToId, const std::string& mediaId);

    // Game side.
    bool openAuthorisePage();
    bool authorisePin(const std::string& pin);
    // Forgets the link: not authorised, and the saved "twitter.dat" removed so
    // that the next run starts unlinked too. The signer keeps its token pair
    // until the next token reply replaces it.
    void unlink();
    bool tweet(const std::string& text);   // posts the fixed announcement; text is not used
    bool postTweet();
    bool tweetWithImage(const std::string& text);
    bool postTweetWithImage();
    // What the screens show after a failure. Valid until the next call on this thread.
    const CbString& errorText();

    bool authorised() const { return authorised_; }
    Coauth& oauth() { return oauth_; }
    const std::string& reply() const { return reply_; }
    const char* curlError() const { return errorBuffer_.data(); }
    long lastHttpStatus() const { return httpStatus_; }

    // URLs: scheme + host + path (+ format suffix for the 1.1 paths).
    std::string scheme() const { return schemeIndex == 1 ? "http://" : "https://"; }
    std::string requestTokenUrl() const { return scheme() + restHost + "/oauth/request_token"; }
    std::string authoriseUrl() const { return scheme() + restHost + "/oauth/authorize?oauth_token=" + oauth_.token(); }
    std::string accessTokenUrl() const { return scheme() + restHost + "/oauth/access_token"; }
    std::string statusUpdateUrl() const { return apiUrl(restHost, "statuses/update"); }
    std::string mediaUploadUrl() const { return apiUrl(uploadHost, "media/upload"); }

    // Configuration.
    std::string restHost = "api.twitter.com";
    std::string uploadHost = "upload.twitter.com";
    int schemeIndex = 0;   // 0 "https://", 1 "http://"
    int formatIndex = 0;   // 0 ".json", 1 ".xml"

    // Filled by the loading screen: ticks it once while the game is loading.
    std::function<void()> loadingTick;
    // Opens a page in the user's browser; SDL_OpenURL unless replaced.
    std::function<bool(const std::string&)> openUrl;

private:
    static size_t onWrite(char* data, size_t size, size_t count, void* self);
    std::string apiUrl(const std::string& host, const std::string& name) const;
    bool loadCredentials();
    bool takeTokenReply();
    void setError(const char* text);
    void logFailure(const char* what);
    bool perform();

    CURL* curl_ = nullptr;
    std::array<char, kErrorBufferSize> errorBuffer_{};
    std::string reply_;
    bool proxySet_ = false;
    bool userPasswordSet_ = false;
    bool writeCallbackSet_ = false;
    bool interfaceSet_ = false;
    // Never set by this game; given to libcurl only when non-empty.
    std::string proxyServer_, proxyPort_, proxyUser_, proxyPassword_, interfaceName_, userName_, password_;
    long httpStatus_ = 0;
    Coauth oauth_;
    bool authorised_ = false;
    std::string imageTweetText_;
};
