#include "online/challengeMgr.h"

#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/saveFile.h"
#include "online/k4wTransport.h"
#include "online/leaderboardMgr.h"
#include "online/scoreRecord.h"

using namespace k4wGen;

namespace {

bool takeChallenge(const k4w__Challenge& c, CtimedChallenge& out) {
    if (c.duration <= 0 || c.duration > 24 * 3600) return false;
    if (c.difficulty < 0 || c.difficulty > 6 || c.shipClass < 0 || c.shipClass > 10) return false;
    if (c.weaponRestriction < 0 || c.weaponRestriction > 9) return false;
    out.periodNumber = c.periodNumber;
    out.trackTitle = utf8Truncate(c.trackTitle, 100);
    out.artist = utf8Truncate(c.artist, 100);
    out.album = utf8Truncate(c.album, 100);
    out.duration = c.duration;
    out.difficulty = c.difficulty;
    out.difficultyCap = c.difficultyCap < 0 || c.difficultyCap > 6 ? 6 : c.difficultyCap;
    out.noExtraLives = c.noExtraLives;
    out.weaponRestriction = c.weaponRestriction;
    out.shipClass = c.shipClass;
    out.endTime = c.endTime;
    out.linkKind = c.linkKind.empty() ? 0 : c.linkKind[0];
    out.linkId = c.linkId;
    if ((out.linkKind != 'Y' && out.linkKind != 'S') || !isSafeLinkId(out.linkId)) {
        out.linkKind = 0;
        out.linkId.clear();
    }
    out.plainBoardNames = c.plainBoardNames;
    out.started = false;
    return true;
}

}  // namespace

CchallengeMgr::CchallengeMgr(k4wSOAP& ws, CleaderboardMgr& boards) : ws_(ws), boards_(boards) {}

CchallengeMgr::~CchallengeMgr() { task.join(); }

void CchallengeMgr::start(int hours, const std::string& boardPrefix) {
    periodHours = hours > 0 ? hours : 24;
    boardBase = boardPrefix;
    state = k4wSOAP::serviceOff() ? CHALL_NONE : CHALL_REFRESH;
}

int64_t CchallengeMgr::periodNumber(int offset) const {
    int64_t hours = ws_.unixTime() / 3600;
    return (hours + (int64_t)offset * periodHours) / periodHours;
}

std::string CchallengeMgr::boardName(int offset) const {
    return CbString::format("%s_HS_%lld", boardBase.c_str(), (long long)periodNumber(offset)).str();
}

bool CchallengeMgr::isRunning() const { return state == CHALL_READY && ws_.unixTime() < challenge.endTime; }

void CchallengeMgr::select() {
    selected = true;
    active = true;
}

void CchallengeMgr::deselect() {
    selected = false;
    active = false;
}

void CchallengeMgr::noteAttempt() {
    if (state != CHALL_READY) return;
    lastAttempt = challenge;
    lastAttempt.periodNumber = periodNumber(0);
}

void CchallengeMgr::update() {
    if (task.finished()) {
        bool ok = task.success();
        task.reset();
        if (ok && fetchedSome_ && fetched_.endTime > ws_.unixTime()) {
            challenge = fetched_;
            state = CHALL_READY;
        } else {
            state = CHALL_NONE;
        }
    }
    if (state == CHALL_REFRESH && !task.started()) {
        if (k4wSOAP::serviceOff()) {
            state = CHALL_NONE;
        } else {
            fetchedSome_ = false;
            int hours = periodHours;
            task.start([this, hours] {
                _k4w__GetCurrentChallenge req;
                req.periodHours = hours;
                CtimedChallenge got;
                bool some = false;
                Ck4wCallResult r = k4wTokenCall(ws_, "GetCurrentChallenge", &k4wProxy::GetCurrentChallenge, req,
                                                [&](_k4w__GetCurrentChallengeResponse& resp) {
                                                    if (!resp.challenge) return true;   // none this period
                                                    some = takeChallenge(*resp.challenge, got);
                                                    return some;
                                                });
                fetched_ = got;
                fetchedSome_ = some;
                return r.ok() && some;
            });
        }
    }
    checkReward();
}

void CchallengeMgr::checkReward() {
    // A reward still waiting to be shown does not hold up the next look-up.
    if (lastAttempt.periodNumber < 0 || k4wSOAP::serviceOff()) return;
    // Before the manager is started (its board name and period) and the
    // player signed in (the service's clock), a look-up would miss the board
    // and drop the attempt.
    if (boardBase.empty() || !ws_.signedIn()) return;
    int64_t now = periodNumber(0);
    if (lastAttempt.periodNumber >= now) return;   // that period still runs
    if (!rewardRequested_) {
        int offset = (int)(lastAttempt.periodNumber - now);
        rewardBoard_ = boardName(offset);
        // Rows seen while that period ran are not the final ones.
        if (Cboard* old = boards_.findBoard(rewardBoard_)) {
            old->downloaded = false;
            old->downloadedAt = 0;
        }
        rewardRequested_ = boards_.requestChallengeBoard(*this, offset);
        if (!rewardRequested_) lastAttempt.periodNumber = -1;
        return;
    }
    Cboard* b = boards_.findBoard(rewardBoard_);
    if (!b || b->queued) return;
    rewardRequested_ = false;
    if (!b->downloaded) {
        lastAttempt.periodNumber = -1;   // the board could not be had: no reward
        return;
    }
    uint64_t me = ws_.playerId();
    int places = ws_.config().rewardPlaces;
    for (int i = 0; i < b->topCount && i < (int)b->entries.size() && i < kMaxPlaceCheck; ++i) {
        if (b->entries[(size_t)i].playerId != me) continue;
        if (i < places) {
            CchallengeReward won;
            won.trackTitle = lastAttempt.trackTitle;
            won.artist = lastAttempt.artist;
            won.duration = lastAttempt.duration;
            won.placing = i + 1;
            won.periodNumber = lastAttempt.periodNumber;
            if (rewardPending) {
                laterRewards.push_back(won);
            } else {
                reward = won;
                rewardPending = true;
            }
            gEngine->log.print(LOG_L, "Challenge %s: placed %d", rewardBoard_.c_str(), i + 1);
            if (onPlaced) onPlaced(won);
        }
        break;
    }
    lastAttempt.periodNumber = -1;
}

bool CchallengeMgr::showPendingShipUnlock() {
    if (!rewardPending || rewardShown_ || !onShowShipReward) return false;
    rewardShown_ = true;
    onShowShipReward(reward);
    return true;
}

void CchallengeMgr::rewardSettled() {
    if (!rewardShown_) return;
    rewardShown_ = false;
    rewardPending = !laterRewards.empty();
    if (rewardPending) {
        reward = laterRewards.front();
        laterRewards.erase(laterRewards.begin());
    }
}

void CchallengeMgr::registerRecord(CsaveFile& file, const std::string& recordName) {
    // i64 attempted period, i32 duration, u8 reward pending, i32 placing,
    // i64 reward period, then the texts: attempt title, artist, reward title,
    // artist, each length-prefixed. Then, when rewards wait behind the first:
    // u32 count and per reward u32 placing, i64 period, i32 duration, title,
    // artist (older saves end before the count).
    file.addRecord(
        recordName,
        [this](Cbytes& out) {
            out.assign(29, 0);
            putU64(out.data(), (uint64_t)lastAttempt.periodNumber);
            putU32(out.data() + 8, (uint32_t)lastAttempt.duration);
            out[12] = rewardPending ? 1 : 0;
            putU32(out.data() + 13, (uint32_t)reward.placing);
            putU64(out.data() + 17, (uint64_t)reward.periodNumber);
            putU32(out.data() + 25, (uint32_t)reward.duration);
            std::string texts;
            for (const std::string* s : {&lastAttempt.trackTitle, &lastAttempt.artist, &reward.trackTitle, &reward.artist})
                CbString(*s).serialise(texts);
            out.insert(out.end(), texts.begin(), texts.end());
            if (laterRewards.empty()) return;
            uint8_t head[20];
            putU32(head, (uint32_t)laterRewards.size());
            out.insert(out.end(), head, head + 4);
            for (const CchallengeReward& r : laterRewards) {
                putU32(head, (uint32_t)r.placing);
                putU64(head + 4, (uint64_t)r.periodNumber);
                putU32(head + 12, (uint32_t)r.duration);
                out.insert(out.end(), head, head + 16);
                std::string rt;
                CbString(r.trackTitle).serialise(rt);
                CbString(r.artist).serialise(rt);
                out.insert(out.end(), rt.begin(), rt.end());
            }
        },
        [this](const uint8_t* p, size_t size) {
            if (size < 29) return false;
            std::string t[4];
            size_t off = 29;
            for (auto& s : t) {
                CbString b;
                size_t used = b.deserialise(p + off, size - off);
                if (used == 0) return false;
                s = b.str();
                off += used;
            }
            std::vector<CchallengeReward> later;
            if (size - off >= 4) {
                const uint32_t count = getU32(p + off);
                off += 4;
                if (count > kMaxLaterRewards) return false;
                for (uint32_t i = 0; i < count; ++i) {
                    if (size - off < 16) return false;
                    CchallengeReward r;
                    r.placing = (int)getU32(p + off);
                    r.periodNumber = (int64_t)getU64(p + off + 4);
                    r.duration = (int32_t)getU32(p + off + 12);
                    off += 16;
                    for (std::string* text : {&r.trackTitle, &r.artist}) {
                        CbString b;
                        size_t used = b.deserialise(p + off, size - off);
                        if (used == 0) return false;
                        *text = b.str();
                        off += used;
                    }
                    later.push_back(r);
                }
            }
            Cstaged& st = staged_;
            st.laterRewards = std::move(later);
            st.attemptPeriod = (int64_t)getU64(p);
            st.attemptDuration = (int32_t)getU32(p + 8);
            st.rewardPending = p[12] != 0;
            st.reward.placing = (int)getU32(p + 13);
            st.reward.periodNumber = (int64_t)getU64(p + 17);
            st.reward.duration = (int32_t)getU32(p + 25);
            st.attemptTitle = t[0];
            st.attemptArtist = t[1];
            st.reward.trackTitle = t[2];
            st.reward.artist = t[3];
            return true;
        },
        [this]() {
            lastAttempt.periodNumber = staged_.attemptPeriod;
            lastAttempt.duration = staged_.attemptDuration;
            lastAttempt.trackTitle = staged_.attemptTitle;
            lastAttempt.artist = staged_.attemptArtist;
            rewardPending = staged_.rewardPending;
            reward = staged_.reward;
            laterRewards = std::move(staged_.laterRewards);
        });
}
