#pragma once
// httpPost: one blocking HTTP request over libcurl, its reply returned per call;
// percentEncode for what goes into its URLs and bodies.
#include <cstddef>
#include <string>
#include <string_view>

struct ChttpReply {
    bool ok = false;          // the request completed (any HTTP status)
    long status = 0;          // HTTP status code, 0 when none arrived
    std::string body;         // at most kMaxReply bytes
    std::string error;        // libcurl's text when the request failed
    bool truncated = false;
};

constexpr size_t kHttpMaxReply = 20480;

// verb "POST" or "GET"; host is "name", "name:port" or a URL with a scheme
// ("http://" when none is given); object is the path and query.
ChttpReply httpPost(const char* verb, const std::string& host, const std::string& object,
                    const std::string& headerText, const void* body, size_t bodyLength, long timeoutSeconds = 15);

// Percent-encoding of URL parts and form values: A-Z a-z 0-9 - _ . stay (and
// '~' when keepTilde), every other byte becomes "%XX" in upper-case hex.
std::string percentEncode(std::string_view text, bool keepTilde = true);
