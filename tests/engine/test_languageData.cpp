// The language tables against the English one: every text of the game in
// every language the game offers, with the same format fields, line breaks
// and edge blanks, and a glyph for every character in the font that language
// draws with.
#include <gtest/gtest.h>

#include <SDL_ttf.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "engine/languages.h"
#include "engine/render/font.h"
#include "support/testEngine.h"

namespace {

// Languages whose tables are still being written. A tag they lack reads in
// English; everything they do hold is checked like the rest. Take a language
// off once its table is complete (the test says so when it is).
const std::set<std::string> kNotYetComplete = {};

// Texts that read the same in every language: names of the game's ship
// makers, services, libraries and languages, and abbreviations a player knows
// as they stand.
const std::set<std::string> kSameEverywhere = {
    "OK",          "EMP",        "perk_EMP_Enable", "fcXP",           "MM_Twitter", "TwitterTitle", "ShareSteam",
    "Credits16",   "Credits17",  "Credits19",       "EditWIPMark",    "Zen",        "Manu_Brute",   "Manu_Mosquito",
    "Manu_Crazythief", "Manu_Scorched", "Manu_General", "Manu_Blazer", "Manu_Warbringer",
    "EnglishNone", "English",    "German",          "French",         "Spanish",    "Italian",      "Russian",
    "SimpChinese", "TradChinese", "Czech",          "Polish",         "Portuguese", "Swedish",      "Japanese",
    "Dutch",       "Hungarian",  "Danish",
};

// Words a language shares with English, by language. Each must still read
// the same as the English (a stale entry fails).
const std::map<std::string, std::set<std::string>> kSameInLanguage = {
    {"German", {"AchCat_Pilot", "AchCat_Tracks", "Ach_CompOST", "DT_Stream", "DT_Video", "Details", "EditShipName",
                "Gamepad", "MM_PartyMode", "MM_Perks", "Manu_Standard", "Manu_Workshop", "MonitorRez",
                "PartyLoginTitle", "PartyTeamModeTitle", "PerkKey", "Rank02", "Rank14", "Standard", "TabGenre",
                "hangerFilter_Workshop", "perk_ExtraEMP_SubTxt", "shipEditMode_Number",
                "shipEditMode_TrackCondition", "MonthInDate4", "MonthInDate8", "MonthInDate9", "MonthInDate11"}},
    {"French", {"AchCat_Missions", "BossRush", "BossRushHighScore", "EditTab_Missions", "MM_Options", "Manu_Standard",
                "Manu_Workshop", "Microphone", "Modules", "Normal", "OpenMicMic", "Options", "Rank05", "Rank11",
                "ScoreTitle", "ShareScore", "Standard", "TabAlbums", "TabGenre", "hangar_Missions",
                "hangerFilter_Workshop", "perk_MicroMissiles_Enable_SubTxt", "rarityRare", "shipMod_Title"}},
    {"Spanish", {"Error", "Manu_Workshop", "MonitorRez", "NO", "No", "Normal", "hangerFilter_Workshop"}},
    {"Italian", {"DT_Video", "Manu_Standard", "Manu_Workshop", "MonitorRez", "NO", "No", "Password", "Standard",
                 "hangerFilter_Workshop"}},
    {"Portuguese", {"Manu_Workshop", "MonitorRez", "Normal", "hangerFilter_Workshop"}},
    {"Polish", {"AchCat_Pilot", "MonitorRez", "Rank02", "Stop"}},
    {"Danish", {"AchCat_Pilot", "Ach_CompOST", "DT_Video", "EditAcceleration", "Manu_Standard", "Manu_Workshop",
                "Normal", "Rank02", "Rank14", "Standard", "Stop", "TabGenre", "TopPercent", "fcPlatform",
                "hangerFilter_Workshop", "shipEditMode_Number", "shipEditMode_Type", "shipMod_Accel"}},
    {"Dutch", {"Ach_CompOST", "DT_Video", "DetailMax", "Details", "MM_Perks", "Manu_Workshop", "Modules", "MonitorRez",
               "NewScore", "PartyTeamModeTitle", "PerkKey", "Rank00", "ScoreTitle", "ShareScore", "Stop", "TabAlbums",
               "TabGenre", "TabRecent", "TopPercent", "ViewSongLeaderboard", "fcPlatform", "hangerFilter_Workshop",
               "shipEditMode_Type", "shipMod_Title"}},
    {"Hungarian", {"MonitorRez", "fcPlatform"}},
    {"Swedish", {"AchCat_Pilot", "Ach_CompOST", "DT_Video", "DetailMax", "EditAcceleration", "Manu_Standard",
                 "Manu_Workshop", "Normal", "Rank02", "Rank25", "Standard", "TabGenre", "hangerFilter_Workshop",
                 "perk_ExtraEMP", "shipMod_Accel"}},
};

struct Ctext {
    std::string tag, text;
    int line = 0;
};

struct CtextTable {
    std::string file;
    std::vector<Ctext> entries;
    std::map<std::string, size_t> byTag;
    bool ended = false;
};

// Reads a table as the game does (Cengine::readToken), keeping the order and
// line of each tag.
CtextTable readTable(const std::string& file) {
    CtextTable t;
    t.file = file;
    std::ifstream in(gEngine->dataPath("textFiles/" + file), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string all = ss.str();
    const char* counted = all.c_str();   // lines counted up to here
    const char* cursor = counted;
    std::string tag, text;
    int line = 1;
    while (Cengine::readToken(tag, cursor)) {
        if (tag == "EndFile") {
            t.ended = true;
            break;
        }
        Ctext e;
        e.tag = tag;
        line += (int)std::count(counted, cursor, '\n');
        counted = cursor;
        e.line = line;
        if (!Cengine::readToken(e.text, cursor)) break;
        t.byTag.emplace(e.tag, t.entries.size());
        t.entries.push_back(std::move(e));
    }
    return t;
}

// The conversions of a printf format in order ("%d", "%.2f", "%%"); a "%"
// that starts no conversion is kept as "%?".
std::vector<std::string> formatFields(const std::string& s) {
    std::vector<std::string> out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') continue;
        size_t j = i + 1;
        while (j < s.size() && strchr("-+ #0'", s[j])) ++j;
        while (j < s.size() && (isdigit((unsigned char)s[j]) || s[j] == '*')) ++j;
        if (j < s.size() && s[j] == '.') {
            ++j;
            while (j < s.size() && (isdigit((unsigned char)s[j]) || s[j] == '*')) ++j;
        }
        while (j < s.size() && strchr("hlLqjzt", s[j])) ++j;
        if (j < s.size() && strchr("diouxXeEfFgGaAcsp%", s[j])) {
            out.push_back(s.substr(i, j - i + 1));
            i = j;
        } else {
            out.push_back("%?");
        }
    }
    return out;
}

std::string joined(const std::vector<std::string>& v) {
    std::string r;
    for (auto& s : v) r += (r.empty() ? "" : " ") + s;
    return r.empty() ? "(none)" : r;
}

// Line breaks as the tables write them: real ones and "\n" escapes.
int lineBreaks(const std::string& s) {
    int n = (int)std::count(s.begin(), s.end(), '\n');
    for (size_t p = s.find("\\n"); p != std::string::npos; p = s.find("\\n", p + 2)) ++n;
    return n;
}

std::string edgeBlanks(const std::string& s) {
    const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    if (a == std::string::npos) return "all";
    return std::to_string(a) + "/" + std::to_string(s.size() - 1 - b);
}

bool hasLetter(const std::string& s) {
    for (unsigned char c : s)
        if (isalpha(c) || c >= 0x80) return true;
    return false;
}

// Code points of UTF-8 text; false when it is not valid UTF-8.
bool decodeUtf8(const std::string& s, std::vector<uint32_t>& out) {
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = (unsigned char)s[i];
        const int len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + (size_t)len > s.size()) return false;
        uint32_t cp = len == 1 ? c : (uint32_t)(c & (0x7F >> len));
        for (int k = 1; k < len; ++k) {
            const unsigned char cc = (unsigned char)s[i + k];
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        out.push_back(cp);
        i += (size_t)len;
    }
    return true;
}

std::string codePointName(uint32_t cp) {
    char b[16];
    snprintf(b, sizeof b, " U+%04X", cp);
    return b;
}

// The font files the game draws translated texts with, read from "fonts.txt":
// the files of the fonts that have a CJK twin (the twins for a CJK language),
// the unicode font the language menu names its languages in, and the
// fallback file, if the font table names one, for lines a font lacks.
class CfontFaces {
public:
    CfontFaces() {
        if (!TTF_WasInit()) TTF_Init();
        std::ifstream in(gEngine->dataPath("textFiles/fonts.txt"));
        std::stringstream ss;
        ss << in.rdbuf();
        const std::string all = ss.str();
        const char* c = all.c_str();
        std::string tok, name, file, size, cjk;
        while (Cengine::readToken(tok, c) && tok != "EndFile") {
            if (tok == "Fallback") {
                Cengine::readToken(fallback_, c);
                continue;
            }
            if (tok != "Font") continue;
            Cengine::readToken(name, c);
            Cengine::readToken(file, c);
            Cengine::readToken(size, c);
            const char* peek = c;
            if (Cengine::readToken(tok, peek) && tok == "Cjk") {
                c = peek;
                Cengine::readToken(cjk, c);
                plain_.insert(file);
                cjk_.insert(cjk);
            }
            if (name == "UniFontNormal") uni_ = file;
        }
    }
    ~CfontFaces() {
        for (auto& f : open_) TTF_CloseFont(f.second);   // null is allowed
    }
    bool parsed() const { return !plain_.empty() && !cjk_.empty() && !uni_.empty(); }

    // Every font a text of the language goes through has the character (or
    // the fallback does).
    bool drawable(uint32_t cp, bool cjkLanguage, bool languageName) {
        const uint64_t key = (uint64_t)cp << 2 | (uint64_t)cjkLanguage << 1 | (uint64_t)languageName;
        auto known = drawable_.find(key);
        return known != drawable_.end() ? known->second : drawable_[key] = look(cp, cjkLanguage, languageName);
    }

private:
    bool look(uint32_t cp, bool cjkLanguage, bool languageName) {
        if (cp < 0x20) return true;
        if (!fallback_.empty() && provides(fallback_, cp)) return true;
        if (languageName) return provides(uni_, cp);
        for (const std::string& f : cjkLanguage ? cjk_ : plain_)
            if (!provides(f, cp)) return false;
        return true;
    }
    bool provides(const std::string& file, uint32_t cp) {
        auto it = open_.find(file);
        if (it == open_.end()) {
            const std::string path = CfontMgr::findFontFile(file);
            TTF_Font* f = path.empty() ? nullptr : TTF_OpenFont(path.c_str(), 20);
            EXPECT_NE(f, nullptr) << "can't open font file " << file;
            it = open_.emplace(file, f).first;
        }
        return it->second && TTF_GlyphIsProvided32(it->second, cp);
    }
    std::set<std::string> plain_, cjk_;
    std::string uni_, fallback_;
    std::map<std::string, TTF_Font*> open_;
    std::map<uint64_t, bool> drawable_;
};

bool isLanguageName(const std::string& tag) {
    for (int n = 0; n < kLanguageCount; ++n)
        if (tag == languageRow(n).tag) return true;
    return false;
}

// A failure line with the file and line of the text.
std::string where(const CtextTable& t, const Ctext& e) { return t.file + ":" + std::to_string(e.line) + " " + e.tag; }

struct CproblemList {
    std::vector<std::string> lines;
    void add(const std::string& s) { lines.push_back(s); }
    // At most a screenful per kind, with the count.
    void report(const std::string& what) const {
        if (lines.empty()) return;
        std::string msg = what + " (" + std::to_string(lines.size()) + "):";
        for (size_t i = 0; i < lines.size() && i < 25; ++i) msg += "\n  " + lines[i];
        if (lines.size() > 25) msg += "\n  ...";
        ADD_FAILURE() << msg;
    }
};

std::vector<int> translatedLanguages() {
    std::vector<int> v;
    for (int n : offeredLanguages())
        if (std::string(languageRow(n).stringsFile) != "stringsGameEnglish.txt") v.push_back(n);
    return v;
}

}  // namespace

TEST(LanguageData, EveryLanguageHasEveryEnglishTextWithTheSameFields) {
    CtestEngine eng;
    // The English table itself: whole, without stray "%", naming every
    // language; the lists above name real languages and tags.
    const CtextTable en = readTable("stringsGameEnglish.txt");
    EXPECT_TRUE(en.ended) << "no EndFile in the English table";
    EXPECT_GT(en.entries.size(), 900u);
    for (const Ctext& e : en.entries)
        for (const std::string& f : formatFields(e.text)) EXPECT_NE(f, "%?") << where(en, e) << ": stray %";
    for (int n = 0; n < kLanguageCount; ++n)
        EXPECT_TRUE(en.byTag.count(languageRow(n).tag)) << "no name for the language " << languageRow(n).tag;
    for (const std::string& l : kNotYetComplete) EXPECT_TRUE(isLanguageName(l)) << l;
    for (const std::string& tag : kSameEverywhere) EXPECT_TRUE(en.byTag.count(tag)) << tag;
    for (auto& lang : kSameInLanguage) {
        EXPECT_TRUE(isLanguageName(lang.first)) << lang.first;
        for (const std::string& tag : lang.second) EXPECT_TRUE(en.byTag.count(tag)) << lang.first << ": " << tag;
    }
    const std::vector<int> languages = translatedLanguages();
    EXPECT_EQ(languages.size(), 14u);
    for (int n : languages) {
        const Clanguage& lang = languageRow(n);
        SCOPED_TRACE(lang.tag);
        const CtextTable tr = readTable(lang.stringsFile);
        ASSERT_FALSE(tr.entries.empty()) << lang.stringsFile << " is missing or empty";
        EXPECT_TRUE(tr.ended) << lang.stringsFile << " has no EndFile";
        const bool listed = kNotYetComplete.count(lang.tag) != 0;
        CproblemList missing, extra, twice, fields, breaks, blanks, untranslated, stale;
        std::set<std::string> seen;
        for (const Ctext& e : tr.entries) {
            if (!seen.insert(e.tag).second) twice.add(where(tr, e));
            auto it = en.byTag.find(e.tag);
            if (it == en.byTag.end()) {
                extra.add(where(tr, e));
                continue;
            }
            const Ctext& base = en.entries[it->second];
            const auto want = formatFields(base.text), got = formatFields(e.text);
            if (want != got) fields.add(where(tr, e) + ": " + joined(got) + ", English " + joined(want));
            if (lineBreaks(e.text) != lineBreaks(base.text)) breaks.add(where(tr, e));
            if (edgeBlanks(e.text) != edgeBlanks(base.text)) blanks.add(where(tr, e) + ": \"" + e.text + "\"");
            const auto same = kSameInLanguage.find(lang.tag);
            const bool allowed = kSameEverywhere.count(e.tag) ||
                                 (same != kSameInLanguage.end() && same->second.count(e.tag));
            if (e.text.empty() != base.text.empty()) untranslated.add(where(tr, e) + ": empty where the English is not, or the other way");
            if (e.text == base.text && hasLetter(e.text) && !allowed) untranslated.add(where(tr, e) + ": \"" + e.text + "\"");
            if (e.text != base.text && same != kSameInLanguage.end() && same->second.count(e.tag))
                stale.add(where(tr, e));
        }
        for (const Ctext& e : en.entries)
            if (!tr.byTag.count(e.tag)) missing.add(e.tag);
        if (listed) {
            EXPECT_FALSE(missing.lines.empty()) << lang.tag << " is complete: take it off kNotYetComplete";
        } else {
            missing.report(std::string(lang.stringsFile) + ": English tags missing");
            // The same order as the English table, so the files read side by side.
            std::vector<std::string> order, enOrder;
            for (auto& e : tr.entries) order.push_back(e.tag);
            for (auto& e : en.entries) enOrder.push_back(e.tag);
            if (missing.lines.empty() && extra.lines.empty() && twice.lines.empty()) {
                EXPECT_EQ(order, enOrder) << lang.stringsFile << ": tags not in the English table's order";
            }
        }
        extra.report(std::string(lang.stringsFile) + ": tags the English table does not have");
        twice.report(std::string(lang.stringsFile) + ": tags given twice");
        fields.report(std::string(lang.stringsFile) + ": format fields differ from the English");
        breaks.report(std::string(lang.stringsFile) + ": line breaks differ from the English");
        blanks.report(std::string(lang.stringsFile) + ": leading or trailing blanks differ from the English");
        untranslated.report(std::string(lang.stringsFile) + ": left in English");
        stale.report(std::string(lang.stringsFile) + ": translated, yet listed as the same as the English");
    }
}

TEST(LanguageData, EveryCharacterHasAGlyphInItsLanguagesFont) {
    CtestEngine eng;
    CfontFaces faces;
    ASSERT_TRUE(faces.parsed()) << "fonts.txt names no CJK twins or unicode font";
    std::vector<int> languages = translatedLanguages();
    languages.push_back(1);   // English too
    for (int n : languages) {
        const Clanguage& lang = languageRow(n);
        const CtextTable t = readTable(lang.stringsFile);
        CproblemList bad;
        for (const Ctext& e : t.entries) {
            std::vector<uint32_t> cps;
            if (!decodeUtf8(e.text, cps)) {
                bad.add(where(t, e) + ": not UTF-8");
                continue;
            }
            std::string lacking;
            for (uint32_t cp : cps)
                if (!faces.drawable(cp, lang.cjk, isLanguageName(e.tag)) && lacking.find(codePointName(cp)) == std::string::npos)
                    lacking += codePointName(cp);
            if (!lacking.empty()) bad.add(where(t, e) + ": no glyph for " + lacking);
        }
        bad.report(std::string(lang.stringsFile) + ": characters its font can't draw");
    }
}
