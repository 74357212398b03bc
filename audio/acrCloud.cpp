#include "audio/acrCloud.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>

#include "engine/configFile.h"
#include "engine/engine.h"
#include "engine/http.h"

namespace {
// A small JSON reader: enough for the identification reply.
struct Cjson {
    enum Etype { NUL, BOOL, NUM, STR, ARR, OBJ } type = NUL;
    double num = 0;
    std::string str;
    std::vector<Cjson> items;
    // A named member; completed below, once Cjson itself is complete.
    struct Cmember;
    std::vector<Cmember> members;
    const Cjson* get(const char* name) const;
    const Cjson* at(size_t i) const { return type == ARR && i < items.size() ? &items[i] : nullptr; }
};

struct Cjson::Cmember {
    std::string name;
    Cjson value;
};

const Cjson* Cjson::get(const char* name) const {
    for (const auto& m : members)
        if (m.name == name) return &m.value;
    return nullptr;
}

struct CjsonParser {
    const char* p;
    const char* end;
    void blanks() {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')) ++p;
    }
    static void putUtf8(std::string& s, uint32_t c) {
        if (c < 0x80) {
            s.push_back((char)c);
        } else if (c < 0x800) {
            s.push_back((char)(0xC0 | (c >> 6)));
            s.push_back((char)(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            s.push_back((char)(0xE0 | (c >> 12)));
            s.push_back((char)(0x80 | ((c >> 6) & 0x3F)));
            s.push_back((char)(0x80 | (c & 0x3F)));
        } else {
            s.push_back((char)(0xF0 | (c >> 18)));
            s.push_back((char)(0x80 | ((c >> 12) & 0x3F)));
            s.push_back((char)(0x80 | ((c >> 6) & 0x3F)));
            s.push_back((char)(0x80 | (c & 0x3F)));
        }
    }
    bool hex4(uint32_t& v) {
        if (end - p < 4) return false;
        v = 0;
        for (int i = 0; i < 4; ++i) {
            char c = *p++;
            v <<= 4;
            if (c >= '0' && c <= '9') v |= (uint32_t)(c - '0');
            else if (c >= 'a' && c <= 'f') v |= (uint32_t)(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') v |= (uint32_t)(c - 'A' + 10);
            else return false;
        }
        return true;
    }
    bool string(std::string& out) {
        if (p >= end || *p != '"') return false;
        ++p;
        while (p < end && *p != '"') {
            char c = *p++;
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            if (p >= end) return false;
            char e = *p++;
            switch (e) {
            case 'b': out.push_back('\b'); break;
            case 'f': out.push_back('\f'); break;
            case 'n': out.push_back('\n'); break;
            case 'r': out.push_back('\r'); break;
            case 't': out.push_back('\t'); break;
            case 'u': {
                uint32_t c1;
                if (!hex4(c1)) return false;
                if (c1 >= 0xD800 && c1 < 0xDC00 && end - p >= 6 && p[0] == '\\' && p[1] == 'u') {
                    p += 2;
                    uint32_t c2;
                    if (!hex4(c2)) return false;
                    c1 = 0x10000 + ((c1 - 0xD800) << 10) + (c2 - 0xDC00);
                }
                putUtf8(out, c1);
                break;
            }
            default: out.push_back(e);
            }
        }
        if (p >= end) return false;
        ++p;
        return true;
    }
    bool value(Cjson& v, int depth) {
        if (depth > 32) return false;
        blanks();
        if (p >= end) return false;
        if (*p == '{') {
            v.type = Cjson::OBJ;
            ++p;
            blanks();
            if (p < end && *p == '}') return ++p, true;
            for (;;) {
                blanks();
                Cjson::Cmember m;
                if (!string(m.name)) return false;
                blanks();
                if (p >= end || *p++ != ':') return false;
                if (!value(m.value, depth + 1)) return false;
                v.members.push_back(std::move(m));
                blanks();
                if (p < end && *p == ',') { ++p; continue; }
                if (p < end && *p == '}') return ++p, true;
                return false;
            }
        }
        if (*p == '[') {
            v.type = Cjson::ARR;
            ++p;
            blanks();
            if (p < end && *p == ']') return ++p, true;
            for (;;) {
                Cjson item;
                if (!value(item, depth + 1)) return false;
                v.items.push_back(std::move(item));
                blanks();
                if (p < end && *p == ',') { ++p; continue; }
                if (p < end && *p == ']') return ++p, true;
                return false;
            }
        }
        if (*p == '"') {
            v.type = Cjson::STR;
            return string(v.str);
        }
        auto word = [&](const char* w) {
            size_t n = strlen(w);
            if ((size_t)(end - p) < n || strncmp(p, w, n) != 0) return false;
            p += n;
            return true;
        };
        if (word("true")) { v.type = Cjson::BOOL; v.num = 1; return true; }
        if (word("false")) { v.type = Cjson::BOOL; return true; }
        if (word("null")) return true;
        std::string n;
        while (p < end && (isdigit((unsigned char)*p) || *p == '-' || *p == '+' || *p == '.' || *p == 'e' || *p == 'E'))
            n.push_back(*p++);
        if (n.empty()) return false;
        v.type = Cjson::NUM;
        v.num = strtod(n.c_str(), nullptr);
        return true;
    }
};

std::string firstName(const Cjson* list) {
    const Cjson* first = list ? list->at(0) : nullptr;
    const Cjson* name = first ? first->get("name") : nullptr;
    return name && name->type == Cjson::STR ? name->str : std::string();
}
}  // namespace

bool CacrCloud::parseReply(const std::string& json, CtrackTags& tags) {
    tags.clear();
    Cjson root;
    CjsonParser parser{json.data(), json.data() + json.size()};
    if (!parser.value(root, 0) || root.type != Cjson::OBJ) return false;
    const Cjson* status = root.get("status");
    const Cjson* code = status ? status->get("code") : nullptr;
    if (!code || code->type != Cjson::NUM || code->num != 0) return false;
    const Cjson* meta = root.get("metadata");
    const Cjson* music = meta ? meta->get("music") : nullptr;
    const Cjson* track = music ? music->at(0) : nullptr;
    const Cjson* title = track ? track->get("title") : nullptr;
    if (!title || title->type != Cjson::STR || title->str.empty()) return false;
    tags.title = title->str;
    tags.artist = firstName(track->get("artists"));
    tags.genre = firstName(track->get("genres"));
    if (const Cjson* album = track->get("album"))
        if (const Cjson* name = album->get("name"); name && name->type == Cjson::STR) tags.album = name->str;
    if (const Cjson* ms = track->get("duration_ms"); ms && ms->type == Cjson::NUM && std::isfinite(ms->num) && ms->num > 0)
        tags.length = (float)(ms->num / 1000.0);
    return true;
}

std::string CacrCloud::wavBytes(const std::vector<int16_t>& pcm, int rate) {
    uint32_t data = (uint32_t)(pcm.size() * 2);
    std::string out(44 + data, '\0');
    uint8_t* h = (uint8_t*)out.data();
    memcpy(h, "RIFF", 4);
    putU32(h + 4, 36 + data);
    memcpy(h + 8, "WAVEfmt ", 8);
    putU32(h + 16, 16);
    putU16(h + 20, 1);   // PCM
    putU16(h + 22, 1);   // mono
    putU32(h + 24, (uint32_t)rate);
    putU32(h + 28, (uint32_t)rate * 2);
    putU16(h + 32, 2);
    putU16(h + 34, 16);
    memcpy(h + 36, "data", 4);
    putU32(h + 40, data);
    for (size_t i = 0; i < pcm.size(); ++i) putU16(h + 44 + i * 2, (uint16_t)pcm[i]);
    return out;
}

bool CacrCloud::init() {
    // Service settings: host, key and secret; a missing file leaves identification off.
    CconfigFile services;
    services.load("musicServices.txt", true);
    host = services.get("IdentifyHost", host);
    accessKey = services.get("IdentifyKey", accessKey);
    accessSecret = services.get("IdentifySecret", accessSecret);
    if (!resampler_.init(1, 48000, kRate)) {
        gEngine->log.print(LOG_E, "Error : src_new() failed : %s.", resampler_.lastError().c_str());
        ready_ = false;
        return false;
    }
    resRate_ = 48000;
    ready_ = true;
    gEngine->log.print(LOG_L, "ARC Cloud Init Success");
    return true;
}

void CacrCloud::shutdown() {
    listening_ = false;
    task_.join();
    task_.reset();
}

void CacrCloud::startListening() {
    collected_.clear();
    resultReady_ = false;
    if (!ready_) return;
    if (host.empty()) {
        gEngine->log.print(LOG_L, "ACR: no identification host set; the track stays unidentified");
        return;
    }
    if (task_.running()) return;
    listening_ = true;
    resampler_.reset();
    gEngine->log.print(LOG_L, "ACR: listening");
}

void CacrCloud::stopListening() {
    listening_ = false;
    collected_.clear();
}

void CacrCloud::forgetPending() {
    stopListening();
    resultReady_ = false;
    dropReply_ = task_.running() || task_.finished();
}

void CacrCloud::feedCapture(const float* frames, int count, int channels, int rate) {
    if (!listening_ || !frames || count <= 0 || channels <= 0 || rate <= 0) return;
    if (rate != resRate_) {
        if (!resampler_.init(1, rate, kRate)) {
            gEngine->log.print(LOG_E, "Error : src_new() failed : %s.", resampler_.lastError().c_str());
            listening_ = false;
            return;
        }
        resRate_ = rate;
    }
    mono_.resize((size_t)count);
    for (int i = 0; i < count; ++i) {
        float s = 0;
        for (int c = 0; c < channels; ++c) s += frames[(size_t)i * channels + c];
        mono_[(size_t)i] = s / (float)channels;
    }
    resampler_.process(mono_.data(), count, collected_);
    if (collected_.size() >= (size_t)(listenSeconds * kRate)) {
        listening_ = false;
        sendRequest();
    }
}

void CacrCloud::sendRequest() {
    collected_.resize(std::min(collected_.size(), (size_t)(listenSeconds * kRate)));
    std::vector<int16_t> pcm(collected_.size());
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = (int16_t)std::lround(std::clamp(collected_[i], -1.0f, 1.0f) * 32767.0f);
    collected_.clear();
    std::string sample = wavBytes(pcm, kRate);
    std::string timestamp = std::to_string((long long)time(nullptr));
    std::string toSign = "POST\n/v1/identify\n" + accessKey + "\naudio\n1\n" + timestamp;
    std::string signature = sign ? sign(toSign, accessSecret) : std::string();
    const std::string boundary = "----ZorbexIdentify7d31a9";
    std::string body;
    auto field = [&](const char* name, const std::string& value) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
    };
    field("access_key", accessKey);
    field("data_type", "audio");
    field("signature_version", "1");
    field("signature", signature);
    field("sample_bytes", std::to_string(sample.size()));
    field("timestamp", timestamp);
    body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"sample\"; filename=\"sample.wav\"\r\n"
            "Content-Type: audio/wav\r\n\r\n";
    body += sample;
    body += "\r\n--" + boundary + "--\r\n";
    std::string header = "Content-Type: multipart/form-data; boundary=" + boundary + "\r\n";
    std::string h = host;
    long timeout = timeoutSeconds;
    task_.reset();
    task_.start([this, h, header, body, timeout] {
        ChttpReply r = httpPost("POST", h, "/v1/identify", header, body.data(), body.size(), timeout);
        reply_ = r.body;
        replyStatus_ = r.status;
        return r.ok && r.status == 200;
    });
}

void CacrCloud::update() {
    if (!task_.finished()) return;
    task_.join();
    bool ok = task_.success();
    task_.reset();
    if (dropReply_) {
        dropReply_ = false;
        gEngine->log.print(LOG_L, "ACR: reply dropped (the track was left)");
        return;
    }
    CtrackTags tags;
    if (ok && parseReply(reply_, tags)) {
        result_ = tags;
        resultReady_ = true;
        gEngine->log.print(LOG_L, "ACR: identified %s - %s", tags.title.c_str(), tags.artist.c_str());
    } else {
        gEngine->log.print(LOG_L, "ACR: no match (status %ld)", replyStatus_);
    }
}

bool CacrCloud::takeResult(CtrackTags& tags) {
    if (!resultReady_) return false;
    tags = result_;
    resultReady_ = false;
    return true;
}
