#include "game/workshopGlue.h"

#include "engine/bString.h"
#include "engine/engine.h"
#include "game/game.h"
#include "services/workshop.h"

void CworkshopGlue::startSubscribedSync() {
    if (syncStarted) return;
    syncStarted = true;
    status = gEngine->ui.createWidget("WorkshopStatus");
    if (status) {
        status->uiScale = gUi->scale();
        status->x = gEngine->screenWidth * 0.5f;
        status->y = (float)gEngine->screenHeight - 40.0f;
    }
    active = true;
    lastState = Cworkshop::STATE_SYNCING;
    showStatus(true);
    gEngine->workshop.requestSubscribedList();
}

struct CworkshopGlue::Cwaiting {
    CworkshopShip ship;
    Cbytes preview;
    std::string shipName;
    bool finalVersion = false;
};

void CworkshopGlue::publishShip(CplayerShipDef& ship, const Cbytes& preview, bool finalVersion) {
    auto next = std::make_shared<Cwaiting>();
    CworkshopShip& out = next->ship;
    out.dataBlock.resize(CplayerShipData::kBlockSize);
    // The copy sent says whether it is a final version; the ship itself says so once it is out.
    const uint8_t wasFinal = ship.data.publishedFinal;
    ship.data.publishedFinal = finalVersion ? 1 : 0;
    ship.writeDataBlock(out.dataBlock.data());
    ship.data.publishedFinal = wasFinal;
    out.hullImage = ship.hullImage;
    out.title = ship.data.displayName.empty() ? ship.name() : ship.data.displayName;
    out.description = ship.data.description;
    out.published = ship.published;
    out.publicFlag = ship.publicFlag;
    out.publishedId = ship.publishedId;
    next->preview = preview;
    next->shipName = ship.name();
    next->finalVersion = finalVersion;
    active = true;
    publishing = true;
    waiting_.push_back(std::move(next));
    if (current_ || gEngine->workshop.state != Cworkshop::STATE_IDLE) {
        gEngine->log.print(LOG_L, "Workshop: publish of %s waits for the sync", ship.name().c_str());
        gEngine->ui.loadingIndicator.show(gEngine->text(gEngine->workshop.statusText));
        return;
    }
    startPublish();
}

void CworkshopGlue::startPublish() {
    current_ = std::move(waiting_.front());
    waiting_.pop_front();
    shipName = current_->shipName;
    Cworkshop& ws = gEngine->workshop;
    ws.publishShip(current_->ship, current_->preview);
    // Seen as publishing even when the client stopped at once: the next
    // update reports how it ended.
    lastState = Cworkshop::STATE_PUBLISHING;
    gEngine->ui.loadingIndicator.show(gEngine->text(ws.statusText));
}

void CworkshopGlue::showStatus(bool show) {
    if (!status) return;
    status->setHidden(false);
    status->startEffect(show ? EFFECT_FADE_IN : EFFECT_FADE_OUT, 1, nullptr, 0, show ? 0.2f : 0.3f);
}

void CworkshopGlue::updateStatus() {
    if (!active) return;
    Cworkshop& ws = gEngine->workshop;
    if (status) status->setText("Status", gEngine->text(ws.statusText));

    // The player has closed the message that the agreement is needed: show it.
    if (agreementNeeded && errorShown && !gGame->warningOverlay.visible) {
        agreementNeeded = errorShown = false;
        if (ISteamFriends* friends = SteamFriends()) friends->ActivateGameOverlayToWebPage(kAgreementPage);
    }
    if (lastState == Cworkshop::STATE_PUBLISHING && gEngine->ui.loadingIndicator.showing)
        gEngine->ui.loadingIndicator.text = gEngine->text(ws.statusText);

    if (ws.state != lastState) {
        lastState = ws.state;
        if (ws.state == Cworkshop::STATE_IDLE && current_) {
            reportPublish();
        } else if (ws.state == Cworkshop::STATE_IDLE) {
            showStatus(false);
            gGame->playerShips.applyPendingModuleGrants(gGame->progress.modules);
            syncDone = true;
        } else if (ws.state == Cworkshop::STATE_SYNCING) {
            showStatus(true);
        }
    }
    // A publish that waited goes once the client rests and the last result has been read.
    if (!waiting_.empty() && !current_ && ws.state == Cworkshop::STATE_IDLE && !gGame->warningOverlay.visible)
        startPublish();
}

void CworkshopGlue::reportPublish() {
    Cworkshop& ws = gEngine->workshop;
    gEngine->ui.loadingIndicator.hide();
    const std::shared_ptr<Cwaiting> done = std::move(current_);
    publishing = !waiting_.empty();
    if (ws.needsAgreement) agreementNeeded = true;
    CplayerShipDef* ship = gGame->playerShips.findShip(done->shipName);
    if (ws.hasError) {
        std::string message = ws.errorText.rfind("WS_", 0) == 0 ? gEngine->text(ws.errorText) : ws.errorText;
        gGame->warningOverlay.setTitle(gEngine->text("WS_PublishError"));
        gGame->warningOverlay.setMessage(message.c_str());
        gGame->warningOverlay.setVisible(true);
        gGame->sfx.play(7, 1.0f);
        errorShown = true;
        // A final version that did not go out is no final version: it may be
        // published again.
        if (ship && ship->isCustom() && !ship->finished) ship->data.publishedFinal = 0;
        return;
    }
    if (ship) {
        ship->published = true;
        if (ws.publishedId) ship->publishedId = ws.publishedId;
        if (done->finalVersion) ship->data.publishedFinal = 1;
        // A final version is no longer a work in progress.
        ship->finishDef();
        gGame->saveRequested = 1;
    }
    gGame->warningOverlay.setTitle(gEngine->text("WS_PublishSuccess1"));
    gGame->warningOverlay.setMessage(gEngine->text("WS_PublishSuccess2"));
    gGame->warningOverlay.setVisible(true);
    gGame->sfx.play(6, 1.0f);
}

void CworkshopGlue::render() {
    if (status && status->visible()) status->render();
}

bool CworkshopGlue::importShip(CplayerShipMgr& hangar, const CworkshopShipItem& item) {
    auto ship = std::make_unique<CplayerShipDef>();
    if (!ship->readDataBlock(item.dataBlock.data(), item.dataBlock.size())) return false;
    ship->clearImportFlag();
    if (!item.title.empty()) {
        const size_t field = CplayerShipData::kDisplayNameBytes - 1;
        ship->data.displayName = item.title.substr(0, utf8CutPoint(item.title, field));
    }
    ship->data.description = item.description.substr(0, utf8CutPoint(item.description, CplayerShipData::kDescriptionBytes - 1));
    ship->hullImage = item.hullImage;
    if (ship->hullImage.empty() && hangar.getShip(0)) ship->hullSprite = hangar.getShip(0)->hullSprite;
    ship->published = true;
    ship->publishedId = item.publishedId;
    ship->ownerId = item.owner;
    return hangar.addImportedShip(std::move(ship)) != nullptr;
}
