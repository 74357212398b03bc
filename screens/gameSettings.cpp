#include "screens/gameSettings.h"

#include <algorithm>
#include <cstdio>

#include "engine/engine.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "screens/321Go.h"
#include "screens/dailyChallenge.h"
#include "screens/exit.h"
#include "screens/screenRegistry.h"

namespace {
constexpr int kActionSelect = 1, kActionBack = 2;
constexpr int kSuccessSound = 6, kRefusedSound = 7;
constexpr float kIntensities[] = {0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f};
constexpr const char* kIntensityTexts[] = {"50%", "100%", "150%", "200%", "250%", "300%"};
constexpr int kMinutes[] = {4, 5, 6, 8, 10, 15, 20, 25, 30, 60};
constexpr const char* kNextTrackTags[] = {"NextTrackAlbum", "NextTrackArtist", "NextTrackFavourites", "NextTrackRandom"};
constexpr float kDetectTrack = -1.0f;

// The perk that unlocks a difficulty, or -1 for the ones every player has.
int difficultyPerk(int difficulty) {
    switch (difficulty) {
        case DIFFICULTY_INSANE: return PERK_INSANE_MODE;
        case DIFFICULTY_SUICIDAL: return PERK_SUICIDAL_MODE;
        case DIFFICULTY_APOCALYPTIC: return PERK_APOCALYPTIC_MODE;
        case DIFFICULTY_ZEN: return PERK_ZEN_MODE;
        default: return -1;
    }
}

void lock(Cwidget* item) {
    item->value = -1;
    item->floatValue = -1.0f;
}

bool isSafeLinkId(const std::string& id) {
    if (id.empty()) return false;
    return std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

const char* visBonusText(float intensity) {
    if (intensity >= 3.0f) return " +20";
    if (intensity >= 2.5f) return " +15";
    if (intensity >= 2.0f) return " +10";
    if (intensity >= 1.5f) return " +5";
    return " +0";
}

// The game types that go on from one track to the next.
bool playsOn(int gameType) {
    return gameType == GAMETYPE_SURVIVAL || gameType == GAMETYPE_BOSSRUSH || gameType == GAMETYPE_CHILLOUT;
}
}  // namespace

const CwidgetBinding CgameSettingsScreen::kBindings[] = {
    {&CgameSettingsScreen::difficulty_, "Difficulty"},
    {&CgameSettingsScreen::visualIntensity_, "VisualIntensity"},
    {&CgameSettingsScreen::radioDuration_, "RadioDuration"},
    {&CgameSettingsScreen::nextTrackMode_, "NextTrackMode"},
    {&CgameSettingsScreen::visBonus_, "VisBonus"},
    {&CgameSettingsScreen::nextTrackModeInfo_, "nextTrackModeInfo"}};

CgameSettingsScreen::CgameSettingsScreen() : ClayoutScreen("gameSettings.txt", kBindings) {
    openLink = [](const std::string& url) { return gEngine->platform.openUrl(url); };
}

bool CgameSettingsScreen::onLoaded() {
    returnTo_ = RETURN_BY_MUSIC_SOURCE;
    columns_.set({difficulty_, visualIntensity_, radioDuration_, nextTrackMode_});
    return true;
}

void CgameSettingsScreen::open(EreturnTo from) {
    returnTo_ = from;
    gGame->setGameMode(GM_GAME_SETTINGS, true);
}

std::string CgameSettingsScreen::challengeLink(char kind, const std::string& id) {
    if (!isSafeLinkId(id)) return {};
    if (kind == 'Y') return "https://www.youtube.com/watch?v=" + id + "&autoplay=1";
    if (kind == 'S') return "https://open.spotify.com/track/" + id;
    return {};
}

void CgameSettingsScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("OK", kActionSelect, 0);
    gUi->buttonBar.addButtonByKey("BACK", kActionBack, 1);
    buildMenus(gGame->getActiveChallenge());
    columns_.reset();
}

void CgameSettingsScreen::buildMenus(const CchallengeMgr* challenge) {
    Cgame& g = *gGame;
    const CgameSession& session = g.world.session;
    const Csettings& settings = g.saveLoad.settings;
    int highest = challenge ? std::clamp((int)challenge->challenge.difficultyCap, 0, kHighestDifficulty)
                            : kHighestDifficulty;

    difficulty_->clearItems();
    for (int d = 0; d < DIFFICULTY_COUNT; ++d) {
        Cwidget* item = difficulty_->addTextItem("SettingsItem", difficultyName(d), d);
        int perk = difficultyPerk(d);
        if (d > highest || (perk >= 0 && !g.world.perks.isBought(perk))) lock(item);
    }
    difficulty_->setSelectedIdx(std::clamp(settings.defDifficulty, 0, DIFFICULTY_COUNT - 1));
    difficulty_->layout();

    visualIntensity_->clearItems();
    int intensityIdx = 5;
    for (int i = 0; i < 6; ++i) {
        Cwidget* item = visualIntensity_->addTextItem("SettingsItem", kIntensityTexts[i], i);
        item->floatValue = kIntensities[i];
        if (i < 5 && settings.visIntensity == kIntensities[i]) intensityIdx = i;
    }
    visualIntensity_->setSelectedIdx(intensityIdx);
    visualIntensity_->layout();

    bool openMic = g.music.openMicRunning();
    radioDuration_->clearItems();
    radioDuration_->setTitleKey(openMic ? "OpenMicMode" : "RadioDuration");
    if (openMic) radioDuration_->addTextItemByKey("SettingsItem", "OpenMicDetectTrack", int64_t{0})->floatValue = kDetectTrack;
    for (int minutes : kMinutes) {
        std::string text = std::to_string(minutes) + " " + gEngine->text("Minutes");
        radioDuration_->addTextItem("SettingsItem", text, minutes * 60)->floatValue = (float)(minutes * 60);
    }
    radioDuration_->setSelectedIdx(0);
    radioDuration_->layout();
    const CsongPackInfo* track = g.music.currentTrack;
    int kind = track ? (int)track->kind : SONG_NONE;
    bool timed = !challenge && session.gameType == GAMETYPE_STANDARD && (kind == SONG_RADIO || kind == SONG_OPEN_MIC);
    if (timed) radioDuration_->setVisibleWithTransition(true);
    else radioDuration_->setVisible(false);

    nextTrackMode_->clearItems();
    for (int i = 0; i < 4; ++i) nextTrackMode_->addTextItemByKey("SettingsItem", kNextTrackTags[i], int64_t{i});
    nextTrackMode_->setSelectedIdx(std::clamp(session.nextTrackMode, 0, 3));
    nextTrackMode_->layout();
    bool nextShown = playsOn(session.gameType) && kind == SONG_LOCAL;
    nextTrackMode_->setVisible(nextShown);
    nextTrackModeInfo_->setHidden(!nextShown);
    if (nextShown) {
        nextTrackMode_->setVisibleWithTransition(true);
        nextTrackModeInfo_->startEffect(EFFECT_GROW_IN, 0, nullptr, 0, 0.2f);
    }

    int type = session.gameType;
    bool fixedDifficulty = type == GAMETYPE_SURVIVAL || type == GAMETYPE_BOSSRUSH ||
                           type == GAMETYPE_PARTY_FOOTBALL || type == GAMETYPE_SHIPTEST;
    if (fixedDifficulty && !challenge) difficulty_->setVisible(false);
    else difficulty_->setVisibleWithTransition(true);
}

void CgameSettingsScreen::update() {
    columns_.update();
    ClayoutScreen::update();
}

void CgameSettingsScreen::onUpdate() {
    Cgame& g = *gGame;
    float intensity = visualIntensity_->getSelectedItemFloat();
    visBonus_->setText("", std::string(gEngine->text("VisBonus")) + visBonusText(intensity));
    g.world.session.visualIntensity = intensity;

    int action = gUi->action();
    if (action == kActionBack) {
        goBack();
    } else if (action == kActionSelect) {
        if (CchallengeMgr* challenge = g.getActiveChallenge()) startChallenge(*challenge);
        else startGame();
    }
}

void CgameSettingsScreen::goBack() {
    Cgame& g = *gGame;
    EreturnTo from = returnTo_;
    returnTo_ = RETURN_BY_MUSIC_SOURCE;
    // A party goes back to its own game type.
    int to = g.world.session.partyMode ? GM_PARTY_GAME_TYPE : GM_GAME_TYPE;
    if (g.getActiveChallenge()) to = GM_DAILY_CHALLENGE_L;
    else if (from == RETURN_SHIP_MISSIONS) to = GM_MUSIC_BROWSER_SHIP_MISSIONS;
    else if (from == RETURN_UNLOCK_HUB) to = GM_TB_HUB;
    else if (g.world.session.musicSource == MUSIC_TRACK_LIST) to = GM_MUSIC_BROWSER;
    else if (g.world.session.musicSource == MUSIC_RADIO_LIST) to = GM_MUSIC_RADIO_BROWSER;
    g.setGameMode(to, true);
}

void CgameSettingsScreen::startChallenge(CchallengeMgr& challenge) {
    Cgame& g = *gGame;
    Cwidget* chosen = difficulty_->getSelectedItem();
    if (!chosen || chosen->locked()) {
        gUi->playSound(kRefusedSound);
        return;
    }
    // The attempt is heard through open mic: a player who cannot be heard is
    // told so by the open-mic error and goes back, never into a countdown
    // that waits for sound.
    if (!g.music.startOpenMic()) {
        goBack();
        return;
    }
    const CtimedChallenge& c = challenge.challenge;
    if (c.linkKind == 'Y' || c.linkKind == 'S') {
        std::string url = challengeLink(c.linkKind, c.linkId);
        if (url.empty()) {
            gEngine->log.print(LOG_L, "Refused challenge link id: %s", c.linkId.c_str());
        } else if (openLink && openLink(url)) {
            gUi->popups.showMessage(gEngine->text(c.linkKind == 'Y' ? "YouTubeLinkOpened" : "SpotifyLinkOpened"));
        }
    }
    if (C321GoScreen* countdown = screens::get<C321GoScreen>()) countdown->noteLinkOpened();
    gUi->playSound(kSuccessSound);
    challenge.challenge.started = true;
    CgameSession& session = g.world.session;
    session.gameType = GAMETYPE_STANDARD;
    session.difficulty = (int)chosen->value;
    if (CdailyChallengeScreen* screen = screens::get<CdailyChallengeScreen>()) screen->applyRules();
    session.visualIntensity = visualIntensity_->getSelectedItemFloat();
    if (g.music.currentTrack) session.track = trackInfoFromSong(*g.music.currentTrack);
    session.startMusic = 1;
    session.restartMusic();
    // The attempt lasts as long as the challenge's track.
    session.chosenTrackTime = c.duration;
    gGame->playTransitionEffect(chosen);
    g.setGameMode(GM_321_GO, true);
}

void CgameSettingsScreen::startGame() {
    Cgame& g = *gGame;
    CgameSession& session = g.world.session;
    Csettings& settings = g.saveLoad.settings;
    Cwidget* chosen = difficulty_->getSelectedItem();
    bool standard = session.gameType == GAMETYPE_STANDARD;
    // A locked difficulty is refused before anything is kept, so that it never
    // becomes the default.
    if (standard && (!chosen || chosen->locked())) {
        gUi->playSound(kRefusedSound);
        return;
    }
    float intensity = visualIntensity_->getSelectedItemFloat();
    if (standard) settings.defDifficulty = (int)chosen->value;
    settings.visIntensity = intensity;
    settings.dirty = true;
    if (g.saveSettings) g.saveSettings();
    gGame->playTransitionEffect(chosen ? chosen : visualIntensity_->getSelectedItem());

    session.difficulty = standard ? (int)chosen->value : DIFFICULTY_INSANE;
    session.visualIntensity = intensity;
    session.nextTrackMode = (int)nextTrackMode_->getSelectedItemInt();

    if (g.music.currentTrack) session.track = trackInfoFromSong(*g.music.currentTrack);
    bool openMic = g.music.openMicRunning();
    float third = radioDuration_->getSelectedItemFloat();
    if (openMic && third == kDetectTrack && standard) {
        session.startMusic = 1;
        session.restartMusic();
    } else {
        session.startMusic = 0;
    }
    const CsongPackInfo* track = g.music.currentTrack;
    bool radio = track && track->kind == SONG_RADIO;
    session.chosenTrackTime = (radio || openMic) ? third : -1.0;
    g.setGameMode(GM_321_GO, true);
}
