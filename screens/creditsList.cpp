#include "screens/creditsList.h"

#include "engine/engine.h"
#include "engine/languages.h"
#include "engine/resourceFile.h"
#include "engine/stringTable.h"

namespace credits {

namespace {
CcreditLine textLine(const std::string& tmpl, const std::string& text, const std::string& colour = "") {
    CcreditLine l;
    l.widgetTemplate = tmpl;
    l.text = text;
    l.colour = colour;
    return l;
}

bool isCjkLanguage(const std::string& tag) {
    for (int n = 0; n < kLanguageCount; ++n)
        if (tag == languageRow(n).tag) return languageRow(n).cjk;
    return false;
}
}  // namespace

std::vector<CcreditLine> linesForTag(const std::string& tag, const CstringTable& strings, bool sectionTitle,
                                     bool unicode) {
    std::vector<CcreditLine> out;
    char last = tag.empty() ? '\0' : tag.back();
    std::string text = strings.text(tag);
    if (last == '-' && !sectionTitle) {
        out.push_back(textLine("NormalText", ""));
    } else if (last == 'b' && !sectionTitle) {
        out.push_back(textLine("ScreenTitleCentered", text));
    } else if (last == 't' || sectionTitle) {
        out.push_back(textLine("NormalText", ""));
        out.push_back(textLine("NormalText", ""));
        out.push_back(textLine(unicode ? "UniNormalText" : "MediumTextWhiteWithShadow", text, "Credits"));
    } else {
        out.push_back(textLine("NormalText", text));
    }
    return out;
}

std::vector<CcreditLine> parse(const char* text, const CstringTable& strings) {
    std::vector<CcreditLine> out;
    const char* cursor = text;
    std::string key, value;
    while (Cengine::readToken(key, cursor)) {
        if (key == "EndFile") break;
        if (key == "Sprite") {
            CcreditLine l;
            l.kind = CcreditLine::SPRITE;
            Cengine::readToken(l.sprite, cursor);
            l.scale = Cengine::readFloat(cursor);
            if (l.scale <= 0) l.scale = 1.0f;
            out.push_back(l);
            continue;
        }
        if (!Cengine::readToken(value, cursor)) {
            gEngine->log.print(LOG_E, "Credits: %s has no value", key.c_str());
            break;
        }
        std::vector<CcreditLine> lines;
        if (key == "Tag") lines = linesForTag(value, strings);
        else if (key == "Language") lines = linesForTag(value, strings, true, isCjkLanguage(value));
        else if (key == "Translator") {
            const char* t = strings.find(value, false);
            lines.push_back(textLine("UniNormalText", t ? t : value));
        } else {
            gEngine->log.print(LOG_E, "Credits: unknown entry %s", key.c_str());
        }
        out.insert(out.end(), lines.begin(), lines.end());
    }
    return out;
}

bool load(const std::string& fileName, const CstringTable& strings, std::vector<CcreditLine>& out) {
    CresourceFile file;
    if (!file.open("textFiles/" + fileName, RF_DATA)) return false;
    out = parse(file.text(), strings);
    return true;
}

}  // namespace credits
