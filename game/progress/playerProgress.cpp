#include "game/progress/playerProgress.h"

#include <cmath>
#include <cstring>
#include <random>

#include "engine/bString.h"
#include "engine/engine.h"
#include "game/progress/playerStatsCache.h"
#include "game/progress/recordIO.h"
#include "game/progress/xpCurve.h"

namespace {
constexpr size_t kShipNameBytes = 33;
constexpr size_t kClientIdBytes = 40;
constexpr size_t kPlayerNameBytes = 64;
constexpr size_t kAchievementNameBytes = 32;
constexpr uint32_t kMaxWaiting = 1024;
}  // namespace

void CprogressRecord::write(std::vector<uint8_t>& out) const {
    size_t base = out.size();
    CrecordWriter w(out);
    w.u32(kLayoutVersion);
    w.u64((uint64_t)xp);
    w.i64(cash);
    w.f64(timePlayed);
    w.text(currentShip, kShipNameBytes);
    w.u8(currentShipFlag);
    w.zeros(3);
    w.zeros(kNumPerks);   // the perks are the perk manager's own record
    w.text(clientId, kClientIdBytes);
    w.i32(dayNumber);
    w.text(playerName, kPlayerNameBytes);
    w.u64(steamId);
    for (uint64_t v : {bossRushBest, bossRushBestCustom, survivalBest, survivalBestCustom}) w.u64(v);
    for (uint32_t v : {tracksCompleted, missionsCompleted, builtInTracksMask, hardTracks, dailyChallengeWins,
                       challengeRunnerUp})
        w.u32(v);
    w.u64(bossTonnage);
    w.u32(bestBossWave);
    w.f32(biggestBossMass);
    w.u32(shipsCompleted);
    w.u32(customShipMissions);
    w.padTo(base + kRecordSize);
}

bool CprogressRecord::read(const uint8_t* p, size_t size) {
    if (!p || size < kRecordSize) {
        gEngine->log.print(LOG_L, "Progress record too short (%zu bytes)", size);
        return false;
    }
    CrecordReader r(p, kRecordSize);
    uint32_t version = r.u32();
    if (version != kLayoutVersion) {
        gEngine->log.print(LOG_L, "Progress record of unknown layout %u", version);
        return false;
    }
    CprogressRecord d;
    uint64_t x = r.u64();
    d.xp = x > (uint64_t)INT64_MAX ? INT64_MAX : (int64_t)x;
    d.cash = r.i64();
    if (d.cash < 0) d.cash = 0;
    double t = r.f64();
    d.timePlayed = std::isfinite(t) && t >= 0 ? t : 0.0;
    d.currentShip = r.text(kShipNameBytes);
    d.currentShipFlag = r.u8();
    r.skip(3);   // the unlocks come from their own records
    r.skip(kNumPerks);   // once perk flags; the "perks" record holds them
    d.clientId = r.text(kClientIdBytes);
    d.dayNumber = r.i32();
    d.playerName = r.text(kPlayerNameBytes);
    d.steamId = r.u64();
    for (uint64_t* v : {&d.bossRushBest, &d.bossRushBestCustom, &d.survivalBest, &d.survivalBestCustom}) *v = r.u64();
    for (uint32_t* v : {&d.tracksCompleted, &d.missionsCompleted, &d.builtInTracksMask, &d.hardTracks,
                        &d.dailyChallengeWins, &d.challengeRunnerUp})
        *v = r.u32();
    d.bossTonnage = r.u64();
    d.bestBossWave = r.u32();
    float mass = r.f32();
    d.biggestBossMass = std::isfinite(mass) && mass >= 0 ? mass : 0.0f;
    d.shipsCompleted = r.u32();
    d.customShipMissions = r.u32();
    if (r.failed()) return false;
    *this = std::move(d);
    return true;
}

void CplayerProgress::reset() {
    static_cast<CprogressRecord&>(*this) = CprogressRecord();
    waitingAchievements.clear();
    modules.clear();
    saveDirty = false;
    statsDirty = false;
    profileReady_ = false;
}

void CplayerProgress::createNewProfile() {
    reset();
    xp = 1;
    clientId = makeUuidText();
    profileReady_ = true;
    saveDirty = true;
    statsDirty = true;
}

void CplayerProgress::setXP(int64_t value) {
    xp = value < 0 ? 0 : value;
    saveDirty = true;
    statsDirty = true;
}

void CplayerProgress::addXP(uint64_t amount) {
    uint64_t room = (uint64_t)(INT64_MAX - xp);
    xp += (int64_t)(amount > room ? room : amount);
    saveDirty = true;
    statsDirty = true;
}

void CplayerProgress::addCash(int64_t amount) {
    if (amount < 0 && -amount > cash) cash = 0;
    else if (amount > 0 && cash > INT64_MAX - amount) cash = INT64_MAX;
    else cash += amount;
    saveDirty = true;
}

void CplayerProgress::addTimePlayed(double seconds) {
    if (!(seconds > 0)) return;
    timePlayed += seconds;
    statsDirty = true;
}

int CplayerProgress::rank() const { return rankFromXP((uint64_t)(xp < 0 ? 0 : xp)); }


void CplayerProgress::syncLocalStats(CplayerStatsRecord& local) const {
    local.steamId = steamId;
    local.xp = (uint64_t)(xp < 0 ? 0 : xp);
    local.tracksCompleted = tracksCompleted;
    local.timePlayed = (float)timePlayed;
    local.bossRushStandard = bossRushBest;
    local.bossRushCustom = bossRushBestCustom;
    local.survivalStandard = survivalBest;
    local.survivalCustom = survivalBestCustom;
    local.challengeWins = dailyChallengeWins;
    local.challengeRunnerUp = challengeRunnerUp;
    local.bossTonnage = bossTonnage;
    if (!playerName.empty()) local.name = playerName;
    if (gEngine) local.countryCode = gEngine->countryCode.substr(0, 3);
    local.platform = (uint8_t)Cengine::kThisPlatform;
}

static bool submitBest(CplayerProgress& p, uint64_t& best, uint64_t score, int board, const std::string& comment) {
    if (score > best) {
        best = score;
        p.saveDirty = true;
        p.statsDirty = true;
    }
    if (best == 0) return false;
    if (p.submitBoard) p.submitBoard(board, best, comment);
    return true;
}

bool CplayerProgress::submitBossRushScore(uint64_t score, const std::string& comment, bool defaultShip) {
    return defaultShip ? submitBest(*this, bossRushBest, score, BOARD_BOSSRUSH, comment)
                       : submitBest(*this, bossRushBestCustom, score, BOARD_BOSSRUSH_CUSTOM, comment);
}

bool CplayerProgress::submitSurvivalScore(uint64_t score, const std::string& comment, bool defaultShip) {
    return defaultShip ? submitBest(*this, survivalBest, score, BOARD_SURVIVAL, comment)
                       : submitBest(*this, survivalBestCustom, score, BOARD_SURVIVAL_CUSTOM, comment);
}

void CplayerProgress::writeWaiting(std::vector<uint8_t>& out) const {
    CrecordWriter w(out);
    w.u32((uint32_t)waitingAchievements.size());
    for (const auto& a : waitingAchievements) {
        w.text(a.name, kAchievementNameBytes);
        w.u8(a.milestones);
    }
}

bool CplayerProgress::readWaiting(const uint8_t* p, size_t size, std::vector<CwaitingAchievement>& staged) {
    CrecordReader r(p, size);
    uint32_t count = r.u32();
    if (r.failed() || count > kMaxWaiting || r.remaining() != (size_t)count * (kAchievementNameBytes + 1))
        return false;
    staged.clear();
    for (uint32_t i = 0; i < count; ++i) {
        CwaitingAchievement a;
        a.name = r.text(kAchievementNameBytes);
        a.milestones = r.u8();
        if (!a.name.empty()) staged.push_back(std::move(a));
    }
    return !r.failed();
}

std::string makeUuidText() {
    std::random_device rd;
    uint8_t b[16];
    for (int i = 0; i < 16; i += 4) {
        uint32_t v = rd();
        memcpy(b + i, &v, 4);
    }
    b[6] = (uint8_t)((b[6] & 0x0F) | 0x40);
    b[8] = (uint8_t)((b[8] & 0x3F) | 0x80);
    char out[37];
    snprintf(out, sizeof out, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0], b[1],
             b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return out;
}
