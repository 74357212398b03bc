#include "game/progress/rankUpCount.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "game/progress/xpCurve.h"

namespace {
constexpr int kLastBadge = 26;

// The bar shows the rank of xp + 1, as the screens always have.
int shownRank(uint64_t xp) { return rankFromXP(xp + 1); }

float fractionIn(int rank, uint64_t xp) {
    uint64_t from = xpAtRankStart(rank), to = xpAtRankStart(rank + 1);
    if (to <= from) return 0;
    double f = ((double)xp - (double)from) / (double)(to - from);
    return (float)std::clamp(f, 0.0, 1.0);
}
}  // namespace

void CrankBar::start(uint64_t xp, uint64_t awarded) {
    startXP = shownXP = previousXP = xp;
    targetXP = xp + awarded;
    rank = shownRank(xp);
    fraction = fractionIn(rank, xp);
    rankUps = 0;
    fxTimer = 0;
}

void CrankBar::show(double eased) {
    previousXP = shownXP;
    shownXP = startXP + (uint64_t)((double)(targetXP - startXP) * eased);
    int now = shownRank(shownXP);
    rankUps = std::max(now - rank, 0);
    rank = now;
    if (rankUps > 0) fxTimer = CrankUpCount::kFxSeconds;
    fraction = fractionIn(rank, shownXP);
}

void CrankUpCount::start(uint64_t playerXP, uint64_t shipXP, uint64_t awarded, int lockedPerks) {
    delay_ = kStartDelay;
    t_ = 0;
    awarded_ = awarded;
    committed_ = false;
    player.start(playerXP, awarded);
    ship.start(shipXP, awarded);
    int gained = shownRank(player.targetXP) - shownRank(player.startXP);
    perksToShow_ = std::clamp(gained, 0, std::max(lockedPerks, 0));
    okOffered_ = gained == 0;
}

bool CrankUpCount::step(float dt) {
    player.rankUps = ship.rankUps = 0;
    delay_ -= dt;
    if (delay_ > 0) return false;
    for (CrankBar* bar : {&player, &ship}) bar->fxTimer = std::max(bar->fxTimer - dt, 0.0f);
    if (t_ < 1.0f) {
        t_ = std::min(t_ + dt / kCountSeconds, 1.0f);
        show();
        if (t_ >= 1.0f) okOffered_ = true;
    }
    return true;
}

void CrankUpCount::show() {
    double eased = std::sin((double)t_ * M_PI / 2);
    if (t_ >= 1.0f) eased = 1.0;
    player.show(eased);
    ship.show(eased);
    if (player.rankUps > 0 || ship.rankUps > 0) okOffered_ = true;
}

uint64_t CrankUpCount::awardedLeft() const {
    if (t_ >= 1.0f) return 0;
    double eased = std::sin((double)t_ * M_PI / 2);
    return (uint64_t)((double)awarded_ * (1.0 - eased));
}

bool CrankUpCount::takeSelect() {
    if (committed_) return false;
    committed_ = true;
    return true;
}

const char* rankBadgeName(int rank, char (&out)[24]) {
    std::snprintf(out, sizeof out, "ui_rank%02d.png", std::clamp(rank, 1, kLastBadge));
    return out;
}
