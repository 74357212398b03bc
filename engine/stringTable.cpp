#include "engine/stringTable.h"

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"

std::string CstringTable::lower(const std::string& s) { return toLowerAscii(s); }

bool CstringTable::load(const std::string& fileName, bool overlay) {
    CresourceFile file;
    if (!file.open("textFiles/" + fileName, RF_DATA)) return false;
    name_ = fileName;
    return loadFromText(file.text(), overlay);
}

bool CstringTable::loadFromText(const char* text, bool overlay) {
    if (!overlay) map_.clear();
    const char* cursor = text;
    std::string tag, value;
    while (Cengine::readToken(tag, cursor)) {
        if (tag == "EndFile") return true;
        if (!Cengine::readToken(value, cursor)) {
            gEngine->log.print(LOG_L, "String table %s: tag '%s' has no text", name_.c_str(), tag.c_str());
            return false;
        }
        map_[lower(tag)] = value;
    }
    return true;
}

const char* CstringTable::find(const std::string& tag, bool report) const {
    auto it = map_.find(lower(tag));
    if (it == map_.end()) {
        if (report && gEngine) gEngine->log.print(LOG_L, "can't find tag '%s'", tag.c_str());
        return nullptr;
    }
    return it->second.c_str();
}

const char* CstringTable::text(const std::string& tag) const {
    const char* t = find(tag, true);
    if (t) return t;
    // Keep the tag alive for the caller: store it as its own text.
    auto& self = const_cast<CstringTable&>(*this);
    auto& slot = self.map_[lower(tag)];
    slot = tag;
    return slot.c_str();
}
