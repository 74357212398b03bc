#include "services/twitter.h"

#include <SDL.h>
#include <curl/curl.h>
#include <sys/stat.h>

#include <cstring>

#include "engine/configFile.h"
#include "engine/engine.h"
#include "engine/http.h"
#include "engine/resourceFile.h"
#include "engine/webMessage.h"

namespace {
const char* const kFormats[] = {".json", ".xml"};
const char* const kTweetFailed = "\n---- Twitter\nFailed to post tweet.\nCurl Error: %s\nWeb Response: %s\n----";
const char* const kMediaFailed =
    "\n---- Twitter\nFailed to post tweet with media.\nCurl Error: %s\nWeb Response: %s\n----";

// A curl_slist freed when it goes out of scope.
struct Cheaders {
    curl_slist* list = nullptr;
    ~Cheaders() { curl_slist_free_all(list); }
    void add(const std::string& line) {
        if (!line.empty()) list = curl_slist_append(list, line.c_str());
    }
};
}  // namespace

bool Ctwitter::findMediaId(const std::string& reply, std::string& id) {
    size_t at = reply.find("media_id_string");
    if (at == std::string::npos) return false;
    at += strlen("media_id_string");
    if (at < reply.size() && reply[at] == '"') ++at;   // the key's closing quote
    while (at < reply.size() && (reply[at] == ' ' || reply[at] == ':' || reply[at] == '\t')) ++at;
    if (at >= reply.size() || reply[at] != '"') return false;
    size_t end = reply.find('"', at + 1);
    if (end == std::string::npos || end == at + 1 || end - at - 1 > Ctwitter::kMaxMediaIdLength) return false;
    id = reply.substr(at + 1, end - at - 1);
    return true;
}

namespace {
// The handle is made at the first request, so that libcurl is loaded only
// by a game that talks to the web.
CURL* openHandle() {
    CURL* curl = curl_easy_init();
    if (curl) {
        // Certificates are checked: the token and the tweets travel over this link.
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        // The frame waits on these requests: never for ever.
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, 60L);
    }
    return curl;
}
}  // namespace

Ctwitter::Ctwitter() {
    openUrl = [](const std::string& url) { return SDL_OpenURL(url.c_str()) == 0; };
}

Ctwitter::~Ctwitter() {
    if (curl_) curl_easy_cleanup(curl_);
}

std::string Ctwitter::apiUrl(const std::string& host, const std::string& name) const {
    return scheme() + host + "/1.1/" + name + kFormats[formatIndex == 1 ? 1 : 0];
}

bool Ctwitter::readHostsFile(const std::string& fileName) {
    CconfigFile hosts;
    bool ok = hosts.load(fileName);
    for (const auto& key : hosts.unknownKeys({"RestHost", "UploadHost", "Scheme"}))
        gEngine->log.print(LOG_L, "Can't find keyword %s in %s", key.c_str(), fileName.c_str());
    restHost = hosts.get("RestHost", restHost);
    uploadHost = hosts.get("UploadHost", uploadHost);
    if (hosts.has("Scheme")) schemeIndex = equalsIgnoreCase(hosts.get("Scheme"), "http") ? 1 : 0;
    return ok;
}

void Ctwitter::init() {
    readHostsFile();
    const char* key = gEngine->gameSystem().find("tck");
    const char* secret = gEngine->gameSystem().find("tsk");
    if (key && secret && *key && *secret) oauth_.setConsumer(key, secret);
    loadCredentials();
    if (loadingTick) loadingTick();
}

bool Ctwitter::loadCredentials() {
    CresourceFile file;
    if (!file.open("twitter.dat", RF_SAVE | RF_QUIET)) return false;
    Cbytes record;
    uint16_t type;
    const uint8_t *token, *secret;
    uint32_t tokenLength, secretLength;
    if (!CwebMessage::unpackRecord(file.data(), file.size(), record) || CwebMessage::blockCount(record) < 2 ||
        !CwebMessage::getBlock(record, 0, type, token, tokenLength) ||
        !CwebMessage::getBlock(record, 1, type, secret, secretLength)) {
        gEngine->log.print(LOG_L, "Twitter: can't read twitter.dat");
        return false;
    }
    std::string t((const char*)token, strnlen((const char*)token, tokenLength));
    std::string s((const char*)secret, strnlen((const char*)secret, secretLength));
    if (t.empty() || s.empty()) {
        gEngine->log.print(LOG_L, "Twitter: twitter.dat holds no token");
        return false;
    }
    oauth_.setToken(t, s);
    authorised_ = true;
    return true;
}

size_t Ctwitter::onWrite(char* data, size_t size, size_t count, void* self) {
    auto* me = (Ctwitter*)self;
    size_t n = size * count;
    if (me->reply_.size() + n > kMaxReply) return 0;   // ends the transfer with an error
    me->reply_.append(data, n);
    return n;
}

void Ctwitter::setError(const char* text) { snprintf(errorBuffer_.data(), errorBuffer_.size(), "%s", text); }

bool Ctwitter::prepareStandardParams() {
    reply_.clear();
    errorBuffer_.fill(0);
    httpStatus_ = 0;
    if (!curl_) curl_ = openHandle();
    if (!curl_) {
        setError("No connection handle");
        return false;
    }
    curl_easy_setopt(curl_, CURLOPT_CUSTOMREQUEST, (const char*)nullptr);
    curl_easy_setopt(curl_, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, (curl_slist*)nullptr);
    if (!interfaceSet_) {
        if (!interfaceName_.empty()) curl_easy_setopt(curl_, CURLOPT_INTERFACE, interfaceName_.c_str());
        interfaceSet_ = true;
    }
    if (!proxySet_) {
        if (!proxyServer_.empty()) {
            std::string proxy = proxyPort_.empty() ? proxyServer_ : proxyServer_ + ":" + proxyPort_;
            curl_easy_setopt(curl_, CURLOPT_PROXY, proxy.c_str());
            if (!proxyUser_.empty())
                curl_easy_setopt(curl_, CURLOPT_PROXYUSERPWD, (proxyUser_ + ":" + proxyPassword_).c_str());
            curl_easy_setopt(curl_, CURLOPT_PROXYAUTH, (long)CURLAUTH_ANY);
        }
        proxySet_ = true;
    }
    if (!writeCallbackSet_) {
        curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, errorBuffer_.data());
        curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, &Ctwitter::onWrite);
        curl_easy_setopt(curl_, CURLOPT_WRITEDATA, this);
        writeCallbackSet_ = true;
    }
    if (!userPasswordSet_) {
        if (!userName_.empty()) curl_easy_setopt(curl_, CURLOPT_USERPWD, (userName_ + ":" + password_).c_str());
        userPasswordSet_ = true;
    }
    return true;
}

bool Ctwitter::perform() {
    CURLcode rc = curl_easy_perform(curl_);
    errorBuffer_.back() = 0;
    if (rc != CURLE_OK) {
        if (!errorBuffer_[0]) setError(curl_easy_strerror(rc));
        return false;
    }
    curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &httpStatus_);
    return true;
}

bool Ctwitter::performGet(const std::string& url, const std::string& headerLine) {
    if (!prepareStandardParams()) return false;
    Cheaders headers;
    headers.add(headerLine);
    curl_easy_setopt(curl_, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers.list);
    bool ok = perform();
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, (curl_slist*)nullptr);
    return ok;
}

bool Ctwitter::performPost(const std::string& url, const std::string& body) {
    if (!prepareStandardParams()) return false;
    std::string auth;
    if (!oauth_.buildAuthHeader("POST", url, body, false, auth)) return false;
    Cheaders headers;
    headers.add(auth);
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers.list);
    curl_easy_setopt(curl_, CURLOPT_POST, 1L);
    curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
    // The size first, so an earlier request's body can never be sent again.
    curl_easy_setopt(curl_, CURLOPT_POSTFIELDSIZE, (long)body.size());
    curl_easy_setopt(curl_, CURLOPT_COPYPOSTFIELDS, body.c_str());
    bool ok = perform();
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, (curl_slist*)nullptr);
    return ok && httpStatus_ == 200;
}

bool Ctwitter::takeTokenReply() {
    // Only a reply that carries both a token and a secret replaces the pair;
    // an error page leaves the signer as it was.
    std::string oldToken = oauth_.token(), oldSecret = oauth_.tokenSecret();
    oauth_.setToken("", "");
    oauth_.parseTokenReply(reply_);
    if (oauth_.token().empty() || oauth_.tokenSecret().empty()) {
        oauth_.setToken(oldToken, oldSecret);
        return false;
    }
    return true;
}

bool Ctwitter::getAuthoriseUrl(std::string& authoriseUrlOut) {
    authoriseUrlOut.clear();
    std::string url = requestTokenUrl(), header;
    if (!oauth_.buildAuthHeader("GET", url, "", false, header)) return false;
    if (!performGet(url, header) || !takeTokenReply()) return false;
    authoriseUrlOut = authoriseUrl();
    return true;
}

bool Ctwitter::getAccessToken() {
    std::string url = accessTokenUrl(), header;
    if (!oauth_.buildAuthHeader("GET", url, "", true, header)) return false;
    return performGet(url, header) && httpStatus_ == 200 && takeTokenReply();
}

bool Ctwitter::postStatus(const std::string& text, const std::string& replyToId) {
    if (text.empty()) return false;
    std::string body = "status=" + percentEncode(text);
    if (!replyToId.empty()) body += "&in_reply_to_status_id=" + percentEncode(replyToId);
    return performPost(statusUpdateUrl(), body);
}

bool Ctwitter::uploadMedia(const std::string& fileName) {
    if (!prepareStandardParams()) return false;
    struct stat st;
    if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        setError(("Can't open file: " + fileName).c_str());
        return false;
    }
    std::string url = mediaUploadUrl(), auth;
    if (!oauth_.buildAuthHeader("POST", url, "", false, auth)) return false;
    Cheaders headers;
    headers.add(auth);
    headers.add("Expect: ");   // no 100-continue round trip
    curl_mime* form = curl_mime_init(curl_);
    curl_mimepart* part = curl_mime_addpart(form);
    curl_mime_name(part, "media");
    curl_mime_filedata(part, fileName.c_str());
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers.list);
    curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl_, CURLOPT_MIMEPOST, form);
    bool ok = perform();
    curl_easy_setopt(curl_, CURLOPT_MIMEPOST, (curl_mime*)nullptr);
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, (curl_slist*)nullptr);
    curl_mime_free(form);
    return ok && httpStatus_ == 200;
}

bool Ctwitter::statusUpdate(const std::string& url, const std::vector<std::string>& mediaIds, std::string body) {
    if ((int)mediaIds.size() > kMaxMediaIds) return false;
    std::string ids;
    for (const auto& id : mediaIds) ids += (ids.empty() ? "" : ",") + id;
    // Sent encoded like every other body value, so the signed text matches what the server decodes.
    body += "&media_ids=" + percentEncode(ids);
    return performPost(url, body);
}

bool Ctwitter::postStatusWithMedia(const std::string& text, const std::string& replyToId,
                                   const std::string& mediaId) {
    std::string body = "status=" + percentEncode(text);
    if (!replyToId.empty()) body += "&in_reply_to_status_id=" + percentEncode(replyToId);
    return statusUpdate(statusUpdateUrl(), {mediaId}, body);
}

bool Ctwitter::openAuthorisePage() {
    std::string url;
    if (!getAuthoriseUrl(url)) return false;
    return openUrl ? openUrl(url) : false;
}

bool Ctwitter::authorisePin(const std::string& pin) {
    oauth_.setVerifier(pin);
    if (!getAccessToken()) {
        // The signer holds the request token now: not linked until a PIN succeeds.
        authorised_ = false;
        gEngine->log.print(LOG_L, "Twitter: PIN not accepted");
        return false;
    }
    const std::string& token = oauth_.token();
    const std::string& secret = oauth_.tokenSecret();
    Cbytes record;
    CwebMessage::addBlock(record, 0, token.c_str(), (uint32_t)token.size() + 1);
    CwebMessage::addBlock(record, 0, secret.c_str(), (uint32_t)secret.size() + 1);
    if (!CresourceFile::saveTwitterFile(record.data(), record.size()))
        gEngine->log.print(LOG_L, "Twitter: can't save twitter.dat");
    authorised_ = true;
    if (loadingTick) loadingTick();
    return true;
}

void Ctwitter::unlink() {
    authorised_ = false;
    const std::string path = gEngine->savePath("twitter.dat");
    if (fileExistsW(path) && !removeFile(path)) gEngine->log.print(LOG_L, "Twitter: can't delete twitter.dat");
    gEngine->log.print(LOG_L, "Twitter: unlinked");
}

void Ctwitter::logFailure(const char* what) {
    errorBuffer_.back() = 0;
    gEngine->log.print(LOG_A, what, errorBuffer_.data(), reply_.c_str());
}

bool Ctwitter::tweet(const std::string&) { return postTweet(); }

bool Ctwitter::postTweet() {
    static const CbString kText("Zorbex 2 it now tweeting!");
    if (!authorised_) return false;
    if (postStatus(kText.str(), "")) return true;
    logFailure(kTweetFailed);
    return false;
}

bool Ctwitter::tweetWithImage(const std::string& text) {
    imageTweetText_ = text;
    return postTweetWithImage();
}

bool Ctwitter::postTweetWithImage() {
    if (!authorised_) return false;
    if (!uploadMedia("Tweet.png")) {
        logFailure(kMediaFailed);
        return false;
    }
    gEngine->log.print(LOG_DB, "%s", reply_.c_str());
    std::string mediaId;
    if (!findMediaId(reply_, mediaId)) {
        setError("No media id in the upload reply");
        logFailure(kMediaFailed);
        return false;
    }
    if (postStatusWithMedia(imageTweetText_, "", mediaId)) return true;
    logFailure(kMediaFailed);
    return false;
}

const CbString& Ctwitter::errorText() {
    thread_local CbString text;
    errorBuffer_.back() = 0;
    text.clear();
    if (strlen(errorBuffer_.data()) > 1) text.appendf("Curl Error: '%s'", errorBuffer_.data());
    if (reply_.size() > 1) text.appendf("- Web Error: '%s'", reply_.c_str());
    return text;
}
