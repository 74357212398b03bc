#include "game/progress/achievementDefs.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "game/progress/playerProgress.h"
#include "game/progress/playerShipMgr.h"
#include "game/progress/recordIO.h"

namespace {
constexpr uint32_t kMaxStored = 4096;
constexpr int kMaxCategories = 64;
}  // namespace

float CachievementDef::progressValue() const {
    if (milestones.empty()) return 0.0f;
    if (isComplete()) return 1.0f;
    uint32_t next = milestones[(size_t)milestonesReached].points;
    if (next == 0) return 1.0f;
    float v = (float)count / (float)next;
    return v > 1.0f ? 1.0f : v;
}

bool CachievementDefs::load(const std::string& fileName) {
    CresourceFile file;
    if (!file.open("textFiles/" + fileName, RF_DATA)) {
        gEngine->log.print(LOG_E, "Can't find achievements file %s", fileName.c_str());
        return false;
    }
    return loadFromText(file.text());
}

bool CachievementDefs::loadFromText(const char* text) {
    defs.clear();
    categoryTitles.clear();
    const char* c = text;
    std::string tok;
    CachievementDef* a = nullptr;
    auto fail = [&](const char* why) {
        gEngine->log.print(LOG_L, "achievements: %s '%s'", why, tok.c_str());
        return false;
    };
    while (Cengine::readToken(tok, c)) {
        if (tok == "EndFile") return !a;
        if (!a) {
            if (tok == "Category") {
                int n = Cengine::readInt(c);
                std::string title;
                Cengine::readToken(title, c);
                if (n < 0 || n >= kMaxCategories) return fail("bad category number");
                if ((size_t)n >= categoryTitles.size()) categoryTitles.resize((size_t)n + 1);
                categoryTitles[(size_t)n] = title;
            } else if (tok == "Achievement") {
                defs.emplace_back();
                a = &defs.back();
                Cengine::readToken(a->name, c);
                if (a->name.empty() || a->name.size() >= kNameBytes) return fail("bad achievement name");
            } else {
                return fail("unexpected token");
            }
            continue;
        }
        if (tok == "EndAchievement") {
            if (a->milestones.empty()) return fail("no milestones in");
            if (a->category < 1 || a->category >= (int)categoryTitles.size()) return fail("unknown category of");
            a = nullptr;
        } else if (tok == "Category") {
            a->category = Cengine::readInt(c);
        } else if (tok == "Title") {
            Cengine::readToken(a->title, c);
        } else if (tok == "Desc") {
            Cengine::readToken(a->desc, c);
        } else if (tok == "Sprite") {
            Cengine::readToken(a->sprite, c);
        } else if (tok == "Source") {
            Cengine::readToken(a->source, c);
        } else if (tok == "Milestone") {
            CachievementMilestone m;
            m.points = (uint32_t)std::max(0, Cengine::readInt(c));
            Cengine::readToken(m.steamName, c);
            if (!a->milestones.empty() && m.points <= a->milestones.back().points)
                return fail("milestones out of order in");
            a->milestones.push_back(std::move(m));
        } else {
            return fail("unexpected token");
        }
    }
    gEngine->log.print(LOG_L, "achievements: no EndFile");
    return false;
}

const char* CachievementDefs::getCategoryTitle(int category) const {
    if (category < 0 || category >= getNumCategories() || categoryTitles[(size_t)category].empty()) return "";
    return gEngine->text(categoryTitles[(size_t)category]);
}

int CachievementDefs::getNumInCategory(int category) const {
    if (category == 0) return progress_ ? (int)progress_->waitingAchievements.size() : 0;
    int n = 0;
    for (const auto& a : defs) n += a.category == category ? 1 : 0;
    return n;
}

CachievementDef* CachievementDefs::getAchievementInCategory(int category, int index) {
    if (index < 0) return nullptr;
    if (category == 0) {
        if (!progress_ || (size_t)index >= progress_->waitingAchievements.size()) return nullptr;
        return findAchievement(progress_->waitingAchievements[(size_t)index].name);
    }
    for (auto& a : defs)
        if (a.category == category && index-- == 0) return &a;
    return nullptr;
}

int CachievementDefs::getWaitingMilestones(int index) const {
    if (!progress_ || index < 0 || (size_t)index >= progress_->waitingAchievements.size()) return 0;
    return progress_->waitingAchievements[(size_t)index].milestones;
}

bool CachievementDefs::claimWaiting(int index) {
    if (!progress_ || index < 0 || (size_t)index >= progress_->waitingAchievements.size()) return false;
    progress_->waitingAchievements.erase(progress_->waitingAchievements.begin() + index);
    progress_->saveDirty = true;
    return true;
}

uint32_t CachievementDefs::getMilestonePoints(const CachievementDef& a, int m) const {
    if (a.milestones.empty()) return 0;
    m = std::clamp(m, 0, a.getNumMilestones() - 1);
    return a.milestones[(size_t)m].points;
}

CachievementDef* CachievementDefs::findAchievement(const std::string& name) {
    for (auto& a : defs)
        if (equalsIgnoreCase(a.name, name)) return &a;
    gEngine->log.print(LOG_L, "Can't find achievement: %s", name.c_str());
    return nullptr;
}

int CachievementDefs::reachedFor(const CachievementDef& a, uint32_t count) const {
    int n = 0;
    while (n < a.getNumMilestones() && count >= a.milestones[(size_t)n].points) ++n;
    return n;
}

void CachievementDefs::setCount(CachievementDef& a, uint32_t count) {
    const uint32_t before = a.count;
    a.count = count;
    int reached = reachedFor(a, count);
    if (reached <= a.milestonesReached) {
        if (count > before && !a.isComplete() && onProgress) onProgress(a);
        return;
    }
    for (int m = a.milestonesReached; m < reached; ++m) {
        const std::string& steam = a.milestones[(size_t)m].steamName;
        gEngine->log.print(LOG_L, "Achievement %s reached milestone %d", a.name.c_str(), m + 1);
        if (award && !steam.empty()) award(steam);
    }
    a.milestonesReached = reached;
    if (onAwarded) onAwarded(a);
    if (progress_) {
        auto& waiting = progress_->waitingAchievements;
        auto it = std::find_if(waiting.begin(), waiting.end(),
                               [&](const CwaitingAchievement& w) { return equalsIgnoreCase(w.name, a.name); });
        if (it == waiting.end()) waiting.push_back({a.name, (uint8_t)reached});
        else it->milestones = (uint8_t)reached;
        progress_->saveDirty = true;
    }
}

void CachievementDefs::addProgress(CachievementDef* a, uint32_t amount) {
    if (!a) return;
    uint32_t count = a->count > UINT32_MAX - amount ? UINT32_MAX : a->count + amount;
    setCount(*a, count);
    if (progress_) progress_->saveDirty = true;
}

void CachievementDefs::refreshMilestones() {
    for (auto& a : defs) a.milestonesReached = reachedFor(a, a.count);
}

void CachievementDefs::updateFromRecords(const CplayerProgress& p, const CplayerShipMgr& ships) {
    uint32_t procShips = 0, shipTracks = 0, shipsDone = 0;
    for (const auto& s : ships.ships) {
        procShips += s->source == SHIP_PROCEDURAL ? 1 : 0;
        shipTracks = std::max<uint32_t>(shipTracks, s->tracksCompleted);
        shipsDone += s->numMissions() > 0 && s->numMissionsComplete() == s->numMissions() ? 1 : 0;
    }
    auto value = [&](const std::string& src, uint32_t& out) {
        if (src == "TracksCompleted") out = p.tracksCompleted;
        else if (src == "BuiltInTracks") out = (uint32_t)std::popcount(p.builtInTracksMask);
        else if (src == "Rank") out = (uint32_t)p.rank();
        else if (src == "HoursPlayed") out = (uint32_t)(p.timePlayed / 3600.0);
        else if (src == "HardTracks") out = p.hardTracks;
        else if (src == "DailyChallenges") out = p.dailyChallengeWins;
        else if (src == "ProcShips") out = procShips;
        else if (src == "ShipTracks") out = shipTracks;
        else if (src == "BossWave") out = p.bestBossWave;
        else if (src == "BossMass") out = (uint32_t)std::min(p.biggestBossMass, 4.0e9f);
        else if (src == "BossTonnage") out = (uint32_t)std::min<uint64_t>(p.bossTonnage, UINT32_MAX);
        else if (src == "MissionsCompleted") out = p.missionsCompleted;
        else if (src == "CustomShipMissions") out = p.customShipMissions;
        else if (src == "ShipsCompleted") out = std::max(p.shipsCompleted, shipsDone);
        else return false;
        return true;
    };
    for (auto& a : defs) {
        uint32_t v = 0;
        if (a.source.empty() || !value(a.source, v)) continue;
        if (v > a.count) setCount(a, v);
    }
}

void CachievementDefs::checkShipTracks(const CplayerShipMgr& ships) {
    uint32_t most = 0;
    for (const auto& s : ships.ships) most = std::max<uint32_t>(most, s->tracksCompleted);
    for (auto& a : defs)
        if (a.source == "ShipTracks" && most > a.count) setCount(a, most);
}

std::vector<std::string> CachievementDefs::reachedSteamNames() const {
    std::vector<std::string> out;
    for (const auto& a : defs)
        for (int m = 0; m < a.milestonesReached && m < a.getNumMilestones(); ++m)
            if (!a.milestones[(size_t)m].steamName.empty()) out.push_back(a.milestones[(size_t)m].steamName);
    return out;
}

void CachievementDefs::resetProgress() {
    for (auto& a : defs) {
        a.count = 0;
        a.milestonesReached = 0;
    }
}

void CachievementDefs::write(std::vector<uint8_t>& out) const {
    CrecordWriter w(out);
    w.u32((uint32_t)defs.size());
    for (const auto& a : defs) {
        w.text(a.name, kNameBytes);
        w.u32(a.count);
        w.u8((uint8_t)std::min(a.milestonesReached, 255));
    }
}

bool CachievementDefs::read(const uint8_t* p, size_t size, std::map<std::string, uint32_t>& staged) const {
    CrecordReader r(p, size);
    uint32_t count = r.u32();
    if (r.failed() || count > kMaxStored || r.remaining() != (size_t)count * (kNameBytes + 5)) return false;
    staged.clear();
    for (uint32_t i = 0; i < count; ++i) {
        std::string name = toLowerAscii(r.text(kNameBytes));
        uint32_t n = r.u32();
        r.u8();   // worked out again from the count
        if (!name.empty()) staged[name] = n;
    }
    return !r.failed();
}

void CachievementDefs::applyCounts(const std::map<std::string, uint32_t>& counts) {
    resetProgress();
    for (auto& a : defs) {
        auto it = counts.find(toLowerAscii(a.name));
        if (it != counts.end()) a.count = it->second;
    }
    refreshMilestones();
}

std::string achievementProgressText(const CachievementDefs& defs, const CachievementDef& a, int category, int reached) {
    if (a.milestones.empty()) return "";
    // The milestone looked at is always one of the table's.
    int k = std::clamp(reached, 0, a.getNumMilestones() - 1);
    uint64_t target = defs.getMilestonePoints(a, k);
    uint64_t count = category == 0 ? target : a.count;
    char text[48];
    if (target <= 1000) {
        std::snprintf(text, sizeof text, "%u/%u", (unsigned)count, (unsigned)target);
    } else {
        std::snprintf(text, sizeof text, "%d%%", (int)(100 * count / target));
    }
    return text;
}
