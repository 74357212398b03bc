#pragma once
// What the news feed lists for the inbox and what a row's buttons may do.
// A track message is listed only while the song library holds its track,
// and a button is checked again when pressed, since the track may have
// left the library meanwhile.
#include <string>
#include <vector>

class Cinbox;
class CsongInfoMgr;
struct CinboxEntry;
struct CsongPackInfo;

enum EnewsAction { NEWS_NONE = 0, NEWS_FIGHT_BACK = 1, NEWS_LEADERBOARD = 2, NEWS_LISTEN = 3 };

struct CnewsRow {
    int entry = -1;             // index into the inbox
    bool trackMessage = false;  // types 15 and 16: has buttons
    bool openMic = false;       // no listening or fighting back
    std::string titleTag;       // "WorldHighscore", "DethronedHighscore", ...
};

namespace newsFeed {
bool isTrackMessage(const CinboxEntry& e);
const char* titleTag(const CinboxEntry& e);
// The library's track of a message, or null (open-mic tracks included).
CsongPackInfo* trackOf(const CinboxEntry& e, const CsongInfoMgr& library);
std::vector<CnewsRow> rows(const Cinbox& inbox, const CsongInfoMgr& library);
// The buttons a track row carries, in order.
std::vector<EnewsAction> buttonsOf(const CnewsRow& row);
// The action as it may run now: NEWS_NONE for a message that is not a
// track message, whose track has left the library, or an action the row
// does not offer.
EnewsAction allowed(const Cinbox& inbox, const CsongInfoMgr& library, int entry, EnewsAction wanted);
// The ship name picks the standard ship's board.
bool isStandardShip(const std::string& shipName);
}  // namespace newsFeed
