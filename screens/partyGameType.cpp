#include "screens/partyGameType.h"

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "screens/gameType.h"
#include "screens/screenRegistry.h"

namespace {
constexpr int kRefusedSound = 7;
// Party games: every game type but the ship test.
constexpr int kGameTypes[] = {GAMETYPE_STANDARD, GAMETYPE_SURVIVAL, GAMETYPE_BOSSRUSH, GAMETYPE_PARTY_FOOTBALL,
                              GAMETYPE_CHILLOUT};

// A refused choice shows its text in a light red, which stays readable on
// the dark panel even dimmed as an unchosen item; an allowed one the menu's
// own colours.
void markRefused(Cwidget* item, bool refused) {
    if (!item) return;
    const CnamedColours& c = gGame->namedColours;
    item->colour = Ccolour(1, 1, 1, 1);
    item->textColour = refused ? c.lightRed : c.white;
}

void fillNoYes(Cmenu* menu, bool yes) {
    menu->clearItems();
    menu->addTextItemByKey("SmallMenuItem", "No", int64_t{0});
    menu->addTextItemByKey("SmallMenuItem", "Yes", int64_t{1});
    menu->setSelectedIdx(yes ? 1 : 0);
    menu->layout();
}

void selectValue(Cmenu* menu, int64_t value) {
    for (size_t i = 0; i < menu->itemCount(); ++i)
        if (menu->item(i)->value == value) menu->setSelectedIdx((int)i);
}

bool chosen(const Cmenu* menu) { return menu->getSelectedItemInt() == 1; }

// Each menu keeps its choice in view: the other items stand dimmed.
void dimUnchosen(Cmenu* menu) {
    for (size_t i = 0; i < menu->itemCount(); ++i) menu->item(i)->toggle = (int)i == menu->getSelectedIdx();
}
}  // namespace

const CwidgetBinding CpartyGameTypeScreen::kBindings[] = {
    {&CpartyGameTypeScreen::gameType_, "gameType"},         {&CpartyGameTypeScreen::teamMode_, "TeamMode"},
    {&CpartyGameTypeScreen::carnage_, "CarnageRules"},      {&CpartyGameTypeScreen::tag_, "TagRules"},
    {&CpartyGameTypeScreen::noMultiplier_, "NoMultiplier"}, {&CpartyGameTypeScreen::musicSource_, "musicSource"}};

CpartyGameTypeScreen::CpartyGameTypeScreen() : ClayoutScreen("partyGameType.txt", kBindings) {}

bool CpartyGameTypeScreen::onLoaded() {
    columns_.set({gameType_, teamMode_, carnage_, tag_, noMultiplier_, musicSource_});
    choiceValid_ = true;
    return true;
}

void CpartyGameTypeScreen::onEnter() {
    Cgame& g = *gGame;
    const CgameSession& session = g.world.session;
    const CpartySettings& party = session.party;

    gameType_->clearItems();
    for (int type : kGameTypes) gameType_->addTextItem("SmallMenuItem", gameTypeName(type), type);
    gameType_->setSelectedIdx(0);
    selectValue(gameType_, session.gameType);
    gameType_->layout();

    teamMode_->clearItems();
    teamMode_->addTextItemByKey("SmallMenuItem", "TeamCoop", int64_t{TEAMMODE_COOP});
    teamMode_->addTextItemByKey("SmallMenuItem", "TeamHeadToHead", int64_t{TEAMMODE_HEAD_TO_HEAD});
    // Two teams of two are made from HeadToHead when the game starts.
    teamMode_->setSelectedIdx(party.teamMode == TEAMMODE_COOP ? 0 : 1);
    teamMode_->layout();

    fillNoYes(carnage_, party.carnageRules);
    fillNoYes(tag_, party.tagRules);
    fillNoYes(noMultiplier_, party.noMultiplier);

    musicSource_->clearItems();
    for (int source = 0; source < MUSIC_SOURCE_COUNT; ++source) {
        Cwidget* item = musicSource_->addTextItem("SmallMenuItem", musicSourceName(source), source);
        bool empty = (source == MUSIC_RANDOM_FAVOURITE && g.songLibrary.favouritesEmpty()) ||
                     (source == MUSIC_NOT_PLAYED_YET && g.songLibrary.countUnplayedTracks() == 0);
        if (empty) {
            item->value = -1;
            markRefused(item, true);
        }
    }
    musicSource_->setSelectedIdx(0);
    if (g.music.openMicRunning()) musicSource_->setSelectedIdx(MUSIC_OPEN_MIC);
    musicSource_->layout();

    gUi->buttonBar.addButtonByKey("OK", ACTION_SELECT, ICON_OK);
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    columns_.reset();
    validate();
}

void CpartyGameTypeScreen::update() {
    columns_.update();
    ClayoutScreen::update();
}

void CpartyGameTypeScreen::validate() {
    int type = (int)gameType_->getSelectedItemInt();
    int team = (int)teamMode_->getSelectedItemInt();
    markRefused(teamMode_->item(0), !CpartyMgr::coopAllowed(type));
    markRefused(tag_->item(1), !CpartyMgr::tagAllowed(type, team));
    markRefused(carnage_->item(1), !CpartyMgr::carnageAllowed(team));
    markRefused(noMultiplier_->item(1), !CpartyMgr::noMultiplierAllowed(type));
    CpartySettings s;
    s.teamMode = team;
    s.carnageRules = chosen(carnage_);
    s.tagRules = chosen(tag_);
    s.noMultiplier = chosen(noMultiplier_);
    choiceValid_ = CpartyMgr::isValidChoice(type, s);
    for (Cmenu* menu : {gameType_, teamMode_, carnage_, tag_, noMultiplier_, musicSource_}) dimUnchosen(menu);
    gUi->buttonBar.setButtonHidden(ACTION_SELECT, !choiceValid_);
}

void CpartyGameTypeScreen::onUpdate() {
    int action = gUi->action();
    if (action == ACTION_BACK) {
        gGame->setGameMode(GM_PARTY_LOGIN, true);
        return;
    }
    validate();
    if (action == ACTION_SELECT) confirm();
}

void CpartyGameTypeScreen::confirm() {
    Cgame& g = *gGame;
    // OK reaches here by key as well as by the bar: the choice is checked again.
    Cwidget* source = musicSource_->getSelectedItem();
    if (!choiceValid_ || !source || source->value < 0) {
        gUi->playSound(kRefusedSound);
        return;
    }
    int sourceValue = (int)source->value;
    CsongPackInfo* track = nullptr;
    if (!pickTrackForSource(sourceValue, track)) return;

    CgameSession& session = g.world.session;
    session.gameType = (int)gameType_->getSelectedItemInt();
    session.musicSource = sourceValue;
    CpartySettings& party = session.party;
    party.teamMode = (int)teamMode_->getSelectedItemInt();
    party.carnageRules = chosen(carnage_);
    party.tagRules = chosen(tag_);
    party.noMultiplier = chosen(noMultiplier_);
    // Football has two goals: three or four players play as two teams.
    CpartyMgr::mendChoice(session.gameType, g.world.party.numJoined(), party);

    goToMusicSource(sourceValue, track, source, MUSIC_FROM_PARTY_GAME_TYPE);
}
