#pragma once
// CrankUpCount: the XP a play session earned, counted up into the player's
// and the current ship's totals over three seconds after a short delay, rank
// by rank. The screen shows what it holds; it commits nothing itself.
#include <cstdint>

struct CrankBar {
    uint64_t startXP = 0, targetXP = 0, shownXP = 0, previousXP = 0;
    int rank = 1;           // rank of the shown XP
    float fraction = 0;     // progress through that rank, 0..1
    int rankUps = 0;        // ranks reached on the latest step (all of them when several pass at once)
    float fxTimer = 0;      // seconds left of the celebration of the latest rank-up

    void start(uint64_t xp, uint64_t awarded);
    void show(double eased);
};

class CrankUpCount {
public:
    static constexpr float kStartDelay = 0.8f;
    static constexpr float kCountSeconds = 3.0f;
    // A rank-up is celebrated around its badge for this long (the screen is
    // usually left well before).
    static constexpr float kFxSeconds = 50.0f;

    // lockedPerks: perks available and still locked; at most that many are
    // unlocked, one per rank gained.
    void start(uint64_t playerXP, uint64_t shipXP, uint64_t awarded, int lockedPerks);
    // One update step; false while the start delay runs.
    bool step(float dt);
    // The first Select commits; later ones (while the screen fades) do not.
    bool takeSelect();

    bool counting() const { return t_ < 1.0f; }
    // "OK" is offered at once when no rank is crossed, else at the first
    // rank-up or when the count ends.
    bool okOffered() const { return okOffered_; }
    // What is left of the award to show beside the totals.
    uint64_t awardedLeft() const;
    uint64_t awarded() const { return awarded_; }
    int perksToShow() const { return perksToShow_; }
    bool committed() const { return committed_; }

    CrankBar player, ship;

private:
    void show();

    float delay_ = kStartDelay;
    float t_ = 0;
    uint64_t awarded_ = 0;
    int perksToShow_ = 0;
    bool okOffered_ = false;
    bool committed_ = false;
};

// The badge of a rank: "ui_rank%02d.png", ranks above 26 keep badge 26.
const char* rankBadgeName(int rank, char (&out)[24]);
