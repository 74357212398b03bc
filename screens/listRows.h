#pragma once
// The one place that fills list rows, cards and headers for every list
// screen: web leaderboard rows, the four-line top-scores panel of a track,
// the place badge, the heart and trash icons of track lists, a track's own
// progress, the time left of the playing track and the now-playing header.
//
// Each function takes a widget its caller has already made (a table row, a
// template copy or a layout widget) and only sets gadgets inside it by name;
// none keeps state between calls.
//
// Leaderboard rows take (row, board, entry, rank, top score): rank is the
// entry's 1-based place in the list, top score the score of the board's first
// entry (0 for an empty board). Gadgets each row fills:
//   fillBasicBoardRow     Rank Name Score Comment Date Ship Country Friend
//   fillPerSongBoardRow   Rank Name Score Ship Date DiffVis Comment NumDeaths Country Friend
//   fillGeneralTracksRow  Rank Name Score Date DiffVis Comment TrackTitle NumDeaths Ship Country Friend
//   fillChallengeBoardRow Rank Name Score Ship Comment Country
//   fillDailyTracksRow    Name Score DiffVis Comment Ship NumDeaths TrackTitle Country Date Friend
// "Country" and "Friend" are sprite gadgets, the others text gadgets. Below
// the board's top count the place becomes a "top n%" estimate; the signed-in
// player's own row is drawn in "ReallyLightGreen".
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Cwidget;
class Cmenu;
class CsongPackInfo;
class CshipMission;
struct Cboard;
struct CboardEntry;

void fillBasicBoardRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int rank, uint64_t topScore);
void fillPerSongBoardRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int rank, uint64_t topScore);
void fillGeneralTracksRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int rank, uint64_t topScore);
void fillChallengeBoardRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int rank, uint64_t topScore);
void fillDailyTracksRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int rank, uint64_t topScore);

// The "top n%" estimate of a score against the top score: at least 1; 100 or
// more means the place is not shown. A top score of 0 gives 100.
int64_t topPercent(uint64_t score, uint64_t topScore);
// "Today", "Yesterday" or "<d> days ago" for a record's day number.
std::string daysAgoText(int64_t today, int32_t day);
// "%02d:%02d"-style track lengths of the daily tracks: "59", "01:01", "01h 01m".
std::string shortLengthText(int seconds);

// The top-scores panel of a track ("Rank1..4", "Name1..4", "Score1..4",
// sprites "Friend1..4").
void fillFriendRows(Cwidget* w, const CsongPackInfo* track);
// The crown (first) or rosette showing the signed-in player's place on the
// track's board ("CrownSprite", "CrownTitle", "RosetteSprite", "RosetteTitle").
void setBoardBadge(Cwidget* w, const CsongPackInfo* track);
void showPlaceBadge(Cwidget* w, int placeIndex);

// Heart (float +1) and trash (float -1) icons attached to a track's row; the
// 64-bit value is the track id. Items of float -2 are left alone.
void addHeartIcon(Cmenu* menu, int64_t trackId, bool favourite);
void addHeartAndTrashIcons(Cmenu* menu, int64_t trackId, bool favourite);
// The marks of the rows made; a list's row made later takes its track's marks then.
void setHeartIconState(Cmenu* menu, bool favourite, int64_t trackId);
// The trash icon of a track row: lit while the track is marked removed.
void setTrashIconState(Cmenu* menu, bool removed, int64_t trackId);
void updateHeartIconState(Cmenu* menu, const CsongPackInfo* track, int64_t trackId);
// One icon's look, for a screen that walks only the rows in view.
void markHeartIcon(Cwidget* heart, bool favourite);
void markTrashIcon(Cwidget* trash, bool removed);

// "HighScore", "Ship" and "Progress" of a track from the player's record.
void fillTrackProgress(Cwidget* w, const CsongPackInfo* track, bool isHud);
// Each step: the progress bar and "TimeLeft" of the playing track.
void setTimeLeftText(Cwidget* w);
// "%02d:%02d" under an hour, else "%02dh %02dm %02ds" of whole seconds.
std::string timeLeftText(float seconds);
// The now-playing headers of the HUDs and the music bar.
void updateChallengeHeaders(const CsongPackInfo* track);
// Back in the menus after a track: while the open mic listens, its track takes
// its name again and the now-playing headers follow.
void nameOpenMicTrack();
void updateChallengeHeader(Cwidget* w, const CsongPackInfo* track, bool isHud);

// Track rows of the music lists (the music browser's open group, the
// ship-mission tracks): a "SongInfoItem" row, then beside it its top-scores
// item and its badge, and in pointer mode the heart (and the trash) icons.
// Every item of the row carries value; the items' float kinds say which part
// of the row each is. Folder and drive entries get the row alone.
constexpr float kTrackRowHeart = 1.0f, kTrackRowTrash = -1.0f, kTrackRowBoardInfo = -2.0f, kTrackRowRosette = -3.0f;
// The entry a row's value stands for, or null.
using CtrackRowEntry = std::function<const CsongPackInfo*(int64_t value)>;
// The menu's rows become one a value, in order (values without an entry are
// left out). The menu keeps only the values and makes a row's widgets from
// its entry while the row is near view.
void setTrackRows(Cmenu* menu, const std::vector<int64_t>& values, const CtrackRowEntry& entryOf, bool pointer,
                  bool withTrash);
// What a track row's "Title1" reads: a folder's or drive's path, else the title.
const std::string& trackRowTitle(const CsongPackInfo& e);
// Refills the top-scores items and badges of the rows whose boards have arrived.
void refreshTrackBoards(Cmenu* menu, const CtrackRowEntry& entryOf);
// Asks for the boards of the tracks around the selected row, a few at a time.
class CtrackBoardRequests {
public:
    void reset() {
        timer_ = 0.01f;
        cursor_ = 0;
        lastSelection_ = -1;
    }
    void step(Cmenu* menu, const CtrackRowEntry& entryOf);

private:
    float timer_ = 0.01f;
    int cursor_ = 0;
    int lastSelection_ = -1;
};

// A mission card (the "ShipMissionSmall" template): "MissionType" reads
// "n) name", "Text1".."Text7" the mission's rules one a line, the "Star"
// white once complete; a track mission shows in "NumTracks" how many library
// tracks meet its condition.
void fillTrackList(Cwidget* w, int index, const CshipMission& mission, bool complete);
// Writes "Text<line + 1>", shows it and advances line (nothing without that gadget).
void setNextMissionLine(Cwidget* w, int& line, const std::string& text);

// Widgets the now-playing header refresh reaches; set by their owners.
struct CnowPlayingHeaders {
    Cwidget* hud = nullptr;
    Cwidget* partyHud = nullptr;
    Cwidget* musicBar = nullptr;
};
CnowPlayingHeaders& nowPlayingHeaders();
