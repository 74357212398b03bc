#include "game/musicLink.h"

#include <algorithm>

#include "audio/musicPlayer.h"
#include "audio/songInfoMgr.h"

CtrackInfo trackInfoFromSong(const CsongPackInfo& song) {
    CtrackInfo t;
    t.title = song.tags.title;
    t.artist = song.tags.artist;
    t.album = song.tags.album;
    t.genre = song.tags.genre;
    t.key = song.key;
    t.length = song.kind == SONG_RADIO ? 0 : song.tags.length;
    switch (song.kind) {
        case SONG_BUILT_IN: t.entryType = CtrackInfo::ENTRY_BUILT_IN; break;
        case SONG_RADIO: t.entryType = CtrackInfo::ENTRY_RADIO; break;
        case SONG_OPEN_MIC: t.entryType = CtrackInfo::ENTRY_OPEN_MIC; break;
        default: t.entryType = CtrackInfo::ENTRY_FILE; break;
    }
    return t;
}

void fillMusicFeed(const CmusicPlayer& player, bool trackEnded, float dt, CmusicFeed& feed) {
    for (int b = 0; b < 3; ++b) feed.bands[b] = std::min(player.getBandLevel(b) / 5.0f, 1.0f);
    float now = std::min(player.getIntensity() / 5.0f, 1.0f);
    feed.intensity += (now - feed.intensity) * std::min(dt * 0.8f, 1.0f);
    feed.energy = player.musicEnergy;
    if (trackEnded) {
        // The player has let the track go: what play knew of it stands, at its end.
        feed.trackEnded = feed.trackLength > 0;
        if (feed.trackEnded) feed.trackTime = feed.trackLength;
        return;
    }
    const CsongPackInfo* t = player.currentTrack;
    bool file = t && t->isLocal();
    feed.trackLength = file ? t->tags.length : 0;
    feed.trackTime = file ? player.getTrackProgress() * t->tags.length : feed.trackTime;
    feed.trackEnded = false;
}

CtrackInfoView trackView(const CsongPackInfo& song) {
    CtrackInfoView v;
    v.title = song.tags.title;
    v.artist = song.tags.artist;
    v.album = song.tags.album;
    v.key = song.key;
    v.lengthSeconds = song.tags.length;
    return v;
}

std::vector<CsongPackInfo*> tracksMeetingCondition(const CsongInfoMgr& library, const CshipMission& mission) {
    std::vector<CsongPackInfo*> out;
    for (size_t i = 0; i < library.size(); ++i) {
        CsongPackInfo* t = library.entry(i);
        if (t && t->isLocal() && trackMeetsCondition(trackView(*t), mission)) out.push_back(t);
    }
    return out;
}
