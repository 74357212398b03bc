#include "engine/configFile.h"

#include <cerrno>
#include <cstdlib>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"

bool CconfigFile::load(const std::string& name, bool quiet) {
    entries_.clear();
    CresourceFile file;
    if (!file.open("textFiles/" + name, quiet ? RF_DATA | RF_QUIET : RF_DATA)) return false;
    return parse(file.text(), name);
}

bool CconfigFile::parse(const char* text, const std::string& name) {
    entries_.clear();
    name_ = name;
    const char* cursor = text;
    const std::string endBlock = "End" + block_;
    bool inBlock = block_.empty();
    std::string key, value;
    while (Cengine::readToken(key, cursor)) {
        if (equalsIgnoreCase(key, "EndFile")) break;
        if (!block_.empty()) {
            if (equalsIgnoreCase(key, block_)) {
                inBlock = true;
                continue;
            }
            if (equalsIgnoreCase(key, endBlock)) {
                inBlock = false;
                continue;
            }
        }
        if (!inBlock) {
            gEngine->log.print(LOG_L, "%s: unexpected token '%s'", name.c_str(), key.c_str());
            return false;
        }
        if (!Cengine::readToken(value, cursor)) {
            gEngine->log.print(LOG_L, "%s: '%s' has no value", name.c_str(), key.c_str());
            return false;
        }
        entries_.push_back({key, value});
    }
    return true;
}

const std::string* CconfigFile::find(std::string_view key) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (equalsIgnoreCase(it->key, key)) return &it->value;
    return nullptr;
}

std::string CconfigFile::get(std::string_view key, const std::string& def) const {
    const std::string* v = find(key);
    return v ? *v : def;
}

int CconfigFile::getInt(std::string_view key, int def) const {
    const std::string* v = find(key);
    if (!v) return def;
    const char* cursor = v->c_str();
    return Cengine::readInt(cursor);
}

bool CconfigFile::getIntIn(std::string_view key, int64_t lo, int64_t hi, int64_t& value) const {
    const std::string* v = find(key);
    if (!v) return true;
    errno = 0;
    char* end = nullptr;
    long long n = strtoll(v->c_str(), &end, 0);
    if (end == v->c_str() || *end != '\0' || errno == ERANGE || n < lo || n > hi) {
        gEngine->log.print(LOG_E, "%s: %.*s value '%s' is not a whole number in %lld..%lld", name_.c_str(),
                           (int)key.size(), key.data(), v->c_str(), (long long)lo, (long long)hi);
        return false;
    }
    value = n;
    return true;
}

std::vector<std::string> CconfigFile::unknownKeys(std::initializer_list<std::string_view> known) const {
    std::vector<std::string> out;
    for (const auto& e : entries_) {
        bool found = false;
        for (std::string_view k : known) found = found || equalsIgnoreCase(e.key, k);
        if (!found) out.push_back(e.key);
    }
    return out;
}
