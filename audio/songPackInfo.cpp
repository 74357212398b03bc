#include "audio/songPackInfo.h"

#include <cmath>

#include "audio/songInfoMgr.h"
#include "engine/md5.h"

std::string makeSongKey(uint32_t kind, std::string_view title, std::string_view artist, float length) {
    if (kind == SONG_RADIO) return Cmd5::hex(title);
    double l = std::isfinite(length) && length > 0 ? (double)length : 0.0;
    long long tens = (long long)std::floor(l / 10.0) * 10;
    std::string text;
    text.reserve(title.size() + artist.size() + 24);
    text.append(title).append(" - ").append(artist).append(" - ").append(std::to_string(tens));
    return Cmd5::hex(text);
}

void CsongPackInfo::toggleFavourite() {
    favourite = favourite ? 0 : 1;
    if (CsongInfoMgr* lib = CsongInfoMgr::active()) lib->markDirty();
}

void CsongPackInfo::setRadioStation(const CradioStation& s) {
    kind = SONG_RADIO;
    path = s.name;
    station = s.station;
    tags.clear();
    tags.title = s.name;
    tags.genre = s.genre;
    bitrate = s.bitrate;
    listeners = s.listeners;
    favourite = 0;
    removed = 0;
    updateKey();
}

void CsongPackInfo::setOpenMic(const CsongPackInfo* entry, const CtrackTags& newTags) {
    kind = SONG_OPEN_MIC;
    if (entry && entry != this) path = entry->path;
    station.clear();
    tags = newTags;
    removed = 0;
    updateKey();
}
