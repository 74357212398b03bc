#include "engine/colourTable.h"

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"

bool CcolourTable::load(const std::string& fileName) {
    CresourceFile file;
    if (!file.open("textFiles/" + fileName, RF_DATA)) return false;
    return loadFromText(file.text());
}

bool CcolourTable::loadFromText(const char* text) {
    entries_.clear();
    const char* cursor = text;
    std::string tok;
    while (Cengine::readToken(tok, cursor)) {
        if (tok == "EndFile") return true;
        if (tok != "Colour") {
            gEngine->log.print(LOG_L, "colours: unexpected token '%s'", tok.c_str());
            return false;
        }
        Centry e;
        Cengine::readToken(e.name, cursor);
        e.colour.r = (float)Cengine::readInt(cursor) / 255.0f;
        e.colour.g = (float)Cengine::readInt(cursor) / 255.0f;
        e.colour.b = (float)Cengine::readInt(cursor) / 255.0f;
        e.colour.a = (float)Cengine::readInt(cursor) / 255.0f;
        entries_.push_back(std::move(e));
    }
    return true;
}

const CcolourTable::Centry* CcolourTable::find(const std::string& name) const {
    for (const auto& e : entries_)
        if (equalsIgnoreCase(e.name, name)) return &e;
    gEngine->log.print(LOG_L, "Can't find colour: %s", name.c_str());
    return nullptr;
}

Ccolour CcolourTable::get(const std::string& name) const {
    const Centry* e = find(name);
    return e ? e->colour : Ccolour(1, 0, 1, 1);
}
