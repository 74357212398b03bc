#include "online/scoreRecord.h"

#include <cctype>
#include <cstring>

#include "engine/bString.h"

bool isSafeLinkId(std::string_view id) {
    if (id.empty() || id.size() > 27) return false;
    for (char c : id)
        if (!isalnum((unsigned char)c) && c != '-' && c != '_') return false;
    return true;
}

std::string readRecordText(const Cbytes& rec, size_t offset) {
    if (offset >= rec.size()) return {};
    CbString s;
    s.deserialise(rec.data() + offset, rec.size() - offset);
    return s.str();
}

std::string readRecordCString(const Cbytes& rec, size_t offset, size_t width) {
    if (offset >= rec.size()) return {};
    size_t n = std::min(width, rec.size() - offset);
    const char* p = (const char*)rec.data() + offset;
    size_t len = 0;
    while (len < n && p[len]) ++len;
    return std::string(p, len);
}

int32_t readRecordI32(const Cbytes& rec, size_t offset) {
    if (offset > rec.size() || rec.size() - offset < 4) return 0;
    return (int32_t)getU32(rec.data() + offset);
}

int8_t readRecordI8(const Cbytes& rec, size_t offset) {
    if (offset >= rec.size()) return 0;
    return (int8_t)rec[offset];
}

float readRecordF32(const Cbytes& rec, size_t offset) {
    if (offset > rec.size() || rec.size() - offset < 4) return 0;
    uint32_t bits = getU32(rec.data() + offset);
    float f;
    memcpy(&f, &bits, 4);
    return f;
}

uint64_t readRecordU64(const Cbytes& rec, size_t offset) {
    if (offset > rec.size() || rec.size() - offset < 8) return 0;
    return getU64(rec.data() + offset);
}

void writeRecordText(Cbytes& rec, size_t offset, size_t width, std::string_view text) {
    if (offset >= rec.size()) return;
    width = std::min(width, rec.size() - offset);
    memset(rec.data() + offset, 0, width);
    // The longest text whose prefix and bytes fit the field.
    size_t len = text.size();
    for (;;) {
        size_t need = std::to_string(len).size() + 1 + len;
        if (need <= width) break;
        if (len == 0) return;   // not even "0" and its zero fit
        len = utf8CutPoint(text, len - 1);
    }
    std::string out;
    CbString(text.substr(0, len)).serialise(out);
    memcpy(rec.data() + offset, out.data(), out.size());
}

void writeRecordCString(Cbytes& rec, size_t offset, size_t width, std::string_view text) {
    if (offset >= rec.size() || width == 0) return;
    width = std::min(width, rec.size() - offset);
    copyToField((char*)rec.data() + offset, width, text);
}

void writeRecordI32(Cbytes& rec, size_t offset, int32_t v) {
    if (offset + 4 <= rec.size()) putU32(rec.data() + offset, (uint32_t)v);
}

void writeRecordI8(Cbytes& rec, size_t offset, int8_t v) {
    if (offset < rec.size()) rec[offset] = (uint8_t)v;
}

void writeRecordF32(Cbytes& rec, size_t offset, float v) {
    uint32_t bits;
    memcpy(&bits, &v, 4);
    if (offset + 4 <= rec.size()) putU32(rec.data() + offset, bits);
}

void writeRecordU64(Cbytes& rec, size_t offset, uint64_t v) {
    if (offset + 8 <= rec.size()) putU64(rec.data() + offset, v);
}

// Basic: name 0, comment 30, country 80, day 87, ship 91.
Cbytes CbasicScore::write() const {
    Cbytes r(kSize, 0);
    writeRecordText(r, 0, 30, name);
    writeRecordText(r, 30, 50, comment);
    writeRecordCString(r, 80, 7, country);
    writeRecordI32(r, 87, day);
    writeRecordText(r, 91, kSize - 91, ship);
    return r;
}

CbasicScore CbasicScore::read(const Cbytes& r) {
    CbasicScore s;
    s.name = readRecordText(r, 0);
    s.comment = readRecordText(r, 30);
    s.country = readRecordCString(r, 80, 7);
    s.day = readRecordI32(r, 87);
    s.ship = readRecordText(r, 91);
    return s;
}

// Per song: name 0, day 30, country 34, deaths 37, difficulty 42,
// difficulty factor 46, comment 50, ship 100.
Cbytes CperSongScore::write() const {
    Cbytes r(kSize, 0);
    writeRecordText(r, 0, 30, name);
    writeRecordI32(r, 30, day);
    writeRecordCString(r, 34, 3, country);
    writeRecordI8(r, 37, deaths);
    writeRecordI32(r, 42, difficulty);
    writeRecordF32(r, 46, difficultyFactor);
    writeRecordText(r, 50, 50, comment);
    writeRecordText(r, 100, kSize - 100, ship);
    return r;
}

CperSongScore CperSongScore::read(const Cbytes& r) {
    CperSongScore s;
    s.name = readRecordText(r, 0);
    s.day = readRecordI32(r, 30);
    s.country = readRecordCString(r, 34, 3);
    s.deaths = readRecordI8(r, 37);
    s.difficulty = readRecordI32(r, 42);
    s.difficultyFactor = readRecordF32(r, 46);
    s.comment = readRecordText(r, 50);
    s.ship = readRecordText(r, 100);
    return s;
}

// General tracks: name 0, day 30, difficulty 38, difficulty factor 42,
// track title 79, comment 139, country 189, deaths 192, ship 193.
Cbytes CgeneralTracksScore::write() const {
    Cbytes r(kSize, 0);
    writeRecordText(r, 0, 30, name);
    writeRecordI32(r, 30, day);
    writeRecordI32(r, 38, difficulty);
    writeRecordF32(r, 42, difficultyFactor);
    writeRecordText(r, 79, 60, trackTitle);
    writeRecordText(r, 139, 50, comment);
    writeRecordCString(r, 189, 3, country);
    writeRecordI8(r, 192, deaths);
    writeRecordText(r, 193, kSize - 193, ship);
    return r;
}

CgeneralTracksScore CgeneralTracksScore::read(const Cbytes& r) {
    CgeneralTracksScore s;
    s.name = readRecordText(r, 0);
    s.day = readRecordI32(r, 30);
    s.difficulty = readRecordI32(r, 38);
    s.difficultyFactor = readRecordF32(r, 42);
    s.trackTitle = readRecordText(r, 79);
    s.comment = readRecordText(r, 139);
    s.country = readRecordCString(r, 189, 3);
    s.deaths = readRecordI8(r, 192);
    s.ship = readRecordText(r, 193);
    return s;
}

// Daily track: score 0, name 8, country 38, deaths 41, difficulty 46,
// difficulty factor 50, comment 54, title 137, artist 197, album 257,
// length 317, ship 321, ship definition name 351, link kind 384, link id 386.
Cbytes CdailyTrackScore::write() const {
    Cbytes r(kSize, 0);
    writeRecordU64(r, 0, gameScore);
    writeRecordText(r, 8, 30, name);
    writeRecordCString(r, 38, 3, country);
    writeRecordI8(r, 41, deaths);
    writeRecordI32(r, 46, difficulty);
    writeRecordF32(r, 50, difficultyFactor);
    writeRecordText(r, 54, 83, comment);
    writeRecordText(r, 137, 60, title);
    writeRecordText(r, 197, 60, artist);
    writeRecordText(r, 257, 60, album);
    writeRecordI32(r, 317, length);
    writeRecordText(r, 321, 30, ship);
    writeRecordCString(r, 351, 33, shipDefName);
    writeRecordI8(r, 384, (int8_t)linkKind);
    writeRecordCString(r, 386, kSize - 386, linkId);
    return r;
}

CdailyTrackScore CdailyTrackScore::read(const Cbytes& r) {
    CdailyTrackScore s;
    s.gameScore = readRecordU64(r, 0);
    s.name = readRecordText(r, 8);
    s.country = readRecordCString(r, 38, 3);
    s.deaths = readRecordI8(r, 41);
    s.difficulty = readRecordI32(r, 46);
    s.difficultyFactor = readRecordF32(r, 50);
    s.comment = readRecordText(r, 54);
    s.title = readRecordText(r, 137);
    s.artist = readRecordText(r, 197);
    s.album = readRecordText(r, 257);
    s.length = readRecordI32(r, 317);
    s.ship = readRecordText(r, 321);
    s.shipDefName = readRecordCString(r, 351, 33);
    s.linkKind = (char)readRecordI8(r, 384);
    s.linkId = readRecordCString(r, 386, kSize - 386);
    if (!isSafeLinkId(s.linkId)) {
        s.linkKind = 0;
        s.linkId.clear();
    }
    return s;
}
