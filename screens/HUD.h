#pragma once
// CHUD: the HUD of play outside party mode ("HUD.txt"). It shows the team's
// score and multiplier, the best score to beat, lives, cash, the two weapon
// power bars, the special weapons with their stock, the daredevil and
// survivor meters that follow the ship, the boss-rush and survival clocks,
// a logo that pulses with the music, the track's bar, and up to seven rows
// racing the score against recorded rival runs of the track.
#include <array>
#include <cstdint>
#include <string>

#include "engine/render/renderTypes.h"
#include "screens/layoutScreen.h"

struct Ccolour;

class CHUD : public ClayoutScreen, public ChudSlot {
public:
    static constexpr int kReplayRows = 7;
    static constexpr int kWeaponWidgets = 4;
    static constexpr float kPulseScale = 1.5f;     // the score grows to 1 + this at a pulse
    static constexpr float kRowGap = 50.0f;        // rival rows never closer, layout pixels
    static constexpr float kRowEdge = 100.0f;      // rival rows stay this far from the frame's top and foot
    static constexpr float kBossTimerGrow = 20.0f; // seconds left when the boss-rush timer starts growing

    CHUD();
    ~CHUD() override;

    bool loadHud() override { return load(); }
    void enterHud() override { enter(); }
    void stepHud() override { update(); }
    void drawHud() override { render(); }
    // The score changed: new text, a pulse, and a higher best to beat.
    void refreshScore() override;
    void refreshCash() override;
    // The next track of a radio or album run: its record is the best to beat.
    void resetBest() override;
    // The rival rows from the start (ranks in order, one row update).
    void showReplayRows();

    uint64_t bestToBeat() const { return best_; }
    // Where the track's bar (title and time left) stands; cards shown in play keep clear of it.
    Crect trackBarRect() const;
    float highestProgress() const { return highestProgress_; }
    Cwidget* replayRow(int i) const { return rows_[i].widget; }
    float rowTargetY(int i) const { return rows_[i].targetY; }
    // Row indices by place, leader first.
    const std::array<int, kReplayRows>& displayOrder() const { return order_; }
    int numRows() const { return numRows_; }
    // The special weapons shown, by stock slot (2..9), in widget order; -1 past the last.
    const std::array<int, kWeaponWidgets>& weaponSlots() const { return weaponSlots_; }
    // Icons drawn for a stock, and the "x%d" text beside them.
    static int weaponIcons(int stock) { return stock <= 0 ? 0 : stock <= 5 ? stock : 1; }
    static std::string weaponNumText(int stock);
    // The boss-rush timer's text, scale and drop below its home for a time left.
    static std::string bossTimerText(float seconds);
    static float bossTimerScale(float seconds);
    static float bossTimerDrop(float seconds);

private:
    void pulseScore();
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void render() override;

    void setScoreText();
    void setBestText();
    void showWeapons();
    void stepBars(float dt);
    void stepMeters();
    void stepTimers();
    void stepLogo();
    void updateRows();
    void placeRows();
    void drawLives();
    void drawProgressMarker();
    void drawWeapons();
    void sprayBarSparks();
    bool replayRowsRun() const;

    static const CwidgetBinding kBindings[];
    Cwidget* score_ = nullptr;
    Cwidget* multiplier_ = nullptr;
    Cwidget* lives_ = nullptr;
    Cwidget* cash_ = nullptr;
    Cwidget* logo_ = nullptr;
    Cwidget* highScore_ = nullptr;
    Cwidget* musicBar_ = nullptr;
    Cwidget* powerBar_ = nullptr;
    Cwidget* colourBar_ = nullptr;
    Cwidget* dareDevil_ = nullptr;
    Cwidget* survivor_ = nullptr;
    Cwidget* movingMul_ = nullptr;
    Cwidget* bossRushWave_ = nullptr;
    Cwidget* bossRushTimer_ = nullptr;
    Cwidget* survivalTimer_ = nullptr;
    std::array<Cwidget*, kWeaponWidgets> weapons_{};
    std::array<Cwidget*, kWeaponWidgets> weaponNums_{};
    std::array<int, kWeaponWidgets> weaponSlots_{};

    struct Crow {
        Cwidget* widget = nullptr;
        float homeY = 0;
        int64_t score = 0;
        float targetY = 0;
    };
    std::array<Crow, kReplayRows> rows_{};
    std::array<int, kReplayRows> order_{};
    int numRows_ = 0;

    uint64_t best_ = 0;
    float storedProgress_ = 0;   // the track record's, kept with the best
    float pulse_ = 0;
    std::array<float, 2> barTimer_{};
    std::array<int, 2> barPrevious_{};
    float highestProgress_ = 0;
    float meterOffset_ = 0;
    bool fullPower_ = false;
    float bossTimerHomeY_ = 0;
};
