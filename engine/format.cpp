#include "engine/format.h"

#include <cstdio>
#include <cstring>

namespace {
char gThousands[5][50];
int gThousandsIdx = 0;
char gOrdinal[5][64];
int gOrdinalIdx = 0;
char gTime[64];
char gWide[20][5000];
int gWideIdx = 0;

void groupDigits(char* out, size_t outSize, uint64_t magnitude, bool negative) {
    char digits[32];
    snprintf(digits, sizeof digits, "%llu", (unsigned long long)magnitude);
    size_t n = strlen(digits);
    char tmp[48];
    size_t o = 0;
    if (negative) tmp[o++] = '-';
    for (size_t i = 0; i < n; ++i) {
        tmp[o++] = digits[i];
        size_t left = n - 1 - i;
        if (left > 0 && left % 3 == 0) tmp[o++] = ',';
    }
    tmp[o] = 0;
    snprintf(out, outSize, "%s", tmp);
}
}  // namespace

const char* formatThousands64(int64_t value) {
    char* buf = gThousands[gThousandsIdx];
    gThousandsIdx = (gThousandsIdx + 1) % 5;
    bool negative = value < 0;
    uint64_t magnitude = negative ? (uint64_t)0 - (uint64_t)value : (uint64_t)value;
    groupDigits(buf, 50, magnitude, negative);
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
    const char* fmt = "%sth";
    if (lastTwo < 11 || lastTwo > 13) {
        if (last == 1) fmt = "%sst";
        else if (last == 2) fmt = "%snd";
        else if (last == 3) fmt = "%srd";
    }
    snprintf(buf, 64, fmt, grouped);
    return buf;
}

const char* formatTime(int seconds) {
    if (seconds < 0) seconds = 0;
    if (seconds >= 3600)
        snprintf(gTime, sizeof gTime, "%02dh %02dm %02ds", seconds / 3600, (seconds / 60) % 60, seconds % 60);
    else
        snprintf(gTime, sizeof gTime, "%02d:%02d", seconds / 60, seconds % 60);
    return gTime;
}

std::string monthYearText(int64_t timeStamp) {
    time_t t = (time_t)timeStamp;
    struct tm tmv;
    if (!localtime_r(&t, &tmv)) return "";
    char monthYear[64];
    strftime(monthYear, sizeof monthYear, "%B %Y", &tmv);
    char out[128];
    snprintf(out, sizeof out, "%s %s", ordinalText(tmv.tm_mday), monthYear);
    return out;
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
