#pragma once
// The order in which the music lists show the library's views: the tracks of
// an open group, the groups of a group view, the length text of a track row,
// and the row a typed letter jumps to.
#include <functional>
#include <string>
#include <vector>

#include "audio/songInfoMgr.h"

// Indices into group in display order. View 0: drives, folders, then files
// (the listing's own order within each); view 2: track number; views 3 and 4:
// album; view 7: artist; view 5 (recent): as it stands, leaving out tracks
// with no per-track record (hasRecord, by key).
std::vector<int> trackOrder(const CsongGroup& group, int view,
                            const std::function<bool(const std::string& key)>& hasRecord = {});
// Indices into the groups of view 2, 3 or 4, by the album, artist or genre of
// their first track, ignoring case.
std::vector<int> groupOrder(const std::vector<CsongGroup>& groups, int view);
// The text a group is known by in its view (album, artist or genre).
const std::string& groupText(const CsongGroup& group, int view);
// "01h 01m" from an hour, "03:05" from a minute, else the seconds ("42").
std::string trackLengthText(float seconds);
// The first row whose title begins with the letter or a later one (upper
// case, byte order), skipping rows marked in skip; -1 when none.
int letterJumpRow(const std::vector<std::string>& titles, char letter, const std::vector<bool>& skip = {});
