#pragma once
// When a finished track offers its music-generated ship, and what it costs.
#include <cstdint>

struct CprocShipOffer {
    static constexpr float kMinTrackSeconds = 120.0f;

    // A Standard game that reached the end of a track of two minutes or more,
    // whose ship the player does not own yet.
    static bool isDue(int gameType, float completion, float trackSeconds, bool alreadyOwned);

    // The price by the player's cash band; makers of index 4 sell at half.
    // Ships of more than 20 points get a discount down to the band's floor,
    // but a discount never makes a ship dearer than its base. The last digit
    // of the player's cash is added. Free in reward mode.
    static int32_t price(int64_t cash, int manufacturer, int32_t points, bool rewardMode);
};
