#pragma once
// CunlockChallengeShipScreen: the procedural ship won in a challenge, with the
// challenge's track and the placing. OK goes on to the ship unlock screen,
// which the challenge has set up in reward mode and which grants the ship.
#include <cstdint>
#include <string>

#include "online/challengeMgr.h"
#include "screens/displayShip.h"
#include "screens/layoutScreen.h"

class CunlockChallengeShipScreen : public ClayoutScreen {
public:
    CunlockChallengeShipScreen();
    // The challenge's prize, set before the state is entered.
    void setup(const std::string& shipKey, int placing, const std::string& title, const std::string& artist,
               int durationSeconds);
    // A won challenge's reward: the ship unlock screen is set up in reward
    // mode for the ship, then this screen is asked for. settled is called
    // once the ship is taken or let go (at once for a reward without a track).
    void openReward(const CchallengeReward& reward, std::function<void()> settled = {});
    bool alreadyOwned() const { return alreadyOwned_; }
    void render() override;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    static const CwidgetBinding kBindings[];
    Cwidget* shipPos_ = nullptr;
    Cwidget* shipName_ = nullptr;
    Cwidget* congrats_ = nullptr;
    Cwidget* title_ = nullptr;
    Cwidget* challTitle_ = nullptr;
    Cwidget* challArtist_ = nullptr;
    Cwidget* challDuration_ = nullptr;
    CdisplayShip display_;
    std::string key_, challengeTitle_, challengeArtist_;
    int placing_ = 0;
    int duration_ = 0;
    bool alreadyOwned_ = false;
};

// The music-generated ship of a challenge's track: the track's key as an
// identified open-mic track would have it, with "!" for its first character.
std::string challengeShipKey(const std::string& title, const std::string& artist, int durationSeconds);

// "01:05" below an hour, "01h 00m 00s" from an hour on.
std::string challengeDurationText(int seconds);
// "CHALLENGE WINNER" for the winner, else the placing as an ordinal between
// the two placing texts.
std::string challengePlacingText(int placing);
