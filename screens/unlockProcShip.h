#pragma once
// CunlockProcShipScreen: the music-generated ship of the track just finished,
// offered for cash (test-flown first if the player likes, or let go); in
// reward mode a challenge's procedural ship handed over free.
#include <cstdint>
#include <functional>
#include <string>

#include "game/musicFeed.h"
#include "game/progress/shipModule.h"
#include "screens/displayShip.h"
#include "screens/layoutScreen.h"

class CplayerShipDef;

// The track just played earns its ship: see CprocShipOffer::isDue; no
// challenge may be running.
bool unlockProcShipDue();

class CunlockProcShipScreen : public ClayoutScreen {
public:
    CunlockProcShipScreen();

    // A challenge's reward ship: free, and grown from the reward's track.
    // settled is called once the reward is taken or let go.
    void setupReward(const std::string& shipKey, const std::string& title, const std::string& artist,
                     const CtrackInfo& seed, std::function<void()> settled = {});
    int32_t procShipPrice() const;

    const std::string& shipKey() const { return key_; }
    int32_t points() const { return points_; }
    bool rewardMode() const { return rewardMode_; }
    bool alreadyOwned() const { return alreadyOwned_; }
    bool finished() const { return finished_; }
    void render() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void addDisplayedShip();
    void fillMissions(const CplayerShipDef& ship);
    void testFlight();
    void buy();
    void finishDiscard();
    void finishSwap();
    void leaveForMainMenu();

    static const CwidgetBinding kBindings[];
    Cwidget* shipPos_ = nullptr;
    Cwidget* shipManu_ = nullptr;
    Cwidget* manuTag_ = nullptr;
    Cwidget* manuDesc_ = nullptr;
    Cwidget* shipName_ = nullptr;
    Cwidget* shipModStats_ = nullptr;
    Cwidget* globalDiscoveries_ = nullptr;
    Cwidget* globalTimePlayed_ = nullptr;
    Cwidget* globalTracksCleared_ = nullptr;
    Cwidget* newProcShipTitle_ = nullptr;
    Cwidget* firstDiscover_ = nullptr;
    Cwidget* module_ = nullptr;
    Cwidget* modUnlock_ = nullptr;
    Cwidget* mission1_ = nullptr;
    Cwidget* mission2_ = nullptr;
    Cwidget* mission3_ = nullptr;
    Cwidget* mission4_ = nullptr;
    Cwidget* cash_ = nullptr;
    Cwidget* cashTitle_ = nullptr;

    std::string key_;
    CdisplayShip display_;
    int32_t points_ = 0;
    int manufacturer_ = 9;
    bool returningFromTest_ = false, discarding_ = false, askingSwap_ = false;
    bool rewardMode_ = false, alreadyOwned_ = false, finished_ = false;
    std::function<void()> rewardSettled_;   // the challenge's, in reward mode
    int rememberedShip_ = 0;
    CshipModule shownModule_;
    std::string rewardTitle_, rewardArtist_;
    CtrackInfo rewardSeed_;
};
