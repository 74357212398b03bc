#pragma once
// CworkshopGlue: the game's side of the workshop. It starts the sync of the
// subscribed ships from the main menu, hands a ship from the ship editor to
// the engine's workshop client, imports the ships the client has checked,
// and turns the client's progress into the status line, the loading
// indicator, the result message and the legal-agreement page.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "engine/ui/widget.h"
#include "engine/webMessage.h"

class CplayerShipDef;
class CplayerShipMgr;
struct CworkshopShipItem;

class CworkshopGlue {
public:
    static constexpr const char* kAgreementPage = "https://steamcommunity.com/sharedfiles/workshoplegalagreement";

    // From the main menu: once a run, shows the status line and starts the sync.
    void startSubscribedSync();
    // From the ship editor: publishes a ship with its preview picture (PNG).
    // While the sync runs the publish waits for it (the client does one
    // thing at a time).
    // Publishes asked for meanwhile queue up and go one after another, each
    // told on its own. The ship is recorded as a final version only when its
    // publish succeeds.
    void publishShip(CplayerShipDef& ship, const Cbytes& preview, bool finalVersion);
    // Every game update while active.
    void updateStatus();
    void render();

    // A checked workshop ship into the hangar: one with the same published id
    // is replaced, a name that clashes is made unique. False when the data
    // block can't be read.
    static bool importShip(CplayerShipMgr& hangar, const CworkshopShipItem& item);

    bool active = false;
    int lastState = 0;
    std::string shipName;   // the ship being published
    bool agreementNeeded = false, errorShown = false, publishing = false, syncDone = false;
    bool syncStarted = false;
    CwidgetPtr status;   // the "WorkshopStatus" line
    bool publishWaiting() const { return !waiting_.empty(); }

private:
    void showStatus(bool show);
    void startPublish();
    void reportPublish();
    struct Cwaiting;
    std::deque<std::shared_ptr<Cwaiting>> waiting_;   // publishes held until the client rests
    std::shared_ptr<Cwaiting> current_;                // the publish under way
};
