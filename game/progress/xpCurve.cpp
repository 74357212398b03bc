#include "game/progress/xpCurve.h"

#include <cmath>

int rankFromXP(uint64_t xp) {
    double v = std::pow(((double)xp + 1.0 + kXpCurveA) / kXpCurveA, 1.0 / kXpCurveB);
    if (!(v < 2147483647.0)) return 2147483647;
    return (int)v;
}

uint64_t xpAtRankStart(int rank) {
    if (rank <= 1) return 0;
    double v = std::pow((double)rank, kXpCurveB) * kXpCurveA - kXpCurveA;
    if (!(v < 1.8e19)) return UINT64_MAX;
    return (uint64_t)v;
}

float rankFraction(uint64_t xp) {
    int r = rankFromXP(xp);
    uint64_t a = xpAtRankStart(r), b = xpAtRankStart(r + 1);
    if (b <= a || xp <= a) return 0.0f;
    double f = (double)(xp - a) / (double)(b - a);
    return f > 1.0 ? 1.0f : (float)f;
}
