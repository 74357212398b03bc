#include "engine/format.h"

#include <cstdio>
#include <cstring>

#include "engine/stringTable.h"

namespace {
char gThousands[5][96];
int gThousandsIdx = 0;
char gOrdinal[5][96];
int gOrdinalIdx = 0;
char gTime[96];
char gWide[20][5000];
int gWideIdx = 0;
CnumberStyle gStyle;

// A separator longer than this is a broken table, not a language.
constexpr size_t kMaxSeparator = 4;

void groupDigits(char* out, size_t outSize, uint64_t magnitude, bool negative) {
    char digits[32];
    snprintf(digits, sizeof digits, "%llu", (unsigned long long)magnitude);
    const std::string& sep = gStyle.groupSeparator;
    std::string text = negative ? "-" : "";
    for (size_t i = 0, n = strlen(digits); i < n; ++i) {
        text += digits[i];
        size_t left = n - 1 - i;
        if (left > 0 && left % 3 == 0) text += sep;
    }
    snprintf(out, outSize, "%s", text.c_str());
}

// Each named field of a form replaced by its value; forms from tables are never printf formats.
std::string fillField(std::string form, const std::string& field, const std::string& value) {
    for (size_t at = form.find(field); at != std::string::npos; at = form.find(field, at + value.size()))
        form.replace(at, field.size(), value);
    return form;
}

std::string twoDigits(int v) {
    char b[16];
    snprintf(b, sizeof b, "%02d", v);
    return b;
}
}  // namespace

CnumberStyle CnumberStyle::fromTable(const CstringTable& table) {
    CnumberStyle s;
    auto take = [&table](const char* tag, std::string& into) {
        if (const char* t = table.find(tag, false)) into = t;
    };
    take("NumberGroupSeparator", s.groupSeparator);
    if (s.groupSeparator.size() > kMaxSeparator) s.groupSeparator = ",";
    // A form without its number would lose the place: such a form is not taken.
    std::string* forms[] = {&s.ordinalFirst, &s.ordinalEnd1, &s.ordinalEnd2, &s.ordinalEnd3, &s.ordinalOther};
    const char* formTags[] = {"OrdinalFirst", "OrdinalEnd1", "OrdinalEnd2", "OrdinalEnd3", "OrdinalOther"};
    for (int i = 0; i < 5; ++i) {
        std::string f = *forms[i];
        take(formTags[i], f);
        if (f.find("%s") != std::string::npos) *forms[i] = f;
    }
    for (int m = 0; m < 12; ++m) take(("MonthInDate" + std::to_string(m + 1)).c_str(), s.months[m]);
    take("DateDayMonthYear", s.date);
    take("TimeHoursMinutesSeconds", s.hoursMinutesSeconds);
    return s;
}

void setNumberStyle(const CnumberStyle& style) { gStyle = style; }
const CnumberStyle& numberStyle() { return gStyle; }

const char* formatThousands64(int64_t value) {
    char* buf = gThousands[gThousandsIdx];
    gThousandsIdx = (gThousandsIdx + 1) % 5;
    bool negative = value < 0;
    uint64_t magnitude = negative ? (uint64_t)0 - (uint64_t)value : (uint64_t)value;
    groupDigits(buf, sizeof gThousands[0], magnitude, negative);
    return buf;
}

const char* formatThousands(int value) { return formatThousands64(value); }

const char* ordinalText(int value) {
    char* buf = gOrdinal[gOrdinalIdx];
    gOrdinalIdx = (gOrdinalIdx + 1) % 5;
    const char* grouped = formatThousands(value);
    long long magnitude = value < 0 ? -(long long)value : value;
    int lastTwo = (int)(magnitude % 100);
    int last = (int)(magnitude % 10);
    const std::string* form = &gStyle.ordinalOther;
    if (magnitude == 1) form = &gStyle.ordinalFirst;
    else if (lastTwo < 11 || lastTwo > 13) {
        if (last == 1) form = &gStyle.ordinalEnd1;
        else if (last == 2) form = &gStyle.ordinalEnd2;
        else if (last == 3) form = &gStyle.ordinalEnd3;
    }
    size_t at = form->find("%s");
    std::string text = at == std::string::npos ? std::string(grouped) : std::string(*form).replace(at, 2, grouped);
    snprintf(buf, sizeof gOrdinal[0], "%s", text.c_str());
    return buf;
}

const char* formatTime(int seconds) {
    if (seconds < 0) seconds = 0;
    if (seconds >= 3600) {
        std::string t = fillField(gStyle.hoursMinutesSeconds, "{h}", twoDigits(seconds / 3600));
        t = fillField(t, "{m}", twoDigits((seconds / 60) % 60));
        t = fillField(t, "{s}", twoDigits(seconds % 60));
        snprintf(gTime, sizeof gTime, "%s", t.c_str());
    } else {
        snprintf(gTime, sizeof gTime, "%02d:%02d", seconds / 60, seconds % 60);
    }
    return gTime;
}

std::string monthYearText(int64_t timeStamp) {
    time_t t = (time_t)timeStamp;
    struct tm tmv;
    if (!localtime_r(&t, &tmv)) return "";
    std::string out = fillField(gStyle.date, "{dayOrdinal}", ordinalText(tmv.tm_mday));
    out = fillField(out, "{day}", std::to_string(tmv.tm_mday));
    out = fillField(out, "{monthNumber}", std::to_string(tmv.tm_mon + 1));
    out = fillField(out, "{month}", gStyle.months[tmv.tm_mon % 12]);
    return fillField(out, "{year}", std::to_string(tmv.tm_year + 1900));
}

const char* toWideTemp(const std::string& text) {
    char* buf = gWide[gWideIdx];
    gWideIdx = (gWideIdx + 1) % 20;
    size_t n = text.size() < 4999 ? text.size() : 4999;
    // Never cut inside a UTF-8 character.
    while (n > 0 && n < text.size() && ((unsigned char)text[n] & 0xC0) == 0x80) --n;
    memcpy(buf, text.data(), n);
    buf[n] = 0;
    return buf;
}

std::string folderOfPathW(const std::string& path) {
    size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos) return path;
    return path.substr(0, cut);
}
