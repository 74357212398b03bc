#include "online/scoreRecord.h"

#include <cctype>
#include <cstring>
#include <vector>
#include <type_traits>

#include "engine/bString.h"

bool isSafeLinkId(std::string_view id) {
    if (id.empty() || id.size() > 27) return false;
    for (char c : id)
        if (!isalnum((unsigned char)c) && c != '-' && c != '_') return false;
    return true;
}

std::string readRecordText(const Cbytes& rec, size_t offset, size_t width) {
    if (offset >= rec.size()) return {};
    CbString s;
    s.deserialise(rec.data() + offset, std::min(width, rec.size() - offset));
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

namespace {
template <class T>
using Cfields = std::vector<CscoreField<T>>;

template <class T>
size_t fieldWidth(const CscoreField<T>& f, size_t recordSize) {
    return f.width ? f.width : recordSize - f.offset;
}

template <class T>
Cbytes writeFields(const T& s, const Cfields<T>& fields, size_t recordSize) {
    Cbytes r(recordSize, 0);
    for (const auto& f : fields) {
        const size_t w = fieldWidth(f, recordSize);
        std::visit(
            [&](auto m) {
                using V = std::remove_cvref_t<decltype(s.*m)>;
                if constexpr (std::is_same_v<V, std::string>) {
                    if (f.zeroTerminated) writeRecordCString(r, f.offset, w, s.*m);
                    else writeRecordText(r, f.offset, w, s.*m);
                } else if constexpr (std::is_same_v<V, int32_t>) {
                    writeRecordI32(r, f.offset, s.*m);
                } else if constexpr (std::is_same_v<V, int8_t> || std::is_same_v<V, char>) {
                    writeRecordI8(r, f.offset, (int8_t)(s.*m));
                } else if constexpr (std::is_same_v<V, float>) {
                    writeRecordF32(r, f.offset, s.*m);
                } else {
                    writeRecordU64(r, f.offset, s.*m);
                }
            },
            f.member);
    }
    return r;
}

template <class T>
T readFields(const Cbytes& r, const Cfields<T>& fields, size_t recordSize) {
    T s;
    for (const auto& f : fields) {
        const size_t w = fieldWidth(f, recordSize);
        std::visit(
            [&](auto m) {
                using V = std::remove_cvref_t<decltype(s.*m)>;
                if constexpr (std::is_same_v<V, std::string>) {
                    s.*m = f.zeroTerminated ? readRecordCString(r, f.offset, w) : readRecordText(r, f.offset, w);
                } else if constexpr (std::is_same_v<V, int32_t>) {
                    s.*m = readRecordI32(r, f.offset);
                } else if constexpr (std::is_same_v<V, int8_t> || std::is_same_v<V, char>) {
                    s.*m = (V)readRecordI8(r, f.offset);
                } else if constexpr (std::is_same_v<V, float>) {
                    s.*m = readRecordF32(r, f.offset);
                } else {
                    s.*m = readRecordU64(r, f.offset);
                }
            },
            f.member);
    }
    return s;
}

using B = CbasicScore;
const Cfields<B> kBasicFields = {
    {0, 30, &B::name},
    {30, 50, &B::comment},
    {80, 7, &B::country, true},
    {87, 4, &B::day},
    {91, 0, &B::ship},
};

using P = CperSongScore;
const Cfields<P> kPerSongFields = {
    {0, 30, &P::name},
    {30, 4, &P::day},
    {34, 3, &P::country, true},
    {37, 1, &P::deaths},
    {42, 4, &P::difficulty},
    {46, 4, &P::difficultyFactor},
    {50, 50, &P::comment},
    {100, 0, &P::ship},
};

using G = CgeneralTracksScore;
const Cfields<G> kGeneralTracksFields = {
    {0, 30, &G::name},
    {30, 4, &G::day},
    {38, 4, &G::difficulty},
    {42, 4, &G::difficultyFactor},
    {79, 60, &G::trackTitle},
    {139, 50, &G::comment},
    {189, 3, &G::country, true},
    {192, 1, &G::deaths},
    {193, 0, &G::ship},
};

using D = CdailyTrackScore;
const Cfields<D> kDailyTrackFields = {
    {0, 8, &D::gameScore},
    {8, 30, &D::name},
    {38, 3, &D::country, true},
    {41, 1, &D::deaths},
    {46, 4, &D::difficulty},
    {50, 4, &D::difficultyFactor},
    {54, 83, &D::comment},
    {137, 60, &D::title},
    {197, 60, &D::artist},
    {257, 60, &D::album},
    {317, 4, &D::length},
    {321, 30, &D::ship},
    {351, 33, &D::shipDefName, true},
    {384, 1, &D::linkKind},
    {386, 0, &D::linkId, true},
};
}  // namespace

Cbytes CbasicScore::write() const { return writeFields(*this, kBasicFields, kSize); }
CbasicScore CbasicScore::read(const Cbytes& r) { return readFields(r, kBasicFields, kSize); }

Cbytes CperSongScore::write() const { return writeFields(*this, kPerSongFields, kSize); }
CperSongScore CperSongScore::read(const Cbytes& r) { return readFields(r, kPerSongFields, kSize); }

Cbytes CgeneralTracksScore::write() const { return writeFields(*this, kGeneralTracksFields, kSize); }
CgeneralTracksScore CgeneralTracksScore::read(const Cbytes& r) { return readFields(r, kGeneralTracksFields, kSize); }

Cbytes CdailyTrackScore::write() const { return writeFields(*this, kDailyTrackFields, kSize); }

CdailyTrackScore CdailyTrackScore::read(const Cbytes& r) {
    CdailyTrackScore s = readFields(r, kDailyTrackFields, kSize);
    if (!isSafeLinkId(s.linkId)) {
        s.linkKind = 0;
        s.linkId.clear();
    }
    return s;
}
