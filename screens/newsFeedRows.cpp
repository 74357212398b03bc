#include "screens/newsFeedRows.h"

#include <strings.h>

#include <algorithm>

#include "audio/songInfoMgr.h"
#include "online/inbox.h"

namespace newsFeed {

bool isTrackMessage(const CinboxEntry& e) { return e.type == INBOX_WORLD_HIGHSCORE || e.type == INBOX_DETHRONED; }

const char* titleTag(const CinboxEntry& e) {
    switch (e.type) {
    case INBOX_WORLD_HIGHSCORE: return e.dethroned ? "DethronedHighscore" : "WorldHighscore";
    case INBOX_DETHRONED: return "DethronedHighscore";
    case INBOX_BOSSRUSH_HIGHSCORE: return "HasNewBossRushHighScore";
    case INBOX_SURVIVAL_HIGHSCORE: return "HasNewSurvivalHighScore";
    default: return "";
    }
}

CsongPackInfo* trackOf(const CinboxEntry& e, const CsongInfoMgr& library) {
    if (e.trackKey.empty()) return nullptr;
    return library.findByKey(e.trackKey, false);
}

std::vector<CnewsRow> rows(const Cinbox& inbox, const CsongInfoMgr& library) {
    std::vector<CnewsRow> out;
    const auto& entries = inbox.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const CinboxEntry& e = entries[i];
        CnewsRow r;
        r.entry = (int)i;
        r.titleTag = titleTag(e);
        if (isTrackMessage(e)) {
            CsongPackInfo* t = trackOf(e, library);
            if (!t) continue;
            r.trackMessage = true;
            r.openMic = t->kind == SONG_OPEN_MIC;
        } else if (r.titleTag.empty()) {
            continue;
        }
        out.push_back(r);
    }
    return out;
}

std::vector<EnewsAction> buttonsOf(const CnewsRow& row) {
    std::vector<EnewsAction> b;
    if (!row.trackMessage) return b;
    if (!row.openMic) {
        b.push_back(NEWS_LISTEN);
        b.push_back(NEWS_FIGHT_BACK);
    }
    b.push_back(NEWS_LEADERBOARD);
    return b;
}

EnewsAction allowed(const Cinbox& inbox, const CsongInfoMgr& library, int entry, EnewsAction wanted) {
    const auto& entries = inbox.entries();
    if (entry < 0 || entry >= (int)entries.size() || !isTrackMessage(entries[(size_t)entry])) return NEWS_NONE;
    CsongPackInfo* t = trackOf(entries[(size_t)entry], library);
    if (!t) return NEWS_NONE;
    CnewsRow r;
    r.trackMessage = true;
    r.openMic = t->kind == SONG_OPEN_MIC;
    auto b = buttonsOf(r);
    return std::find(b.begin(), b.end(), wanted) != b.end() ? wanted : NEWS_NONE;
}

bool isStandardShip(const std::string& shipName) {
    return strcasecmp(shipName.c_str(), "PreSet_Standard") == 0 || strcasecmp(shipName.c_str(), "Standard") == 0;
}

}  // namespace newsFeed
