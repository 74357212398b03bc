#include "engine/http.h"

#include <curl/curl.h>

#include "engine/engine.h"

namespace {
size_t onData(char* p, size_t size, size_t count, void* user) {
    auto* reply = (ChttpReply*)user;
    size_t n = size * count;
    size_t room = kHttpMaxReply - reply->body.size();
    if (n > room) {
        reply->body.append(p, room);
        reply->truncated = true;
        return n;   // keep the connection tidy; the rest is dropped
    }
    reply->body.append(p, n);
    return n;
}

std::string makeUrl(const std::string& host, const std::string& object) {
    std::string url = host.find("://") == std::string::npos ? "http://" + host : host;
    if (!object.empty() && object[0] != '/' && url.back() != '/') url += '/';
    return url + object;
}
}  // namespace

ChttpReply httpPost(const char* verb, const std::string& host, const std::string& object,
                    const std::string& headerText, const void* body, size_t bodyLength, long timeoutSeconds) {
    ChttpReply reply;
    std::string url = makeUrl(host, object);
    CURL* curl = curl_easy_init();
    if (!curl) {
        gEngine->log.print(LOG_L, "HTTP post HINTERNET internet InternetOpenA error=%s  URL=%s", "curl_easy_init",
                           url.c_str());
        return reply;
    }
    char errorBuffer[CURL_ERROR_SIZE] = {0};
    curl_slist* headers = nullptr;
    // Header text holds lines separated by CR LF.
    size_t start = 0;
    while (start < headerText.size()) {
        size_t end = headerText.find("\r\n", start);
        if (end == std::string::npos) end = headerText.size();
        std::string line = headerText.substr(start, end - start);
        if (!line.empty()) headers = curl_slist_append(headers, line.c_str());
        start = end + 2;
    }
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, timeoutSeconds < 5 ? timeoutSeconds : 5L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, timeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!gEngine->userAgent.empty()) curl_easy_setopt(curl, CURLOPT_USERAGENT, gEngine->userAgent.c_str());
    if (verb && std::string(verb) == "GET") {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, (long)bodyLength);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, bodyLength ? body : "");
        if (verb && std::string(verb) != "POST") curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, verb);
    }
    CURLcode rc = curl_easy_perform(curl);
    if (rc == CURLE_OK) {
        reply.ok = true;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
        if (reply.truncated) gEngine->log.print(LOG_E, "Http Post: response bigger than 20k");
    } else {
        reply.error = errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc);
        if (rc == CURLE_COULDNT_CONNECT || rc == CURLE_COULDNT_RESOLVE_HOST)
            gEngine->log.print(LOG_L, "HTTP post connect InternetConnectA error=%s  URL=%s", reply.error.c_str(),
                               url.c_str());
        else
            gEngine->log.print(LOG_L, "HTTP post error: %d  URL=%s", (int)rc, url.c_str());
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return reply;
}

std::string percentEncode(std::string_view text, bool keepTilde) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || (c == '~' && keepTilde)) {
            out += (char)c;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}
