#include "screens/shipEditor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"
#include "game/enemies/playerShipDefs.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "game/pilotControls.h"
#include "game/progress/playerShipDef.h"
#include "screens/confirm.h"
#include "screens/desktopDialog.h"
#include "screens/hangar.h"
#include "screens/screenRegistry.h"
#include "screens/shipList.h"

namespace {
constexpr int kActionBack = 2, kActionTest = 7, kActionMode = 8, kActionHelp = 14;
constexpr int kRefusedSound = 7;
constexpr int kRowPublishWip = 0, kRowPublishFinal = 1, kRowLoadImage = 2, kRowName = 3, kRowSize = 4;
constexpr float kCaptureDelay = 0.5f;
constexpr float kMarkerScale = 1.5f;
constexpr float kAngleLineLength = 500.0f;

// Each gun mount's four turret slots (pairs fire mirrored: the odd slot of a
// pair uses the negated angle).
constexpr int kMountSlots[4][4] = {{0, 4, 6, 8}, {1, 5, 7, 9}, {2, 10, 12, 14}, {3, 11, 13, 15}};

void saveRequested() { gGame->saveRequested = 1; }

std::vector<uint8_t> blockOf(const CplayerShipDef& ship) {
    std::vector<uint8_t> block(CplayerShipData::kBlockSize);
    ship.writeDataBlock(block.data());
    return block;
}

std::vector<uint8_t> missionBytes(const std::vector<CshipMission>& missions) {
    std::vector<uint8_t> out(missions.size() * CshipMission::kRecordSize);
    for (size_t i = 0; i < missions.size(); ++i) missions[i].write(out.data() + i * CshipMission::kRecordSize);
    return out;
}

// The elements of a live ship that the markers point at: the k-th mount is the
// k-th element with a turret, the k-th engine the k-th element of kind 2.
const Celement* nthElement(const Cship& ship, int kind, int k) {
    for (const Celement& e : ship.elements)
        if (e.kind == kind && k-- == 0) return &e;
    return nullptr;
}

Cvec2 onScreen(const Cship& ship, const Celement& e) {
    Cvec2 p = ship.elementPos(e);
    return gGame->world.camera.planeToScreen(Cvec3(p.x, p.y, ship.pos.z));
}
}  // namespace

const CwidgetBinding CshipEditorScreen::kBindings[] = {
    {&CshipEditorScreen::paramMenu_, "ParamMenu"},
    {&CshipEditorScreen::menuTop_, "MenuTopMarker"},
    {&CshipEditorScreen::menuBottom_, "MenuBottomMarker"},
    {&CshipEditorScreen::grabTop_, "GrabTopMarker"},
    {&CshipEditorScreen::grabBottom_, "GrabBottomMarker"},
    {&CshipEditorScreen::wip_, "WIP"},
    {&CshipEditorScreen::editPoints_, "EditPoints"},
    {&CshipEditorScreen::shipName_, "ShipName"},
    {&CshipEditorScreen::shipSpot_, "ShipSpot"},
    {&CshipEditorScreen::previewArea_, "Preview"},
    {&CshipEditorScreen::tabBasic_, "Basic"},
    {&CshipEditorScreen::tabFiringAngles_, "FiringAngles"},
    {&CshipEditorScreen::tabTurretPositions_, "TurretPositions"},
    {&CshipEditorScreen::tabShipFlares_, "ShipFlares"},
    {&CshipEditorScreen::tabEnginePositions_, "EnginePositions"},
    {&CshipEditorScreen::tabEngineHue_, "EngineHue"},
    {&CshipEditorScreen::tabEngineRotationAndScale_, "EngineRotationAndScale"},
    {&CshipEditorScreen::tabMissions_, "Missions"},
};

CshipEditorScreen::CshipEditorScreen() : ClayoutScreen("shipEditor.txt", kBindings) {}

CshipEditorScreen::~CshipEditorScreen() {
    if (previewHookSet_ && gGame) gGame->music.editorPreviewActive = nullptr;
}

// ---- the menus shared with other screens ----

void CshipEditorScreen::syncMenusFromShip(bool symmetry) {
    if (!shipData) {
        if (gEngine) gEngine->log.print(LOG_L, "Ship editor: no ship to set the menus from");
        return;
    }
    menus.syncFromShip(*shipData);
    if (symmetry) basicMode = CshipEditMenus::isSymmetric(*shipData);
}

void CshipEditorScreen::updatePoints() { points = menus.points(); }

void CshipEditorScreen::applyMenusToShip() {
    if (shipData) menus.applyToShip(*shipData, basicMode);
}

// ---- loading and entering ----

bool CshipEditorScreen::onLoaded() {
    tabs_ = {tabBasic_,          tabFiringAngles_, tabTurretPositions_,        tabShipFlares_,
             tabEnginePositions_, tabEngineHue_,   tabEngineRotationAndScale_, tabMissions_};
    for (Cwidget* w : {menuTop_, menuBottom_, grabTop_, grabBottom_, wip_}) w->setHidden(true);
    shipSpot_->setHidden(true);
    previewArea_->setHidden(true);
    group_ = 0;
    paramMenu_->arrowChoice = true;
    paramMenu_->wrap = false;
    // The preview shows the ship at rest: the music's bands read 0.5 meanwhile.
    gGame->music.editorPreviewActive = [this] { return gGame->mode() == GM_SHIP_EDITOR && previewRunning(); };
    previewHookSet_ = true;
    tintTabs();
    return true;
}

void CshipEditorScreen::open(int shipIndex, int hangarBackState) {
    CplayerShipMgr& hangar = gGame->playerShips;
    if (shipIndex >= 0 && shipIndex < (int)hangar.ships.size()) hangar.setCurrentShipIdx(shipIndex);
    returning_ = false;
    hangarBackState_ = hangarBackState;
    gGame->setGameMode(GM_SHIP_EDITOR, true);
}

CplayerShipDef* CshipEditorScreen::editedShip() const { return gGame->playerShips.currentShip(); }

void CshipEditorScreen::onEnter() {
    addButtons();
    if (!returning_) {
        captureTimer_ = dialogTimer_ = 0;
        capturePending_ = publishing_ = hullChanged_ = missionsChanged_ = false;
        confirm_ = CONFIRM_NONE;
        nameEntry_ = false;
        textEntryRow_ = -1;
        selectShip();
        CplayerShipDef* ship = editedShip();
        if (ship) {
            syncMenusFromShip(true);
            shipName_->setText("TextName", ship->data.displayName);
            imageBackup_ = ship->hullImage;
            hullSpriteBackup_ = ship->hullSprite;
            hullScaleBackup_ = ship->hullScale;
        }
        addButtons();   // the mode follows the ship's symmetry
        setGroup(0);
    } else {
        SDL_SetRelativeMouseMode(SDL_FALSE);
        forgetLiveShip();
        selectShip();
        returning_ = false;
        showGroup();
    }
    updatePoints();
    gGame->world.projectiles.clear();
    gUi->tutorials.show("Tut_ShipEditHelp1");
    gUi->tutorials.show("Tut_ShipEditHelp2");
}

void CshipEditorScreen::addButtons() {
    CbuttonBar& bar = gUi->buttonBar;
    bar.clear();
    bar.addButtonByKey("WorkshopHelp", kActionHelp, 4);
    bar.addButtonByKey(basicMode ? "AdvancedMode" : "BasicMode", kActionMode, 3);
    bar.addButtonByKey("TestShip", kActionTest, 2);
    bar.addButtonByKey("BACK", kActionBack, 1);
}

void CshipEditorScreen::selectShip() {
    CshipMgr& ships = gGame->world.ships;
    ships.clear();
    live_ = nullptr;
    CplayerShipDef* ship = editedShip();
    shipData = ship ? &ship->data : nullptr;
    if (!ship) {
        gEngine->log.print(LOG_L, "Ship editor: no current ship");
        return;
    }
    if (!returning_) backup_ = blockOf(*ship);
    refreshLiveShip();
}

void CshipEditorScreen::forgetLiveShip() {
    if (live_) gGame->world.ships.removeShip(live_);
    live_ = nullptr;
    liveBlock_.clear();
}

// The live ship is made again whenever the data it shows has changed.
void CshipEditorScreen::refreshLiveShip() {
    CplayerShipDef* ship = editedShip();
    if (!ship) return;
    std::vector<uint8_t> block = blockOf(*ship);
    if (live_ && block == liveBlock_) return;
    forgetLiveShip();
    liveBlock_ = std::move(block);
    if (!ship->hullImage.empty())
        gEngine->sprites.createSpriteFromMemory(ship->name(), ship->hullImage.data(), ship->hullImage.size());
    CshipMgr& ships = gGame->world.ships;
    CshipDef* def = ships.syncPlayerShip(*ship);
    if (!def) return;
    live_ = ships.addShip(def, false);
    if (!live_) return;
    live_->display = true;
    live_->scale = 1.0f;
    if (!controls_) controls_ = std::make_unique<CpilotControls>();
    live_->controls = controls_.get();
    live_->pos = Cvec3(-10000.0f, 0.0f, CshipMgr::kDisplayDepth);
}

// ---- the step ----

void CshipEditorScreen::onUpdate() {
    CgameWorld& world = gGame->world;
    // 1. The live ship stands in its spot and fires straight ahead.
    world.projectiles.update((float)gEngine->frameTime);
    if (live_) {
        world.fitCamera();
        live_->angle = 0;
        controls_->aim = live_->heading();
        controls_->fire = true;
        live_->updatePlayerControl(true);
        // The hull fills the spot at the largest size; the size row shrinks it.
        const float largest = CshipEditParams::table()[kRowSize].maximum;
        const float share = shipData && largest > 0 ? std::clamp(shipData->scale / largest, 0.1f, 1.0f) : 1.0f;
        placeDisplayShip(live_, shipSpot_->x, shipSpot_->y, shipSpot_->height * shipSpot_->uiScale * share);
        live_->angle = 0;
    }
    // 2 - 7.
    if (handleNameEntry() || handleMissionTextEntry()) return;
    stepTimers();
    if (capturePending_) {
        if (gGame->screenCapture.pending) return;
        capturePending_ = false;
        readPreviewImage();
        return;
    }
    if (handleConfirm()) return;
    if (gEngine->workshop.state == Cworkshop::STATE_PUBLISHING || gEngine->workshop.state == 1) return;
    if (publishing_) {
        forgetLiveShip();
        gGame->world.ships.clear();
        toHangar();
        return;
    }
    if (captureTimer_ > 0) return;
    // 8. A tab chosen.
    for (int g = 0; g < (int)tabs_.size(); ++g)
        if (screen_->wasPressed(tabs_[(size_t)g]) && g != group_) {
            setGroup(g);
            return;
        }
    if (group_ == SHIPEDIT_MISSIONS) applyMissionPage();
    // 9. The file dialog.
    if (dialogTimer_ > 0) {
        dialogTimer_ -= (float)gEngine->frameTime;
        if (dialogTimer_ <= 0) {
            dialogTimer_ = 0;
            showFileDialog();
        }
        return;
    }
    // 10. The rows.
    Cwidget* pressed = paramMenu_->highlightedItem();
    if (pressed && group_ == SHIPEDIT_BASIC && pressed->value >= kRowPublishWip && pressed->value <= kRowName) {
        handleActionRows(pressed);
        return;
    }
    handleRowInput();
    // 11. The bar.
    switch (gUi->action()) {
        case kActionMode:
            basicMode = !basicMode;
            addButtons();
            showGroup();
            return;
        case kActionTest: startTestFlight(); return;
        case kActionBack: leave(); return;
        case kActionHelp:
            if (ISteamFriends* friends = SteamFriends()) friends->ActivateGameOverlayToWebPage(kHelpPage);
            return;
        default: break;
    }
    applyMenusToShip();
    updatePoints();
    refreshLiveShip();
    for (size_t i = 0; i < paramMenu_->itemCount(); ++i) refreshRowText((int)paramMenu_->item(i)->value);
    editPoints_->setText("TextName", CbString::format("%s %d", gEngine->text("EditPoints"), points).str());
    if (Cgadget* g = editPoints_->findGadget("TextName")) g->colour = points < 0 ? gGame->namedColours.red : gGame->namedColours.white;
}

void CshipEditorScreen::stepTimers() {
    if (captureTimer_ <= 0) return;
    captureTimer_ -= (float)gEngine->frameTime;
    if (captureTimer_ > 0) return;
    captureTimer_ = 0;
    const std::string file = gEngine->savePath(kPreviewFile);
    std::remove(file.c_str());   // a picture of an earlier publish is never sent again
    if (gGame->screenCapture.request(grabTop_->x, grabTop_->y, grabBottom_->x, grabBottom_->y, file, true))
        capturePending_ = true;
    else
        readPreviewImage();   // refused: reported there
}

// The ship's name being typed: nothing else happens meanwhile.
bool CshipEditorScreen::handleNameEntry() {
    if (!nameEntry_) return false;
    CtextEntry& entry = gUi->textEntry;
    if (entry.active) return true;
    if (!entry.cancelled && shipData) {
        shipData->displayName = fitUtf8(entry.text.str(), CplayerShipData::kDisplayNameBytes - 1);
        shipName_->setText("TextName", shipData->displayName);
        refreshRowText(kRowName);
    }
    entry.finished = entry.cancelled = false;
    entry.end();
    nameEntry_ = false;
    return true;
}

bool CshipEditorScreen::handleMissionTextEntry() {
    if (textEntryRow_ < 0) return false;
    CtextEntry& entry = gUi->textEntry;
    if (entry.active) return true;
    CshipMission* mission = currentMission(true);
    if (!entry.cancelled && mission) {
        CshipMission before = *mission;
        if (textEntryRow_ == CmissionEditor::ROW_DESCRIPTION)
            mission->name = fitUtf8(entry.text.str(), CshipMission::kNameBytes - 1);
        else
            mission->conditionText = fitUtf8(entry.text.str(), CshipMission::kConditionBytes - 1);
        if (missionBytes({before}) != missionBytes({*mission})) missionsChanged_ = true;
        refreshRowText(textEntryRow_);
    }
    entry.finished = entry.cancelled = false;
    entry.end();
    textEntryRow_ = -1;
    return true;
}

bool CshipEditorScreen::handleConfirm() {
    if (confirm_ == CONFIRM_NONE) return false;
    CconfirmScreen& dialog = *screens::get<CconfirmScreen>();
    if (dialog.showing()) return true;
    Econfirm which = confirm_;
    confirm_ = CONFIRM_NONE;
    bool yes = dialog.chosen && dialog.value == 1.0f;
    dialog.reset();
    if (!yes) return true;
    if (which == CONFIRM_LEAVE) {
        revertAndLeave();
    } else {
        publishFinal_ = true;
        captureTimer_ = kCaptureDelay;
        wip_->setHidden(true);
    }
    return true;
}

// ---- groups and rows ----

void CshipEditorScreen::setGroup(int group) {
    group_ = std::clamp(group, 0, (int)tabs_.size() - 1);
    tintTabs();
    showGroup();
}

void CshipEditorScreen::tintTabs() {
    for (size_t g = 0; g < tabs_.size(); ++g)
        if (tabs_[g]) tabs_[g]->colour = (int)g == group_ ? gGame->namedColours.yellow : gGame->namedColours.white;
}

void CshipEditorScreen::showGroup() {
    const int keep = focusedRow();
    if (group_ == SHIPEDIT_MISSIONS) {
        menus.setSelection(CmissionEditor::ROW_NUMBER, menus.clampedSelection(CmissionEditor::ROW_NUMBER));
        CshipMission* mission = currentMission(false);
        missions_.showMission(mission ? *mission : CshipMission(), menus);
    }
    paramMenu_->clearItems();
    int select = 0;
    for (const CshipEditParam& p : CshipEditParams::table()) {
        bool shown = group_ == SHIPEDIT_MISSIONS ? missions_.rowShown(p.row)
                                                 : p.group == group_ && (!basicMode || p.basic);
        if (!shown) continue;
        CwidgetPtr row = gUi->createWidget("ShipEditRow");
        if (!row) return;
        row->value = p.row;
        row->setText("Label", gEngine->text(p.labelTag));
        if (p.row == keep) select = (int)paramMenu_->itemCount();
        paramMenu_->insertItem(std::move(row));
        refreshRowText(p.row);
    }
    paramMenu_->layout();
    // A group longer than the list scrolls inside it, clear of the button bar.
    paramMenu_->setClipRect(paramMenu_->areaRect());
    if (paramMenu_->itemCount()) paramMenu_->setSelectedIdx(select);
}

int CshipEditorScreen::focusedRow() const {
    Cwidget* w = paramMenu_ ? paramMenu_->getSelectedItem() : nullptr;
    return w ? (int)w->value : -1;
}

std::string CshipEditorScreen::rowItemText(int row) const {
    const CshipEditParam& p = CshipEditParams::table()[(size_t)row];
    if (row >= CmissionEditor::kFirstRow && row != CmissionEditor::ROW_NUMBER) {
        const CshipMission* m = const_cast<CshipEditorScreen*>(this)->currentMission(false);
        return CmissionEditor::itemText(row, menus.clampedSelection(row), m ? *m : CshipMission());
    }
    switch (row) {
        case kRowPublishWip: return gEngine->text("EditPublishWIP");
        case kRowPublishFinal: return gEngine->text("EditPublishFinal");
        case kRowLoadImage: return gEngine->text("EditChooseImage");
        case kRowName: return shipData ? shipData->displayName : std::string();
        case CshipEditParams::kBeamRow: return menus.clampedSelection(row) ? "4" : "2";
        default: break;
    }
    const std::vector<float>& values = CshipEditParams::itemValues(row);
    if (values.empty()) return {};
    return CshipEditParams::formatValue(p, values[(size_t)menus.clampedSelection(row)]);
}

void CshipEditorScreen::refreshRowText(int row) {
    for (size_t i = 0; i < paramMenu_->itemCount(); ++i) {
        Cwidget* w = paramMenu_->item(i);
        if (w->value != row) continue;
        const std::string text = rowItemText(row);
        if (Cgadget* g = w->findGadget("Value"); g && g->text.str() != text) w->setText("Value", text);
        bool choice = CshipEditParams::itemCount(row) > 1;
        if (Cgadget* g = w->findGadget("Left")) g->hidden = !choice;
        if (Cgadget* g = w->findGadget("Right")) g->hidden = !choice;
    }
}

void CshipEditorScreen::stepRow(int row, int step) {
    if (row < 0 || CshipEditParams::itemCount(row) <= 1) return;
    int before = menus.clampedSelection(row);
    int after = std::clamp(before + step, 0, CshipEditParams::itemCount(row) - 1);
    if (after == before) return;
    menus.setSelection(row, after);
    if (row == CmissionEditor::ROW_NUMBER) {
        showGroup();
        return;
    }
    if (row == CmissionEditor::ROW_TYPE) {
        // A new type shows its own rows; the record keeps only the fields they write.
        if (CshipMission* m = currentMission(true)) m->type = (uint32_t)after;
        applyMissionPage();
        showGroup();
        return;
    }
    refreshRowText(row);
}

// Left/right, or a click on a row's arrows, step the row's selection.
void CshipEditorScreen::handleRowInput() {
    if (int step = paramMenu_->arrowStep()) {
        stepRow(focusedRow(), step);
        return;
    }
    Cwidget* pressed = paramMenu_->highlightedItem();
    if (!pressed) return;
    int row = (int)pressed->value;
    if (row == CmissionEditor::ROW_DESCRIPTION || row == CmissionEditor::ROW_CONDITION_TEXT) {
        CshipMission* m = currentMission(true);
        if (!m) return;
        bool description = row == CmissionEditor::ROW_DESCRIPTION;
        CtextEntry& entry = gUi->textEntry;
        entry.placeBox(pressed->x, pressed->y, pressed->rect().w);
        entry.begin(description ? (int)CshipMission::kNameBytes - 1 : (int)CshipMission::kConditionBytes - 1,
                    description ? m->name : m->conditionText);
        textEntryRow_ = row;
        return;
    }
    int step = 1;
    if (paramMenu_->findPressedItem() == pressed) step = gEngine->mouseX < pressed->x + 150.0f * pressed->uiScale ? -1 : 1;
    stepRow(row, step);
}

void CshipEditorScreen::handleActionRows(Cwidget* pressed) {
    switch ((int)pressed->value) {
        case kRowName: {
            CtextEntry& entry = gUi->textEntry;
            entry.placeBox(pressed->x, pressed->y, pressed->rect().w);
            entry.begin(kMaxNameChars, shipData ? shipData->displayName : std::string());
            nameEntry_ = true;
            break;
        }
        case kRowLoadImage: openFileDialog(); break;
        case kRowPublishWip: publish(false); break;
        case kRowPublishFinal: publish(true); break;
        default: break;
    }
}

// ---- missions ----

CshipMission* CshipEditorScreen::currentMission(bool create) {
    if (!shipData) return nullptr;
    size_t i = (size_t)menus.clampedSelection(CmissionEditor::ROW_NUMBER);
    std::vector<CshipMission>& list = shipData->missions;
    if (i >= list.size()) {
        if (!create) return nullptr;
        list.resize(i + 1);
    }
    return &list[i];
}

void CshipEditorScreen::applyMissionPage() {
    if (!shipData) return;
    const std::vector<uint8_t> before = missionBytes(shipData->missions);
    if (CshipMission* m = currentMission(true)) missions_.writeRecord(*m, menus);
    // Missions left without a type at the end of the list are no missions.
    std::vector<CshipMission>& list = shipData->missions;
    while (!list.empty() && list.back().type == MissionType_None) list.pop_back();
    if (missionBytes(list) != before) missionsChanged_ = true;
}

// ---- the hull image ----

void CshipEditorScreen::openFileDialog() { dialogTimer_ = desktopDialog::prepare(); }

void CshipEditorScreen::showFileDialog() {
    std::string path = desktopDialog::openPng();
    if (path.empty()) return;
    gEngine->log.print(LOG_L, "Load image: %s", path.c_str());
    loadHullImage(path);
}

bool CshipEditorScreen::loadHullImage(const std::string& path) {
    CplayerShipDef* ship = editedShip();
    if (!ship) return false;
    int width = 0, height = 0;
    if (!CtextureMgr::readPngSize(path, width, height)) {
        gEngine->log.print(LOG_L, "Ship editor: can't read the image %s", path.c_str());
        gGame->warningOverlay.show(gEngine->text("ImageUnreadable1"), gEngine->text("ImageUnreadable2"));
        return false;
    }
    if (width > kMaxImageSide || height > kMaxImageSide) {
        gEngine->log.print(LOG_L, "Ship editor: image too large (%dx%d): %s", width, height, path.c_str());
        gGame->warningOverlay.show(gEngine->text("ImageTooLarge1"), gEngine->text("ImageTooLarge2"));
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!CresourceFile::readWholeFile(path, bytes) || bytes.empty()) {
        gEngine->log.print(LOG_L, "Ship editor: can't read the image %s", path.c_str());
        gGame->warningOverlay.show(gEngine->text("ImageUnreadable1"), gEngine->text("ImageUnreadable2"));
        return false;
    }
    ship->hullImage = std::move(bytes);
    ship->hullSprite.clear();   // the ship's own image from now on
    if (Csprite* old = gEngine->sprites.findSprite(ship->name(), false)) gEngine->sprites.deleteSprite(old);
    gEngine->sprites.createSpriteFromMemory(ship->name(), ship->hullImage.data(), ship->hullImage.size());
    fitHullSprite(*ship, width, height);
    hullChanged_ = true;
    forgetLiveShip();
    refreshLiveShip();
    return true;
}

// ---- publishing ----

bool CshipEditorScreen::refusePublish() {
    if (shipData && shipData->publishedFinal) {
        gGame->sfx.play(kRefusedSound, 1.0f);
        return true;
    }
    if (points < 0) {
        gGame->sfx.play(kRefusedSound, 1.0f);
        gGame->warningOverlay.show(gEngine->text("InvalidShip1"), gEngine->text("InvalidShip2"));
        return true;
    }
    return false;
}

void CshipEditorScreen::publish(bool final) {
    if (refusePublish()) return;
    if (!final) {
        shipData->publishedFinal = 0;
        publishFinal_ = false;
        captureTimer_ = kCaptureDelay;
        wip_->setHidden(false);
        return;
    }
    ask(CONFIRM_PUBLISH_FINAL, "PublishFinalVersion1", "PublishFinalVersion2");
}

// The shared Yes/No question; its answer is read in the update.
void CshipEditorScreen::ask(Econfirm which, const char* message, const char* message2) {
    CconfirmScreen& dialog = *screens::get<CconfirmScreen>();
    dialog.reset();
    dialog.setMessage(gEngine->text(message));
    dialog.setMessage2(gEngine->text(message2));
    dialog.addMenuItem(gEngine->text("Yes"), 1);
    dialog.addMenuItem(gEngine->text("No"), 0);
    dialog.enter();
    confirm_ = which;
}

void CshipEditorScreen::readPreviewImage() {
    CplayerShipDef* ship = editedShip();
    preview_.clear();
    const std::string file = gEngine->savePath(kPreviewFile);
    wip_->setHidden(true);
    if (!ship || !CresourceFile::readWholeFile(file, preview_) || preview_.empty()) {
        // No picture: nothing is sent, and the player is told.
        gEngine->log.print(LOG_L, "Ship editor: no preview picture in %s - not published", file.c_str());
        preview_.clear();
        gGame->sfx.play(kRefusedSound, 1.0f);
        gGame->warningOverlay.show(gEngine->text("WS_PublishError"), gEngine->text("PreviewFailed"));
        return;
    }
    gGame->workshop.publishShip(*ship, preview_, publishFinal_);
    publishing_ = true;
}

// ---- test flight and leaving ----

void CshipEditorScreen::startTestFlight() {
    CplayerShipDef* ship = editedShip();
    if (!ship) return;
    Cgame& g = *gGame;
    CgameSession& session = g.world.session;
    applyMenusToShip();
    assignShipRecord(g.world.ships, *ship);
    gGame->playTransitionEffect(screen_->highlightedWidget());
    session.shipTestReturnState = GM_SHIP_EDITOR;
    session.gameType = GAMETYPE_SHIPTEST;
    session.difficulty = g.saveLoad.settings.defDifficulty;
    session.difficultyFactor = g.saveLoad.settings.difficultyFactor;
    const CsongPackInfo* track = g.music.currentTrack;
    if (track) session.track = trackInfoFromSong(*track);
    if (gEngine->audio.openMicRunning) {
        session.startMusic = 1;
        session.restartMusic();
    } else {
        session.startMusic = 0;
    }
    session.chosenTrackTime = track && track->kind == SONG_RADIO ? 300.0 : -1.0;
    returning_ = true;
    live_ = nullptr;
    liveBlock_.clear();
    session.startGame();
}

void CshipEditorScreen::leave() {
    if (!isDirty()) {
        gGame->playTransitionEffect();
        forgetLiveShip();
        gGame->world.ships.clear();
        toHangar();
        return;
    }
    ask(CONFIRM_LEAVE, "PublishWIPVersion1", "PublishWIPVersion2");
}

void CshipEditorScreen::toHangar() {
    if (ChangarScreen* hangar = screens::get<ChangarScreen>()) hangar->open(hangarBackState_, true);
    else gGame->setGameMode(GM_HANGAR, true);
}

// Back to the ship as it was when the editor was opened from the hangar.
void CshipEditorScreen::revertAndLeave() {
    forgetLiveShip();
    gGame->world.ships.clear();
    if (CplayerShipDef* ship = editedShip(); ship && !backup_.empty()) {
        ship->data.read(backup_.data(), backup_.size());
        if (hullChanged_) {
            ship->hullImage = std::move(imageBackup_);
            imageBackup_.clear();
            ship->hullSprite = hullSpriteBackup_;
            ship->hullScale = hullScaleBackup_;
            // The sprite is made again from the old image when the ship is next shown.
            if (Csprite* s = gEngine->sprites.findSprite(ship->name(), false)) gEngine->sprites.deleteSprite(s);
        }
        gGame->world.ships.syncPlayerShip(*ship);
    }
    hullChanged_ = missionsChanged_ = false;
    syncMenusFromShip(false);
    gGame->playTransitionEffect();
    toHangar();
}

// ---- drawing ----

void CshipEditorScreen::render() {
    Crenderer& r = gEngine->renderer;
    if (live_ && r.isReady()) {
        CgameWorld& world = gGame->world;
        // The shots and the 500-unit firing lines stop at the preview's edge,
        // short of the name, the tabs and the music bar.
        uiDraw::pushClip(previewArea());
        world.fitCamera();
        r.setCamera(&world.camera);
        world.projectiles.draw();
        world.ships.drawShips(true);
        r.setCamera(nullptr);
        drawFiringAngles();
        drawMarkers();
        uiDraw::popClip();
    }
    ClayoutScreen::render();
}

Crect CshipEditorScreen::previewArea() const { return previewArea_->rect(); }

void CshipEditorScreen::drawMarkers() const {
    const int row = focusedRow();
    if (row < 0 || !live_) return;
    std::vector<std::pair<int, int>> marks;   // element kind, index
    auto pairOf = [&](int kind, int k) {
        marks.push_back({kind, k});
        if (basicMode && k % 2 == 0) marks.push_back({kind, k + 1});
    };
    if (group_ == SHIPEDIT_TURRET_POSITIONS && row >= 22 && row <= 29) pairOf(ELEMENT_TURRET, (row - 22) / 2);
    if (group_ == SHIPEDIT_ENGINE_POSITIONS && row >= 37 && row <= 44) pairOf(ELEMENT_ENGINE, (row - 37) / 2);
    if (group_ == SHIPEDIT_ENGINE_HUE && row >= 45 && row <= 48) pairOf(ELEMENT_ENGINE, row - 45);
    if (group_ == SHIPEDIT_ENGINE_ROTATION_AND_SCALE && row >= 49 && row <= 56) pairOf(ELEMENT_ENGINE, (row - 49) % 4);
    Csprite* anchor = uiDraw::findSprite("ss_anchor2.png");
    if (!anchor) return;
    const Cvec2 size = uiDraw::spriteSize(anchor) * (kMarkerScale * gUi->scale());
    for (auto [kind, k] : marks) {
        if (kind == ELEMENT_ENGINE && shipData && k >= shipData->engineThrusts) continue;
        const Celement* e = nthElement(*live_, kind, k);
        if (!e) continue;
        const Cvec2 at = onScreen(*live_, *e);
        uiDraw::sprite(anchor, at.x, at.y, size.x, size.y, Ccolour(1, 1, 1, 1));
    }
}

void CshipEditorScreen::drawFiringAngles() const {
    if (group_ != SHIPEDIT_FIRING_ANGLES || !live_ || !shipData) return;
    Csprite* white = gEngine->sprites.white();
    const int row = focusedRow();
    // The focused angle row's slots: rows 12..19 edit the pairs of slots 0,4,6,8,2,10,12,14.
    static const int kRowSlots[8] = {0, 4, 6, 8, 2, 10, 12, 14};
    const int focusSlot = row >= 12 && row <= 19 ? kRowSlots[row - 12] : -1;
    const float s = gUi->scale();
    for (int mount = 0; mount < 4; ++mount) {
        const Celement* e = nthElement(*live_, ELEMENT_TURRET, mount);
        if (!e) continue;
        const Cvec2 from = onScreen(*live_, *e);
        for (int slot : kMountSlots[mount]) {
            const CturretSlot& t = shipData->turrets[slot];
            if (!t.active()) continue;
            float angle = slot % 2 ? -t.angle : t.angle;
            bool focused = slot == focusSlot || slot - 1 == focusSlot;
            const float deg = angle * 57.29578f;
            const float len = kAngleLineLength * s;
            const Cvec2 mid(from.x + std::sin(angle) * len * 0.5f, from.y - std::cos(angle) * len * 0.5f);
            if (focused) {
                uiDraw::sprite(white, mid.x, mid.y, 20 * s, len, gGame->namedColours.yellow, deg);
                uiDraw::sprite(white, mid.x, mid.y, 10 * s, len, gGame->namedColours.white, deg);
            } else {
                uiDraw::sprite(white, mid.x, mid.y, 5 * s, len, Ccolour(1, 1, 1, 0.35f), deg);
            }
        }
    }
}
