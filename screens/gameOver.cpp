#include "screens/gameOver.h"

#include <cstdio>

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/screen.h"
#include "engine/ui/uiMgr.h"
#include "game/game.h"
#include "game/gameAward.h"
#include "game/gameTypes.h"
#include "services/analytics.h"

namespace {
constexpr int kDethronedRequests = 9;

bool containsNoCase(std::string text, std::string word) {
    for (char& c : text) c = (char)std::tolower((unsigned char)c);
    for (char& c : word) c = (char)std::tolower((unsigned char)c);
    return text.find(word) != std::string::npos;
}

// The downloaded board of the track being played, or null.
const Cboard* trackBoard(const std::string& key) {
    if (key.empty()) return nullptr;
    CleaderboardMgr& boards = gGame->online.leaderboards;
    const Cboard* b = boards.findBoard(boards.trackBoardName(key));
    return b && b->downloaded ? b : nullptr;
}

}  // namespace

const CwidgetBinding CgameOverTrackScreen::kBindings[] = {
    {&CgameOverTrackScreen::smile_, "Smile"},
    {&CgameOverTrackScreen::gameOver_, "GameOver"},
    {&CgameOverTrackScreen::worldRecord_, "WorldRecord"},
    {&CgameOverTrackScreen::worldRecordText_, "WorldRecordText"},
    {&CgameOverTrackScreen::worldRecordNumber_, "WorldRecordNumber"},
    {&CgameOverTrackScreen::score_, "Score"},
    {&CgameOverTrackScreen::scoreTitle_, "ScoreTitle"},
    {&CgameOverTrackScreen::newHighScore_, "NewHighScore"},
    {&CgameOverTrackScreen::percentage_, "Percentage"},
    {&CgameOverTrackScreen::percentageTitle_, "PercentageTitle"},
    {&CgameOverTrackScreen::newProgress_, "NewProgress"},
    {&CgameOverTrackScreen::songTitle_, "SongTitle"},
    {&CgameOverTrackScreen::commentTitle_, "HighScoreComment"},
    {&CgameOverTrackScreen::commentField_, "HighScoreCommentText"},
    {&CgameOverTrackScreen::emailPrompt_, "EmailPrompt"},
    {&CgameOverTrackScreen::moments_, "Moments"},
};

CgameOverTrackScreen::CgameOverTrackScreen() : CgameOverScreen("gameOver.txt", kBindings, 1.4f) {}

void CgameOverTrackScreen::onEnter() {
    Cgame& g = *gGame;
    const CgameSession& s = g.world.session;
    bool back = enterCommon();
    moments_->setText("", "");
    if (!back) g.world.waves.logWaveRecord();

    const CtrackRecord* rec = g.trackStats.findTrack(s.track.key);
    hasRecord_ = rec != nullptr;
    // On a return the record may hold this run already: what was stored before it stands.
    if (!back) stored_ = rec ? *rec : CtrackRecord{};
    progress_ = std::clamp(s.completion, 0.0f, 1.0f);
    // The track just played: on a return another may be playing by now.
    if (!back) {
        const CsongPackInfo* now = g.music.currentTrack;
        songTitleText_ = now ? g.music.getTrackLabel(now, 0) : s.track.title;
    }
    songTitle_->setText("", songTitleText_);
    int64_t sc = score();
    score_->setText("", formatThousands64(sc));

    CshipSnapshot ship = currentShipSnapshot(g);
    bool firstFinish = finished() && stored_.completion < 1.0f;
    bool beaten = sc > 0 && (uint64_t)sc > stored_.bestScore;
    bool showBest = ship.keepsRecords && (!hasRecord_ || (back && newBest_) || firstFinish || beaten);
    newHighScore_->setHidden(true);

    char pct[16];
    std::snprintf(pct, sizeof pct, "%d%%", (int)(progress_ * 100.0f));
    percentage_->setText("", pct);
    bool newProgress = progress_ > stored_.completion;
    newProgress_->setHidden(true);
    newProgress_->setTextKey(progress_ >= 1.0f ? "ProgressComplete" : "NewProgress");

    float d = baseDelay_;
    popIn(smile_, d);
    popIn(gameOver_, d + 0.1f);
    popIn(songTitle_, d + 0.2f);
    popIn(percentageTitle_, d + 0.3f);
    popIn(percentage_, d + 0.4f);
    if (newProgress) popIn(newProgress_, d + 0.5f);
    popIn(scoreTitle_, d + 0.1f);
    popIn(score_, d + 0.2f);
    if (showBest) popIn(newHighScore_, d + 0.3f);

    counts_ = runKeepsTrackRecords(g);
    if (!back) {
        newBest_ = counts_ && g.trackStats.isNewBest(s.track.key, sc > 0 ? (uint64_t)sc : 0, ship.keepsRecords);
        place_ = -1;
        if (counts_ && finished() && newBest_) {
            const Cboard* board = trackBoard(s.track.key);
            place_ = board ? g.online.leaderboards.getScorePlaceOnBoard(board, (uint64_t)sc) : -1;
        }
        if (counts_ && hasRecord_) comment_ = stored_.comment;
    }

    // The anniversary track counts its play-throughs.
    const CsongPackInfo* anniversary = g.songLibrary.findByPath("music/Decade of Zorbex.mp3");
    if (!back && anniversary && equalsIgnoreCase(anniversary->key, s.track.key)) {
        gEngine->analytics.sendEvent("TB", "PlayThrough", nullptr);
        if (stored_.bestScore == 0) gEngine->analytics.sendEvent("TB", "FirstPlayThrough", nullptr);
    }

    const char* face = place_ >= 0       ? "ui_GrinLogo.png"
                       : finished()      ? "ui_SmileLogo_Small.png"
                       : progress_ <= 0.9f ? "ui_SadLogo.png"
                                         : "ui_AngryLogo.png";
    setSmile(smile_, face);

    if (newBest_ && finished()) {
        popIn(commentTitle_, d + 0.1f, 0.3f);
        popIn(commentField_, d + 0.1f, 0.3f);
        popIn(emailPrompt_, d + 0.1f, 0.5f);
    } else {
        for (Cwidget* w : {commentTitle_, commentField_, emailPrompt_}) w->setHidden(true);
    }
    commentField_->setText("", comment_);
    showPlace(worldRecord_, worldRecordText_, worldRecordNumber_, gameOver_, d + 0.1f);
    if (!back) {
        if (place_ >= 0) countDethroned();
        grantSpecialShips();
        // What the screen announces is kept now, however it is left.
        commitGameResults(g);
    }
}

void CgameOverTrackScreen::countDethroned() {
    Cgame& g = *gGame;
    const CgameSession& s = g.world.session;
    const Cboard* board = trackBoard(s.track.key);
    if (!board) return;
    uint64_t me = g.online.soap.playerId();
    uint64_t sc = (uint64_t)std::max<int64_t>(score(), 0);
    int counted = 0;
    for (size_t i = 0; i < board->entries.size(); ++i) {
        const CboardEntry& e = board->entries[i];
        if (me != 0 && e.playerId == me) return;
        if (e.score >= sc) continue;
        if (counted < kDethronedRequests)
            g.statsCache.requestStats(e.playerId, s.track.key, sc, (int)i, currentShipSnapshot(g).name);
        ++counted;
    }
    gEngine->analytics.sendEventNumber("Dethroned", (float)counted);
}

void CgameOverTrackScreen::grantSpecialShips() {
    Cgame& g = *gGame;
    const CgameSession& s = g.world.session;
    if (!finished()) return;
    uint64_t sc = (uint64_t)std::max<int64_t>(score(), 0);
    bool vessikArtist = containsNoCase(s.track.artist, "Vessik");
    if (g.playerShips.currentIdx == 0 && vessikArtist) {
        if (sc >= kVessikScore && !g.progress.ves5) g.vessikUnlockPending = 1;
        if (place_ >= 0 && place_ < 20 && !g.progress.vor5) g.vornakUnlockPending = 1;
    }
    const CsongPackInfo* chosen = g.songLibrary.findByKey(s.track.key);
    bool builtIn = chosen ? chosen->kind == SONG_BUILT_IN : s.track.entryType == CtrackInfo::ENTRY_BUILT_IN;
    if (sc >= kGoldScore && !g.progress.vuz2 && builtIn && s.track.title.find("Decade of Zorbex!") != std::string::npos)
        g.goldShipUnlockPending = 1;
}

void CgameOverTrackScreen::onUpdate() {
    Cgame& g = *gGame;
    if (stepCommentEntry(commentField_)) return;
    if (stepButtonTimer()) {
        addShareButton();
        if (newBest_ && finished()) {
            addCommentButton();
            addEmailButton();
        }
        addRetryAndOk();
    }
    stepPlaceSparkles(worldRecord_);
    if (!buttonsShown()) return;
    int action = gUi->action();
    if (action == ACTION_SELECT) {
        amendResultComment(g, comment_);
        g.setGameMode(GM_RANK_UP, true);
    } else if (action == ACTION_OPTION_X) {
        amendResultComment(g, comment_);
        retry();
    } else if (action == ACTION_RB && newBest_ && finished()) {
        openEmail(GM_GAME_OVER);
    } else if (action == ACTION_LB && g.autoShots.shots.size() >= 2) {
        openShare(GM_GAME_OVER);
    } else if ((action == ACTION_OPTION_Y && newBest_ && finished()) || screen_->wasPressed(commentField_)) {
        startCommentEntry(commentField_);
    }
}
