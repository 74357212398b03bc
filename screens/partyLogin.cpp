#include "screens/partyLogin.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "screens/config.h"
#include "screens/screenRegistry.h"
#include "screens/shipList.h"
#include "screens/shipRows.h"

namespace {
constexpr int kJoinSound = 6;
// The players' lists end with the ships of the first hundred or so; beyond
// the first eighty only favourites are listed.
constexpr int kFavouritesOnlyAfter = 80;
constexpr int kListEndsAfter = 100;

std::string slotName(const char* stem, int slot) {
    char name[32];
    snprintf(name, sizeof name, "%s%d", stem, slot + 1);
    return name;
}

}  // namespace

CpartyLoginScreen::CpartyLoginScreen() : ClayoutScreen("partyLogin.txt") {}

bool CpartyLoginScreen::onLoaded() {
    std::string missing;
    auto widget = [&](const std::string& name) {
        Cwidget* w = screen_->findWidget(name, false);
        if (!w) missing += (missing.empty() ? "" : ", ") + name;
        return w;
    };
    for (int s = 0; s < kSlots; ++s) {
        Cslot& w = slots_[s];
        w.name = widget(slotName("PlayerName", s));
        w.score = widget(slotName("Score", s));
        w.gamepad = widget(slotName("GamepadSprite", s));
        w.namePrompt = widget(slotName("NamePrompt", s));
        w.shipPrompt = widget(slotName("ShipPrompt", s));
        w.shipPos = widget(slotName("ShipPos", s));
        w.shipName = widget(slotName("ShipName", s));
        w.shipMenu = screen_->findMenu(slotName("ShipMenu", s), false);
        if (!w.shipMenu) missing += (missing.empty() ? "" : ", ") + slotName("ShipMenu", s);
    }
    if (!missing.empty()) {
        gEngine->log.print(LOG_E, "Can't bind %s: missing %s", layoutName().c_str(), missing.c_str());
        return false;
    }
    for (Cslot& w : slots_) {
        // Only the place of the ship box is used.
        if (Cgadget* marker = w.shipPos->findSpriteGadget()) marker->hidden = true;
        w.shipMenu->setFocused(true);
    }
    return true;
}

void CpartyLoginScreen::onEnter() {
    Cgame& g = *gGame;
    CgameWorld& world = g.world;
    world.session.partyMode = true;
    CpartyMgr& party = world.party;
    if (party.numJoined() == 0) {
        const CplayerShipDef* ship = g.playerShips.currentShip();
        std::string name = g.progress.playerName;
        if (name.empty()) name = std::string(gEngine->text("PlayerIdx")) + " 1";
        party.reset(name, ship ? ship->name() : std::string(), ship);
    }

    gUi->buttonBar.addButtonByKey("ChangeShip", ACTION_OPTION_Y, ICON_Y);
    gUi->buttonBar.addButtonByKey("ChangeName", ACTION_OPTION_X, ICON_X);
    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.setButtonHidden(ACTION_SELECT, true);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);

    // The set-up of a new controller hands its mapping to the first player:
    // every joined player takes his own device's bindings again.
    if (g.previousMode() == GM_CONFIG) restoreBindings();

    readyToStart_ = false;
    world.projectiles.clear();
    world.ships.clear();
    displayShips_.fill(nullptr);
    listShips_.clear();
    listOpen_.fill(false);
    nameEditSlot_ = -1;
    holdConfirmKeys_ = false;
    for (int s = 0; s < kSlots; ++s) {
        const CpartySlot& ps = party.slot(s);
        slots_[s].shipMenu->setPlayerIdx(ps.joined && ps.inputPlayer > 0 ? ps.inputPlayer : 0);
        fillShipList(s);
        setShipListOpen(s, false);
        refreshSlot(s);
    }
}

void CpartyLoginScreen::restoreBindings() {
    Cinput& input = gEngine->input;
    const CpartyMgr& party = gGame->world.party;
    for (int s = 0; s < kSlots; ++s) {
        const CpartySlot& ps = party.slot(s);
        CinputPlayer* player = ps.joined ? input.player(ps.inputPlayer) : nullptr;
        if (!player) continue;
        bool pad = player->device == DEVICE_CONTROLLER;
        if (!player->setDevice(player->device, player->joystick)) continue;
        input.mappings.applyTo(*player, pad ? input.joysticks.getName(player->joystick) : CinputMappings::kKeyboard);
    }
}

void CpartyLoginScreen::refreshSlot(int slot) {
    const CpartySlot& ps = gGame->world.party.slot(slot);
    Cslot& w = slots_[slot];
    if (!ps.joined) {
        w.name->setTextKey("PressToJoin");
        w.gamepad->setHidden(false);
        for (Cwidget* hide : {w.score, w.namePrompt, w.shipPrompt, w.shipName}) hide->setHidden(true);
        if (displayShips_[slot]) gGame->world.ships.removeShip(displayShips_[slot]);
        displayShips_[slot] = nullptr;
        return;
    }
    w.name->setText("", ps.name);
    w.score->setHidden(false);
    w.score->setText("", formatThousands(ps.score));
    w.gamepad->setHidden(true);
    for (Cwidget* show : {w.namePrompt, w.shipPrompt, w.shipName}) show->setHidden(listOpen_[slot]);
    if (w.shipMenu->itemCount() > 0 && w.shipMenu->getSelectedIdx() < 0) w.shipMenu->setSelectedIdx(0);

    // The prompts show the buttons of the player's own device.
    const CinputPlayer* player = gEngine->input.player(ps.inputPlayer);
    if (player && (player->device == DEVICE_KEYBOARD_MOUSE || player->device == DEVICE_CONTROLLER)) {
        int glyphs = CbuttonBar::PAD_GLYPHS_XBOX;
        if (player->device == DEVICE_CONTROLLER &&
            std::string(gEngine->input.joysticks.getName(player->joystick)).find("PS4") != std::string::npos)
            glyphs = CbuttonBar::PAD_GLYPHS_PLAYSTATION;
        if (Cgadget* g = w.namePrompt->findSpriteGadget("Glyph"))
            g->setSpriteName(buttonIconSprite(ICON_X, player->device, glyphs));
        if (Cgadget* g = w.shipPrompt->findSpriteGadget("Glyph"))
            g->setSpriteName(buttonIconSprite(ICON_Y, player->device, glyphs));
    }
    spawnSlotShip(slot);
}

void CpartyLoginScreen::spawnSlotShip(int slot) {
    Cgame& g = *gGame;
    const CpartySlot& ps = g.world.party.slot(slot);
    if (displayShips_[slot]) g.world.ships.removeShip(displayShips_[slot]);
    displayShips_[slot] = nullptr;
    CplayerShipDef* def = g.playerShips.findShip(ps.shipName);
    if (!def) {
        gEngine->log.print(LOG_L, "Party login: no ship %s for player %d", ps.shipName.c_str(), slot + 1);
        slots_[slot].shipName->setText("", ps.shipName);
        return;
    }
    displayShips_[slot] = addDisplayShip(*def);
    if (displayShips_[slot]) displayShips_[slot]->active = !listOpen_[slot];
    slots_[slot].shipName->setText("", def->data.displayName.empty() ? def->name() : def->data.displayName);
}

void CpartyLoginScreen::setShipListOpen(int slot, bool open) {
    Cslot& w = slots_[slot];
    listOpen_[slot] = open;
    bool joined = gGame->world.party.slot(slot).joined != 0;
    w.name->setHidden(open);
    for (Cwidget* text : {w.shipName, w.shipPrompt, w.namePrompt}) text->setHidden(open || !joined);
    if (displayShips_[slot]) displayShips_[slot]->active = !open;
    w.shipMenu->setVisible(open);
    if (!open)
        for (const CslotShip& ls : listShips_)
            if (ls.slot == slot) ls.ship->active = false;
}

void CpartyLoginScreen::fillShipList(int slot) {
    Cgame& g = *gGame;
    Cmenu* menu = slots_[slot].shipMenu;
    menu->clearItems();
    const CnamedColours& colours = g.namedColours;
    for (int k = 0; k < g.playerShips.numShips(); ++k) {
        CplayerShipDef* ship = g.playerShips.getShip(k);
        if (!ship || !shipListable(*ship)) continue;
        if (k > kFavouritesOnlyAfter && !ship->favourite) continue;
        if (k > kListEndsAfter) break;
        Cwidget* item = menu->addTextItem("PartyShipItem", ship->name(), k);
        if (!item) break;
        item->selectable = true;
        fillShipRow(item, *ship, colours.white, colours.darkGrey);
        if (Cship* shown = addDisplayShip(*ship)) {
            shown->active = false;
            listShips_.push_back({slot, shown});
        }
    }
    menu->layout();
}

bool CpartyLoginScreen::slotReleased(int slot, int action) const {
    const CpartySlot& ps = gGame->world.party.slot(slot);
    if (!ps.joined) return false;
    // The first player's presses include the buttons of the bar.
    if (ps.inputPlayer <= 0) return gUi->action() == action;
    const CinputPlayer* player = gEngine->input.player(ps.inputPlayer);
    return player && player->enabled && player->wasActionReleased(action);
}

void CpartyLoginScreen::update() {
    CtextEntry& entry = gUi->textEntry;
    if (nameEditSlot_ >= 0) {
        if (entry.active) return;   // the entry holds the input
        finishRename();
        return;
    }
    ClayoutScreen::update();
}

void CpartyLoginScreen::onUpdate() {
    Cgame& g = *gGame;
    CpartyMgr& party = g.world.party;
    int action = gUi->action();
    // The key that ended a name entry is let go after it; its release is not a press here.
    if (holdConfirmKeys_) {
        const Ckeyboard& keys = gEngine->input.keyboard;
        if (action == ACTION_SELECT || action == ACTION_BACK) {
            action = ACTION_NONE;
            holdConfirmKeys_ = false;
        } else if (!keys.isDown(SDL_SCANCODE_RETURN) && !keys.isDown(SDL_SCANCODE_KP_ENTER) &&
                   !keys.isDown(SDL_SCANCODE_ESCAPE)) {
            holdConfirmKeys_ = false;
        }
    }
    if (action == ACTION_BACK) {
        leaveForMainMenu();
        return;
    }
    if (action == ACTION_SELECT && readyToStart_) {
        g.setGameMode(GM_PARTY_GAME_TYPE, true);
        return;
    }
    if (checkJoin()) return;

    // The other players' lists follow their own devices.
    for (int s = 1; s < kSlots; ++s) {
        Cmenu* menu = slots_[s].shipMenu;
        if (listOpen_[s] && menu->playerIdx > 0)
            menu->update(gEngine->input.uiInputFor(menu->playerIdx), gUi->inputHeld());
    }

    for (int s = 0; s < kSlots; ++s) {
        if (!listOpen_[s] && slotReleased(s, ACTION_OPTION_X)) {
            beginRename(s);
            return;
        }
    }
    for (int s = 0; s < kSlots; ++s) {
        if (!listOpen_[s] && slotReleased(s, ACTION_OPTION_Y)) {
            setShipListOpen(s, true);
            break;
        }
    }

    g.world.ships.update((float)gEngine->frameTime);
    placeShips();

    for (int s = 0; s < kSlots; ++s) {
        if (!listOpen_[s]) continue;
        Cwidget* chosen = slots_[s].shipMenu->highlightedItem();
        if (!chosen) continue;
        CplayerShipDef* ship = g.playerShips.getShip((int)chosen->value);
        if (ship) {
            CpartySlot& ps = party.slot(s);
            ps.shipName = ship->name();
            ps.ship = ship;
        }
        setShipListOpen(s, false);
        refreshSlot(s);
    }

    bool anyOpen = false;
    for (bool open : listOpen_) anyOpen = anyOpen || open;
    if (!readyToStart_) {
        int mode = g.mode();
        bool partyState = g.world.session.partyMode && (mode == GM_PARTY_LOGIN || mode == GM_PARTY_GAME_TYPE);
        if (partyState && party.numJoined() >= 2 && !anyOpen) {
            readyToStart_ = true;
            gUi->buttonBar.setButtonHidden(ACTION_SELECT, false);
        }
    } else if (anyOpen) {
        readyToStart_ = false;
        gUi->buttonBar.setButtonHidden(ACTION_SELECT, true);
    }
}

bool CpartyLoginScreen::checkJoin() {
    Cgame& g = *gGame;
    Cinput& input = gEngine->input;
    CpartyMgr& party = g.world.party;
    int joystick = input.joysticks.findJoystickWithButtonDown();
    if (joystick < 0 || input.findPlayerWithJoystick(joystick) >= 0) return false;
    // A slot and an input player must both be free before anything changes.
    int slot = party.numJoined();
    int free = input.findFreePlayer();
    if (slot >= kSlots || free < 0) return false;

    CinputPlayer* player = input.player(free);
    if (!player->setDevice(DEVICE_CONTROLLER, joystick)) return false;
    player->enabled = true;
    player->clearActions();
    gUi->playSound(kJoinSound);
    const std::string padName = input.joysticks.getName(joystick);
    bool mapped = input.mappings.applyTo(*player, padName);
    gEngine->log.print(LOG_L, mapped ? "Found mappings for Joystick" : "Didn't find mappings for Joystick - Need to configure");

    const CplayerShipDef* ship = g.playerShips.currentShip();
    char name[64];
    snprintf(name, sizeof name, "%s %d", gEngine->text("PlayerIdx"), slot + 1);
    party.join(name, ship ? ship->name() : std::string(), free);
    party.slot(slot).ship = ship;
    slots_[slot].shipMenu->setPlayerIdx(free);
    refreshSlot(slot);
    if (!mapped) {
        // The new controller is set up first; its configuration comes back here.
        if (CconfigScreen* config = screens::get<CconfigScreen>())
            config->open(CconfigFlow::DEVICE_JOYSTICK, joystick, GM_PARTY_LOGIN, GM_PARTY_LOGIN);
        else
            g.setGameMode(GM_CONFIG, true);
        return true;
    }
    return false;
}

void CpartyLoginScreen::beginRename(int slot) {
    Cwidget* box = slots_[slot].name;
    CtextEntry& entry = gUi->textEntry;
    nameEditSlot_ = slot;
    entry.placeBox(box->x, box->y, box->rect().w);
    entry.shadow = gUi->findShadowStyle("SimpleOutline", false);
    entry.begin(kMaxNameChars, gGame->world.party.slot(slot).name);
}

void CpartyLoginScreen::finishRename() {
    CtextEntry& entry = gUi->textEntry;
    int slot = nameEditSlot_;
    nameEditSlot_ = -1;
    // A name typed empty keeps the one the player had.
    if (!entry.cancelled && !entry.text.str().empty()) {
        gGame->world.party.slot(slot).name = entry.text.str();
        refreshSlot(slot);
    }
    entry.finished = false;
    entry.cancelled = false;
    entry.end();
    holdConfirmKeys_ = true;
    screen_->resetHighlights();
}

void CpartyLoginScreen::placeShips() {
    CgameWorld& world = gGame->world;
    world.fitCamera();
    for (int s = 0; s < kSlots; ++s) {
        Cwidget* box = slots_[s].shipPos;
        if (displayShips_[s]) placeDisplayShip(displayShips_[s], box->x, box->y, box->height * box->uiScale);
    }
    std::array<int, kSlots> shown{};
    for (const CslotShip& ls : listShips_) {
        Cmenu* menu = slots_[ls.slot].shipMenu;
        int n = shown[ls.slot]++;
        Cwidget* item = menu->item((size_t)n);
        if (!listOpen_[ls.slot] || !item) {
            ls.ship->active = false;
            continue;
        }
        // The ship stands at the row's left end, and only while its row is inside the list's band.
        const float rowHeight = item->height * item->uiScale;
        const float x = item->x - item->width * item->uiScale * 0.36f;
        placeDisplayShip(ls.ship, x, item->y, rowHeight);
        const Crect band = menu->areaRect();
        ls.ship->active = item->shown() && item->y >= band.y && item->y <= band.y + band.h;
    }
}

void CpartyLoginScreen::leaveForMainMenu() {
    Cgame& g = *gGame;
    Cinput& input = gEngine->input;
    CpartyMgr& party = g.world.party;
    // Leaving the set-up ends the party: a later game is a game of one.
    for (int s = 0; s < kSlots; ++s) {
        const CpartySlot& ps = party.slot(s);
        if (ps.joined && ps.inputPlayer > 0)
            if (CinputPlayer* player = input.player(ps.inputPlayer)) player->enabled = false;
        slots_[s].shipMenu->setPlayerIdx(0);
    }
    party.clear();
    g.world.session.partyMode = false;
    g.world.perks.setPartyOverride(false);
    g.world.ships.clear();
    displayShips_.fill(nullptr);
    listShips_.clear();
    g.setGameMode(GM_MAIN_MENU, true);
}

void CpartyLoginScreen::render() {
    ClayoutScreen::render();
    std::vector<Cship*> ships(displayShips_.begin(), displayShips_.end());
    for (const CslotShip& ls : listShips_) ships.push_back(ls.ship);
    drawShips(ships);
}
