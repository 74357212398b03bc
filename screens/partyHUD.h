#pragma once
// CpartyHud ("partyHUD.txt"): the HUD of a party game, in place of the HUD of
// a game of one. A panel per team (name, score, multiplier, lives, the weapon
// and colour bars, the perk weapons in stock), the leader's crown, the
// dare-devil, survivor and Carnage meters that follow each ship, the Tag
// boxes, the boss-rush, Tag and survival timers and the football score.
// It belongs to no state: the play session enters, steps and draws it while
// the party flag is set (attach), and tells it when a team's weapon or
// colour level changes.
#include <array>

#include "engine/maths.h"
#include "engine/render/renderTypes.h"
#include "screens/layoutScreen.h"

class CgameWorld;
class Cgadget;

class CpartyHud : public ClayoutScreen {
public:
    static constexpr int kTeams = 4;
    static constexpr int kWeaponRows = 8;

    CpartyHud();
    ~CpartyHud() override;

    // Gives the session of this world the HUD's enter, step, draw and flashes.
    static void attach(CgameWorld& world, CpartyHud* hud);

    void render() override;
    void flashWeaponLevel(int player);
    void flashColourLevel(int player);
    // The display-plane point under the centre of a team's panel.
    Cvec2 playerScreenPos(int team) const;

    int leader() const { return leader_; }
    Cwidget* panel(int team) const { return team >= 0 && team < kTeams ? panels_[team] : nullptr; }
    Cwidget* winner(int team) const { return team >= 0 && team < kTeams ? winners_[team] : nullptr; }
    Cwidget* dareDevil(int player) const { return at(dareDevil_, player); }
    Cwidget* survivor(int player) const { return at(survivor_, player); }
    Cwidget* carnageHealth(int player) const { return at(carnage_, player); }
    Cwidget* tagBox(int player) const { return at(tagBox_, player); }
    Cwidget* footballScore() const { return footballScore_; }
    Cwidget* musicBar() const { return musicBar_; }
    // The track's progress marker (Standard games): on the music bar's
    // progress line, below the track's title.
    Crect progressMarker() const;
    // The perk-weapon stock slots (2..9) of a team's weapon rows, in row order.
    int weaponRows(std::array<int, kWeaponRows>& slots) const;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    static Cwidget* at(const std::array<Cwidget*, kTeams>& list, int i) { return i >= 0 && i < kTeams ? list[i] : nullptr; }
    void bindPlayerWidgets();
    void updateLeader();
    void updateTeams(float dt);
    void updateMeters(int player, int team);
    void updateTimers();
    void updateTagBoxes(float dt);
    float barFill(int team, int value, float flash, float from) const;
    void drawLives(int team) const;
    void drawWeapons(int team) const;
    Cgadget* gadgetAt(Cwidget* w, const char* name, Cvec2& at) const;

    std::array<Cwidget*, kTeams> normalPanels_{};
    std::array<Cwidget*, 2> footballPanels_{};
    std::array<Cwidget*, kTeams> panels_{};
    std::array<Cwidget*, kTeams> winners_{};
    std::array<Cwidget*, kTeams> dareDevil_{}, survivor_{}, carnage_{}, tagBox_{};
    Cwidget* musicBar_ = nullptr;
    Cwidget* bossRushTimer_ = nullptr;
    Cwidget* bossRushWave_ = nullptr;
    Cwidget* tagTimer_ = nullptr;
    Cwidget* tagTimerTitle_ = nullptr;
    Cwidget* survivalTimer_ = nullptr;
    Cwidget* footballScore_ = nullptr;
    Cvec2 bossRushHome_, tagHome_;

    std::array<float, kTeams> weaponFlash_{}, colourFlash_{};
    std::array<float, kTeams> weaponFrom_{}, colourFrom_{};
    std::array<float, kTeams> meterOffset_{};
    int leader_ = 0;
    float progress_ = 0;
    float tagPulse_ = 0;
    bool firstStep_ = false;
};
