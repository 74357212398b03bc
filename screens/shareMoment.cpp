#include "screens/shareMoment.h"

#include <algorithm>
#include <filesystem>

#include "engine/engine.h"
#include "engine/format.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "screens/desktopDialog.h"
#include "screens/optionsTwitter.h"
#include "screens/screenRegistry.h"

namespace {
constexpr int kSuccessSound = 6, kFailureSound = 7, kShutterSound = 45;
constexpr float kFileCaptureAt = 0.25f, kFileWait = 0.5f;
constexpr float kSteamTriggerAt = 0.5f, kSteamWaitStart = 1.0f;
constexpr const char* kSeparator = "  -  ";

std::string text(const char* tag) { return gEngine->text(tag); }

CgameSession& session() { return gGame->world.session; }

// Track names become part of a file name: no folder separators or wildcards.
std::string fileSafe(std::string s) {
    std::replace_if(s.begin(), s.end(), [](char c) { return c == '\\' || c == '*' || c == '/'; }, '-');
    return s;
}

bool pathTaken(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

// Places a widget by the top-left corner of its box.
void placeTopLeft(Cwidget* w, float left, float top) {
    w->setPosition(left + w->width * w->uiScale * 0.5f, top + w->height * w->uiScale * 0.5f);
}

// The lines across the picture keep their centre column.
void placeAtHeight(Cwidget* w, float y) { w->setPosition(w->x, y); }

void event(const char* action) { gEngine->analytics.sendEvent("MomentShare", action, nullptr); }
}  // namespace

const CwidgetBinding CshareMomentScreen::kBindings[] = {
    {&CshareMomentScreen::worldRecord_, "WorldRecord"},
    {&CshareMomentScreen::worldRecordText_, "WorldRecordText"},
    {&CshareMomentScreen::worldRecordNumber_, "WorldRecordNumber"},
    {&CshareMomentScreen::score_, "Score"},
    {&CshareMomentScreen::scoreTitle_, "ScoreTitle"},
    {&CshareMomentScreen::songTitle_, "SongTitle"},
    {&CshareMomentScreen::highScoreComment_, "HighScoreComment"},
    {&CshareMomentScreen::playerName_, "playerName"},
    {&CshareMomentScreen::momentPos_, "MomentPos"},
    {&CshareMomentScreen::error_, "Error"},
    {&CshareMomentScreen::tweet_, "Tweet"},
    {&CshareMomentScreen::twitterLogo_, "TwitterLogo"},
    {&CshareMomentScreen::steam_, "Steam"},
    {&CshareMomentScreen::steamLogo_, "SteamLogo"},
    {&CshareMomentScreen::saveFile_, "SaveFile"},
    {&CshareMomentScreen::saveFileLogo_, "SaveFileLogo"},
    {&CshareMomentScreen::shareNext_, "ShareNext"},
    {&CshareMomentScreen::sharePrev_, "SharePrev"},
    {&CshareMomentScreen::back_, "Back"},
};

CshareMomentScreen::CshareMomentScreen() : ClayoutScreen("shareMoment.txt", kBindings) {}

CshareMomentScreen::~CshareMomentScreen() {
    // A capture still waiting must not call back into a screen that is gone.
    if (capture_ == CAPTURE_WAITING && gGame) gGame->screenCapture.whenDone = nullptr;
}

void CshareMomentScreen::open(int returnState, int worldRecordRank, const std::string& comment) {
    returnState_ = returnState;
    worldRecordRank_ = worldRecordRank < 0 ? -1 : worldRecordRank;
    comment_ = comment;
    gGame->setGameMode(GM_SHARE_MOMENT, true);
}

// ---- texts ----

std::string CshareMomentScreen::titleText(const CgameSession& s, const std::string& trackLabel) {
    std::string t = s.partyMode ? text("PartyMode") + kSeparator : std::string();
    if (s.gameType == GAMETYPE_BOSSRUSH)
        t += text("BossRush") + kSeparator + text("BossWaveLwr") + CbString::format(" %d", s.bossRushWave).str();
    else if (s.gameType == GAMETYPE_SURVIVAL)
        t += text("Survival") + kSeparator + formatTime((int)s.playTime);
    else
        t += trackLabel + kSeparator + difficultyName(s.difficulty);
    return t;
}

std::string CshareMomentScreen::tweetText(const CgameSession& s) {
    const char* title = s.track.title.c_str();
    const char* artist = s.track.artist.c_str();
    const char* difficulty = difficultyName(s.difficulty);
    if (s.gameType == GAMETYPE_BOSSRUSH)
        return CbString::format("I reached wave %d playing Boss Rush!\n#Zorbex2 \nGame Details: %s", s.bossRushWave,
                                kStorePage).str();
    if (s.gameType == GAMETYPE_SURVIVAL)
        return CbString::format("I lasted %s playing Survival!\n#Zorbex2 \nGame Details: %s",
                                formatTime((int)s.playTime), kStorePage).str();
    if (s.completion == 1.0f)
        return CbString::format("I scored %s playing '%s' by '%s'   (%s). \n#Zorbex2 \nGame Details: %s",
                                formatThousands64(s.teamScores[0]), title, artist, difficulty, kStorePage).str();
    return CbString::format("I crashed and burned playing '%s' by '%s'   (%s). \n#Zorbex2 \nGame Details: %s", title,
                            artist, difficulty, kStorePage).str();
}

std::string CshareMomentScreen::fileNameFor(const std::string& folder, const CgameSession& s) {
    std::string dir = folder;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    const std::string stem = s.gameType == GAMETYPE_BOSSRUSH
                                 ? dir + "/ZRB-BossRush"
                                 : dir + "/ZRB-" + fileSafe(s.track.title) + "-" + fileSafe(s.track.artist);
    std::string name = stem + ".png";
    for (int n = 1; pathTaken(name); ++n) {
        if (n > kMaxFileNumber) return {};
        name = stem + "-" + std::to_string(n) + ".png";
    }
    return name;
}

void CshareMomentScreen::fillTexts() {
    const CgameSession& s = session();
    const std::string label = gGame->music.currentTrack ? gGame->music.getTrackLabel(gGame->music.currentTrack, 0)
                                                        : s.track.title + " - " + s.track.artist;
    songTitle_->setText("TextName", titleText(s, label));
    score_->setText("TextName", s.partyMode ? std::string() : std::string(formatThousands64(s.teamScores[0])));

    Cwidget* const record[] = {worldRecord_, worldRecordText_, worldRecordNumber_};
    const bool showRecord = worldRecordRank_ != -1 && !s.partyMode;
    for (Cwidget* w : record) {
        w->removeEffect();
        w->setHidden(!showRecord);
        if (showRecord) w->startEffect(EFFECT_FADE_IN, 0, nullptr, 0.1f, 0.2f);
    }
    if (showRecord) worldRecordNumber_->setText("TextName", ordinalText(worldRecordRank_ + 1));

    playerName_->setText("TextName", gGame->online.soap.nickname());
    highScoreComment_->setHidden(comment_.empty());
    highScoreComment_->setText("TextName", comment_);
}

// ---- the picture ----

void CshareMomentScreen::findShots() {
    shots_.clear();
    const auto& all = gGame->autoShots.shots;
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i].texture && all[i].texture->width > 0 && all[i].texture->height > 0) shots_.push_back(i);
    index_ = 0;
}

const Ctexture* CshareMomentScreen::shotTexture() const {
    if (index_ >= shots_.size()) return nullptr;
    const auto& all = gGame->autoShots.shots;
    const size_t at = shots_[index_];
    return at < all.size() ? all[at].texture.get() : nullptr;
}

void CshareMomentScreen::layoutShot() {
    laidOutWidth_ = gEngine->screenWidth;
    laidOutHeight_ = gEngine->screenHeight;
    const Ctexture* t = shotTexture();
    if (!t) {
        picture_ = Crect{};
        return;
    }
    const float sw = (float)gEngine->screenWidth, sh = (float)gEngine->screenHeight;
    scale_ = std::min((sw - kMargin) / (float)t->width, (sh - kMargin) / (float)t->height);
    const float w = t->width * scale_, h = t->height * scale_;
    picture_ = Crect{momentPos_->x - w * 0.5f, momentPos_->y - h * 0.5f, w, h};
    const float L = picture_.x, T = picture_.y;
    placeAtHeight(songTitle_, T + 15);
    placeAtHeight(highScoreComment_, T + 35);
    placeTopLeft(playerName_, L + 10, T + 20);
    placeTopLeft(scoreTitle_, L + 10, T + 55);
    placeTopLeft(score_, L + 10, T + 80);
    placeTopLeft(worldRecord_, L + 80, T + 150);
    placeTopLeft(worldRecordNumber_, L + 10, T + 170);
    placeTopLeft(worldRecordText_, L + 10, T + 195);
}

void CshareMomentScreen::render() {
    if (Ctexture* t = const_cast<Ctexture*>(shotTexture()); t && picture_.w > 0) {
        Crenderer& r = gEngine->renderer;
        const Ccamera* camera = r.camera();
        r.setCamera(nullptr);
        Cquad q;
        q.texture = t;
        q.centre = Cvec3(picture_.cx(), picture_.cy(), 0);
        q.width = picture_.w;
        q.height = picture_.h;
        q.colour = Ccolour(1, 1, 1, 1);
        r.addQuad(q);
        const float k = kFrameThickness;
        r.drawFrame(picture_.x - k, picture_.y - k, picture_.right() + k, picture_.bottom() + k, k, Ccolour(1, 1, 1, 1));
        r.setCamera(camera);
    }
    ClayoutScreen::render();
}

void CshareMomentScreen::setUiShown(bool shown) {
    const bool anyShot = !shots_.empty();
    for (Cwidget* w : {tweet_, sharePrev_, shareNext_, twitterLogo_, saveFile_, saveFileLogo_, steam_, steamLogo_})
        w->setHidden(!shown || !anyShot);
    back_->setHidden(!shown);
}

void CshareMomentScreen::showPage(int step) {
    if (shots_.empty()) return;
    const size_t n = shots_.size();
    index_ = (index_ + n + (step > 0 ? 1 : n - 1)) % n;
    layoutShot();
}

// ---- enter and update ----

void CshareMomentScreen::onEnter() {
    // No bar buttons: the screen's own Back is hidden with the others while a
    // picture is taken, and Back keys and pads reach it all the same.
    pending_ = SHARE_NONE;
    timer_ = dialogTimer_ = 0;
    stepDone_ = false;
    backAfterShare_ = false;
    steamResult_ = -1;
    error_->setHidden(true);
    findShots();
    fillTexts();
    setUiShown(true);
    layoutShot();
    if (shots_.empty()) {
        // Nothing was captured in this game: nothing to share, only the way back.
        error_->setHidden(false);
        error_->setTextKey("NoMoments");
    }
}

void CshareMomentScreen::onUpdate() {
    const float dt = (float)gEngine->frameTime;
    timer_ -= dt;
    if (gUi->action() == ACTION_BACK && sharing()) backAfterShare_ = true;
    switch (pending_) {
        case SHARE_FILE: stepFileShare(); return;
        case SHARE_STEAM: stepSteamShare(); return;
        case SHARE_TWEET: stepTweet(); return;
        case SHARE_NONE: break;
    }
    if (dialogTimer_ > 0) {
        dialogTimer_ -= dt;
        if (dialogTimer_ <= 0) {
            dialogTimer_ = 0;
            chooseFolderAndSave();
        }
        return;
    }
    if (laidOutWidth_ != gEngine->screenWidth || laidOutHeight_ != gEngine->screenHeight) layoutShot();

    if (screen_->wasPressed(back_) || gUi->action() == ACTION_BACK) {
        gGame->playTransitionEffect(back_);
        leave();
    } else if (screen_->wasPressed(shareNext_)) {
        showPage(1);
    } else if (screen_->wasPressed(sharePrev_)) {
        showPage(-1);
    } else if (screen_->wasPressed(saveFile_)) {
        startFileShare();
    } else if (screen_->wasPressed(steam_)) {
        startSteamShare();
    } else if (screen_->wasPressed(tweet_)) {
        startTweet();
    }
}

void CshareMomentScreen::leave() { gGame->setGameMode(returnState_); }

// ---- sharing ----

bool CshareMomentScreen::requestCapture(bool tweetImage) {
    CscreenCapture& c = gGame->screenCapture;
    const Crect& p = picture_;
    const bool asked = tweetImage ? c.requestTweetImage(p.x, p.y, p.right(), p.bottom())
                                  : c.request(p.x, p.y, p.right(), p.bottom(), fileName_, false);
    if (!asked) {
        capture_ = CAPTURE_FAILED;
        return false;
    }
    capture_ = CAPTURE_WAITING;
    c.whenDone = [this](bool made) { capture_ = made ? CAPTURE_MADE : CAPTURE_FAILED; };
    return true;
}

void CshareMomentScreen::succeed(const char* popupTag) {
    gUi->popups.showMessage(text(popupTag));
    gUi->playSound(kSuccessSound);
    endShare();
}

void CshareMomentScreen::fail(const std::string& message) {
    gUi->popups.showMessage(text("ErrorTitle"));
    gUi->playSound(kFailureSound);
    error_->setHidden(false);
    error_->setText("TextName", message);
    endShare();
}

void CshareMomentScreen::endShare() {
    pending_ = SHARE_NONE;
    stepDone_ = false;
    setUiShown(true);
    if (backAfterShare_) {
        backAfterShare_ = false;
        leave();
    }
}

void CshareMomentScreen::startFileShare() {
    error_->setHidden(true);
    setUiShown(false);
    dialogTimer_ = desktopDialog::prepare();
}

void CshareMomentScreen::chooseFolderAndSave() {
    const std::string folder = desktopDialog::pickFolder();
    if (folder.empty()) {
        gEngine->log.print(LOG_L, "Share: no folder chosen");
        endShare();
        return;
    }
    fileName_ = fileNameFor(folder, session());
    event("SaveToFilePressed");
    if (fileName_.empty()) {
        gEngine->log.print(LOG_E, "Share: no free file name in %s", folder.c_str());
        fail(text("MomentSaveFailed"));
        return;
    }
    timer_ = kFileWait;
    stepDone_ = false;
    capture_ = CAPTURE_NONE;
    pending_ = SHARE_FILE;
}

void CshareMomentScreen::stepFileShare() {
    if (!stepDone_) {
        if (timer_ >= kFileCaptureAt) return;
        stepDone_ = true;
        if (!requestCapture(false)) fail(text("MomentSaveFailed"));
        return;
    }
    if (capture_ == CAPTURE_WAITING) return;
    if (capture_ == CAPTURE_MADE) {
        gEngine->log.print(LOG_L, "Share: saved %s", fileName_.c_str());
        succeed("MomentSuccess");
    } else {
        gEngine->log.print(LOG_E, "Share: can't save %s", fileName_.c_str());
        fail(text("MomentSaveFailed"));
    }
}

void CshareMomentScreen::startSteamShare() {
    error_->setHidden(true);
    pending_ = SHARE_STEAM;
    stepDone_ = false;
    steamResult_ = -1;
    timer_ = kSteamWaitStart;
    setUiShown(false);
    event("SteamPressed");
}

void CshareMomentScreen::onScreenshotReady(ScreenshotReady_t* ready) {
    if (pending_ == SHARE_STEAM && stepDone_ && steamResult_ == -1)
        steamResult_ = ready && ready->result == STEAM_RESULT_OK ? 1 : 0;
}

void CshareMomentScreen::stepSteamShare() {
    if (!stepDone_) {
        if (timer_ >= kSteamTriggerAt) return;
        stepDone_ = true;
        ISteamScreenshots* steam = SteamScreenshots();
        if (!steam) {
            fail(text("SteamShareFailed"));
            return;
        }
        steam->TriggerScreenshot();
        return;
    }
    if (timer_ >= 0) return;
    if (steamResult_ == 1) succeed("MomentSuccess");
    else if (steamResult_ == 0 || timer_ < -kSteamWait) fail(text("SteamShareFailed"));
}

void CshareMomentScreen::startTweet() {
    if (!gEngine->twitter.authorised()) {
        screens::get<CoptionsTwitterScreen>()->open(GM_SHARE_MOMENT, false);
        return;
    }
    gUi->playSound(kShutterSound);
    error_->setHidden(true);
    setUiShown(false);
    pending_ = SHARE_TWEET;
    event("TwitterPressed");
    if (!requestCapture(true)) {
        event("TweetFailed");
        fail(text("MomentSaveFailed"));
    }
}

void CshareMomentScreen::stepTweet() {
    if (capture_ == CAPTURE_WAITING) return;
    if (capture_ != CAPTURE_MADE) {
        event("TweetFailed");
        fail(text("MomentSaveFailed"));
        return;
    }
    capture_ = CAPTURE_NONE;
    Ctwitter& t = gEngine->twitter;
    if (t.tweetWithImage(tweetText(session()))) {
        error_->setHidden(true);
        event("TweetSuccess");
        succeed("TweetSuccess");
    } else {
        event("TweetFailed");
        fail(t.errorText().str());
    }
}
