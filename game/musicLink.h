#pragma once
// Play and the music player: the session's track from a song-library entry,
// and the music feed read from the player each step.
#include <vector>

#include "game/musicFeed.h"
#include "game/progress/shipMission.h"

class CmusicPlayer;
class CsongPackInfo;
class CsongInfoMgr;

CtrackInfo trackInfoFromSong(const CsongPackInfo& song);
// Band levels, intensity, energy and the track's time from the player. The
// analysis reads a band's usual loudness as 1 and its beats up to 5 (levels to
// the fourth power); play takes fifths of that, and its intensity is the
// player's, in fifths, followed over a second or so. The end of a file track
// is the caller's to report (the player's onTrackEnd).
void fillMusicFeed(const CmusicPlayer& player, bool trackEnded, float dt, CmusicFeed& feed);

// A library entry as the mission checks read it (it points into the entry).
CtrackInfoView trackView(const CsongPackInfo& song);
// The library's own tracks (files) that meet a mission's track condition.
std::vector<CsongPackInfo*> tracksMeetingCondition(const CsongInfoMgr& library, const CshipMission& mission);
