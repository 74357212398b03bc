// The calls that the game's services make into screens, joined once when the
// screens are made (the services know no screen).
#include "game/game.h"
#include "screens/screenRegistry.h"
#include "screens/unlockChallengeShip.h"

void connectScreens(Cgame& game) {
    // A challenge won: its ship is shown on the challenge-ship unlock screen,
    // which hands over to the ship unlock screen in reward mode.
    for (CchallengeMgr* challenge : {&game.online.dailyChallenge, &game.online.lightningChallenge})
        challenge->onShowShipReward = [challenge](const CchallengeReward& reward) {
            if (CunlockChallengeShipScreen* unlock = screens::get<CunlockChallengeShipScreen>())
                unlock->openReward(reward, [challenge] { challenge->rewardSettled(); });
        };
}
