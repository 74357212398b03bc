// The language tables against the English one: every text of the game in
// every language the game offers, with the same format fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "engine/languages.h"
#include "support/testEngine.h"

namespace {

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

// A failure line with the file and line of the text.
std::string where(const CtextTable& t, const Ctext& e) { return t.file + ":" + std::to_string(e.line) + " " + e.tag; }

// At most a screenful of problems per kind, with the count.
struct CproblemList {
    std::vector<std::string> lines;
    void add(const std::string& s) { lines.push_back(s); }
    void report(const std::string& what) const {
        if (lines.empty()) return;
        std::string msg = what + " (" + std::to_string(lines.size()) + "):";
        for (size_t i = 0; i < lines.size() && i < 25; ++i) msg += "\n  " + lines[i];
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
    const CtextTable en = readTable("stringsGameEnglish.txt");
    EXPECT_TRUE(en.ended) << "no EndFile in the English table";
    EXPECT_GT(en.entries.size(), 900u);
    for (const Ctext& e : en.entries)
        for (const std::string& f : formatFields(e.text)) EXPECT_NE(f, "%?") << where(en, e) << ": stray %";
    for (int n = 0; n < kLanguageCount; ++n)
        EXPECT_TRUE(en.byTag.count(languageRow(n).tag)) << "no name for the language " << languageRow(n).tag;
    const std::vector<int> languages = translatedLanguages();
    EXPECT_EQ(languages.size(), 14u);
    for (int n : languages) {
        const Clanguage& lang = languageRow(n);
        const CtextTable tr = readTable(lang.stringsFile);
        ASSERT_FALSE(tr.entries.empty()) << lang.stringsFile << " is missing or empty";
        EXPECT_TRUE(tr.ended) << lang.stringsFile << " has no EndFile";
        CproblemList missing, extra, twice, fields;
        std::set<std::string> seen;
        for (const Ctext& e : tr.entries) {
            if (!seen.insert(e.tag).second) twice.add(where(tr, e));
            auto it = en.byTag.find(e.tag);
            if (it == en.byTag.end()) {
                extra.add(where(tr, e));
                continue;
            }
            // A field the English lacks reads past printf's arguments.
            const auto want = formatFields(en.entries[it->second].text), got = formatFields(e.text);
            if (want != got) fields.add(where(tr, e) + ": " + joined(got) + ", English " + joined(want));
        }
        for (const Ctext& e : en.entries)
            if (!tr.byTag.count(e.tag)) missing.add(e.tag);
        missing.report(std::string(lang.stringsFile) + ": English tags missing");
        extra.report(std::string(lang.stringsFile) + ": tags the English table does not have");
        twice.report(std::string(lang.stringsFile) + ": tags given twice");
        fields.report(std::string(lang.stringsFile) + ": format fields differ from the English");
    }
}
