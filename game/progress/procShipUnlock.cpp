#include "game/progress/procShipUnlock.h"

#include <algorithm>

#include "game/gameTypes.h"

bool CprocShipOffer::isDue(int gameType, float completion, float trackSeconds, bool alreadyOwned) {
    return gameType == GAMETYPE_STANDARD && completion >= 1.0f && trackSeconds >= kMinTrackSeconds && !alreadyOwned;
}

int32_t CprocShipOffer::price(int64_t cash, int manufacturer, int32_t points, bool rewardMode) {
    if (rewardMode) return 0;
    cash = std::max<int64_t>(cash, 0);
    struct Cband { int64_t below, base, perPoint, floor; };
    static const Cband kBands[] = {
        {100, 0, 1, 0}, {1000, 100, 5, 100}, {10000, 1000, 10, 500}, {100000, 5000, 50, 7500}, {INT64_MAX, 50000, 500, 15000},
    };
    const Cband* band = &kBands[0];
    while (cash >= band->below) ++band;
    int64_t base = band->base;
    if (manufacturer == 4) base /= 2;
    int64_t result = base;
    if (points > 20) result = std::max(base - band->perPoint * points, std::min(band->floor, base));
    result = std::max<int64_t>(result, 0);
    return (int32_t)(result + cash % 10);
}
