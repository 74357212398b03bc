#include "screens/listRows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/songViewOrder.h"
#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/menu.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"
#include "engine/ui/widget.h"
#include "game/game.h"
#include "game/gameTypes.h"
#include "game/musicLink.h"
#include "game/progress/shipMission.h"
#include "online/scoreRecord.h"
#include "screens/musicBar.h"
#include "screens/screenRegistry.h"
#include "screens/shipRows.h"

namespace {
const char* tr(const char* tag) { return gEngine->text(tag); }

uint64_t signedInId() { return gGame->online.soap.playerId(); }
bool isFriend(uint64_t id) { return gGame->online.friends.contains(id); }
int64_t serviceTime() { return gGame->online.soap.unixTime(); }

void setCountryFlag(Cwidget* row, const std::string& country);
void setFriendMark(Cwidget* row, uint64_t playerId);

// The texts a row filled, to colour the player's own row.
class CrowFill {
public:
    explicit CrowFill(Cwidget* row) : row_(row) {}
    void text(const char* gadget, const std::string& value) {
        Cgadget* g = row_->findTextGadget(gadget, false);
        if (!g) return;
        row_->setTextStr(g, CbString(value));
        g->hidden = false;
        filled_.push_back(g);
    }
    // A text whose end must stay readable (a track's length after its name):
    // the head gives way, cut with an ellipsis, so that head and tail fit the
    // cell at its smallest legible size.
    void textKeepingTail(const char* gadget, const std::string& head, const std::string& tail) {
        Cgadget* g = row_->findTextGadget(gadget, false);
        if (!g) return;
        const float floor = uiDraw::legibleFloor(g->font, g->textScale);
        const float room = row_->textBox(*g).x - uiDraw::measureText(g->font, tail, floor).x;
        const std::string whole = head + tail;
        const bool fits = uiDraw::measureText(g->font, whole, floor).x <= row_->textBox(*g).x;
        text(gadget, fits ? whole : uiDraw::cutWithEllipsis(g->font, head, floor, room) + tail);
    }
    // The flag, the own-row colour and (for rows that have it) the friend mark.
    void finish(const std::string& country, uint64_t playerId, bool friendMark = true) {
        setCountryFlag(row_, country);
        colourOwn(playerId);
        if (friendMark) setFriendMark(row_, playerId);
    }
    void colourOwn(uint64_t playerId) {
        if (playerId == 0 || playerId != signedInId()) return;
        for (Cgadget* g : filled_) g->colour = gGame->namedColours.reallyLightGreen;
    }

private:
    Cwidget* row_;
    std::vector<Cgadget*> filled_;
};

// A sprite swap that keeps the gadget's displayed scale; a sprite that
// does not exist leaves the gadget empty.
void swapSpriteKeepScale(Cgadget* g, const std::string& name) {
    if (!g) return;
    Csprite* sprite = name.empty() ? nullptr : gEngine->sprites.findSprite(name, false);
    Csprite* old = g->sprite ? g->sprite : (g->spriteName.empty() ? nullptr : gEngine->sprites.findSprite(g->spriteName, false));
    if (old && sprite && old->width > 0) {
        const float factor = g->width / old->width;
        g->width = sprite->width * factor;
        g->height = sprite->height * factor;
    }
    g->spriteName = sprite ? name : std::string();
    g->setSprite(sprite);
}

void setCountryFlag(Cwidget* row, const std::string& country) {
    Cgadget* g = row->findSpriteGadget("Country");
    if (!g) return;
    const std::string flag = "flag_" + country + ".png";
    const bool known = !country.empty() && gEngine->sprites.findSprite(flag, false);
    swapSpriteKeepScale(g, known ? flag : std::string("flag_unknown.png"));
}

void setFriendMark(Cwidget* row, uint64_t playerId) {
    if (Cgadget* g = row->findSpriteGadget("Friend")) g->hidden = !isFriend(playerId);
}

std::string scoreText(const Cboard& board, uint64_t score) {
    return board.scorePrefix + formatThousands64((int64_t)score);
}

std::string diffText(int32_t difficulty, float factor) {
    return CbString::format("%s - %d%%", difficultyName(difficulty), (int)(factor * 100.0f)).str();
}

std::string deathsText(int8_t deaths) { return CbString::format("%s %d", tr("NumDeaths"), (int)deaths).str(); }

// The place, or the top-percent estimate below the board's top list.
void setRank(Cwidget* row, CrowFill& fill, const Cboard& board, const CboardEntry& entry, int rank,
             uint64_t topScore, bool estimate) {
    if (!estimate || rank <= board.topCount) {
        fill.text("Rank", ordinalText(rank));
        return;
    }
    const int64_t pct = topPercent(entry.score, topScore);
    if (pct >= 100) {
        if (Cgadget* g = row->findTextGadget("Rank", false)) g->hidden = true;
        return;
    }
    fill.text("Rank", CbString::format("%s %d%%", tr("TopPercent"), (int)pct).str());
}

bool canFill(Cwidget* row) { return row != nullptr; }
}  // namespace

int64_t topPercent(uint64_t score, uint64_t topScore) {
    if (topScore == 0) return 100;
    double r = (double)score / (double)topScore;
    r = std::min(1.0, std::max(0.0, r));
    const float x = 1.0f - (float)r;
    float p = x;
    for (int i = 0; i < 11; ++i) p *= x;
    int64_t pct = (int64_t)(p * 100.0f);
    return pct < 1 ? 1 : pct;
}

std::string daysAgoText(int64_t today, int32_t day) {
    const int64_t d = today - day;
    if (d == 0) return tr("Today");
    if (d == 1) return tr("Yesterday");
    return CbString::format("%lld %s", (long long)d, tr("DaysAgo")).str();
}

std::string shortLengthText(int t) {
    if (t < 0) t = 0;
    if (t >= 3600) return CbString::format("%02dh %02dm", t / 3600, (t % 3600) / 60).str();
    if (t >= 60) return CbString::format("%02d:%02d", t / 60, t % 60).str();
    return CbString::format("%01d", t).str();
}

void fillBasicBoardRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int rank, uint64_t topScore) {
    if (!canFill(row)) return;
    const CbasicScore rec = CbasicScore::read(entry.record);
    CrowFill fill(row);
    setRank(row, fill, board, entry, rank, topScore, true);
    fill.text("Name", rec.name);
    fill.text("Score", scoreText(board, entry.score));
    fill.text("Comment", rec.comment);
    fill.text("Date", daysAgoText(serviceTime() / 86400, rec.day));
    fill.text("Ship", rec.ship);
    fill.finish(rec.country, entry.playerId);
}

void fillPerSongBoardRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int rank, uint64_t topScore) {
    if (!canFill(row)) return;
    const CperSongScore rec = CperSongScore::read(entry.record);
    CrowFill fill(row);
    setRank(row, fill, board, entry, rank, topScore, true);
    fill.text("Name", rec.name);
    fill.text("Score", scoreText(board, entry.score));
    fill.text("Ship", gGame->standardShipFlag ? std::string(tr("StandardShip")) : rec.ship);
    fill.text("Date", daysAgoText(serviceTime() / 86400, rec.day));
    fill.text("DiffVis", diffText(rec.difficulty, rec.difficultyFactor));
    fill.text("Comment", rec.comment);
    fill.text("NumDeaths", deathsText(rec.deaths));
    fill.finish(rec.country, entry.playerId);
}

void fillGeneralTracksRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int rank, uint64_t topScore) {
    if (!canFill(row)) return;
    const CgeneralTracksScore rec = CgeneralTracksScore::read(entry.record);
    CrowFill fill(row);
    setRank(row, fill, board, entry, rank, topScore, true);
    fill.text("Name", rec.name);
    fill.text("Score", scoreText(board, entry.score));
    fill.text("Date", daysAgoText(serviceTime() / 86400, rec.day));
    fill.text("DiffVis", diffText(rec.difficulty, rec.difficultyFactor));
    fill.text("Comment", rec.comment);
    fill.text("TrackTitle", rec.trackTitle);
    fill.text("NumDeaths", deathsText(rec.deaths));
    fill.text("Ship", rec.ship);
    fill.finish(rec.country, entry.playerId);
}

void fillChallengeBoardRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int rank, uint64_t topScore) {
    if (!canFill(row)) return;
    const CperSongScore rec = CperSongScore::read(entry.record);
    CrowFill fill(row);
    setRank(row, fill, board, entry, rank, topScore, false);
    fill.text("Name", rec.name);
    fill.text("Score", scoreText(board, entry.score));
    fill.text("Ship", rec.ship);
    fill.text("Comment", rec.comment);
    fill.finish(rec.country, entry.playerId, false);
}

void fillDailyTracksRow(Cwidget* row, const Cboard& board, const CboardEntry& entry, int, uint64_t) {
    if (!canFill(row)) return;
    const CdailyTrackScore rec = CdailyTrackScore::read(entry.record);
    CrowFill fill(row);
    fill.text("Name", rec.name);
    // The board's score is the time of the submit; the game score is in the record.
    fill.text("Score", scoreText(board, rec.gameScore));
    fill.text("DiffVis", diffText(rec.difficulty, rec.difficultyFactor));
    fill.text("Comment", rec.comment);
    fill.text("Ship", rec.ship);
    fill.text("NumDeaths", deathsText(rec.deaths));
    fill.textKeepingTail("TrackTitle", rec.artist + " - " + rec.title + " - " + rec.album,
                         " (" + shortLengthText(rec.length) + ")");
    setCountryFlag(row, rec.country);
    int64_t s = serviceTime() - (int64_t)entry.score;
    if (s < 0) s = 0;
    fill.text("Date", CbString::format("%02dh %02dm %s", (int)(s / 3600), (int)((s % 3600) / 60), tr("Ago")).str());
    fill.colourOwn(entry.playerId);
    setFriendMark(row, entry.playerId);
}

void fillFriendRows(Cwidget* w, const CsongPackInfo* track) {
    if (!w) return;
    char name[16];
    auto text = [&](const char* fmt, int i) -> Cgadget* {
        snprintf(name, sizeof name, fmt, i);
        return w->findTextGadget(name, false);
    };
    // The panel's status line says what there is when there are no rows;
    // the rank boxes are too small for it.
    Cgadget* status = w->findTextGadget("Status", false);
    if (status) w->setTextStr(status, CbString());
    for (int i = 1; i <= 4; ++i) {
        for (const char* fmt : {"Rank%d", "Name%d", "Score%d"})
            if (Cgadget* g = text(fmt, i)) w->setTextStr(g, CbString());
        snprintf(name, sizeof name, "Friend%d", i);
        if (Cgadget* g = w->findSpriteGadget(name)) g->hidden = true;
    }
    if (!track) return;
    Conline& online = gGame->online;
    const CnamedColours& c = gGame->namedColours;
    std::string boardName = track->getKey();
    if (!gGame->standardShipFlag && !online.dailyChallenge.active && !online.lightningChallenge.active)
        boardName = "Shp_" + boardName;
    Cgadget* rank1 = text("Rank%d", 1);
    Cgadget* said = status ? status : rank1;
    const Cboard* board = online.leaderboards.findBoard(boardName);
    if (!board) {
        const bool hasRecord = gGame->trackStats.findTrack(track->getKey()) != nullptr;
        if (said) {
            w->setTextStr(said, CbString(tr(hasRecord ? "Downloading" : "NotDownloaded")));
            said->colour = hasRecord ? c.orange : c.red;
        }
        return;
    }
    if (board->entries.empty()) {
        if (said) {
            w->setTextStr(said, CbString(tr("NoScores")));
            said->colour = c.orange;
        }
        return;
    }
    if (rank1) rank1->colour = c.white;
    const uint64_t me = signedInId();
    const uint64_t top = board->entries[0].score;
    const int numTop = std::min(board->topCount, 3);
    int line = 1;
    for (size_t i = 0; i < board->entries.size() && line <= 4; ++i) {
        const bool inTop = (int)i < board->topCount;
        if (inTop && (int)i >= numTop) continue;   // the rest of the top list is not shown
        const CboardEntry& e = board->entries[i];
        const Ccolour& colour = e.playerId == me ? c.lightGreen : c.white;
        const std::string rankText = inTop ? std::string(ordinalText(line))
                                           : CbString::format("%d%%", (int)topPercent(e.score, top)).str();
        const std::string values[3] = {rankText, readRecordText(e.record, 0, kRecordNameWidth), formatThousands64((int64_t)e.score)};
        const char* fmts[3] = {"Rank%d", "Name%d", "Score%d"};
        for (int k = 0; k < 3; ++k) {
            if (Cgadget* g = text(fmts[k], line)) {
                w->setTextStr(g, CbString(values[k]));
                g->colour = colour;
            }
        }
        snprintf(name, sizeof name, "Friend%d", line);
        if (Cgadget* g = w->findSpriteGadget(name)) g->hidden = inTop ? !isFriend(e.playerId) : false;
        ++line;
    }
}

void showPlaceBadge(Cwidget* w, int placeIndex) {
    if (!w) return;
    for (const char* name : {"CrownSprite", "CrownTitle", "RosetteSprite", "RosetteTitle"})
        if (Cgadget* g = w->findGadget(name)) g->hidden = true;
    if (placeIndex < 0) return;
    const bool first = placeIndex == 0;
    Cgadget* sprite = w->findGadget(first ? "CrownSprite" : "RosetteSprite");
    Cgadget* title = w->findTextGadget(first ? "CrownTitle" : "RosetteTitle", false);
    if (sprite) sprite->hidden = false;
    if (title) {
        title->hidden = false;
        w->setTextStr(title, CbString(ordinalText(placeIndex + 1)));
    }
    if (!first && sprite) {
        swapSpriteKeepScale(sprite, "ui_rosette.png");
    }
}

void setBoardBadge(Cwidget* w, const CsongPackInfo* track) {
    showPlaceBadge(w, -1);
    if (!w || !track) return;
    const Cboard* board = gGame->online.leaderboards.getShipBoard(gGame->standardShipFlag != 0, track->getKey());
    if (!board) return;
    const uint64_t me = signedInId();
    for (size_t i = 0; i < board->entries.size(); ++i) {
        if (board->entries[i].playerId == me) {
            showPlaceBadge(w, (int)i);
            return;
        }
    }
}

namespace {
void tintFirstSprite(Cwidget* w, const Ccolour& c) {
    if (Cgadget* g = w->findSpriteGadget()) g->colour = c;
}
// The heart and the trash stand side by side in the gap left of the rows
// (1000 wide in lists 1180 wide), on the row's middle: stacked, they ran into
// the next row's icons and past the list's top.
constexpr float kHeartDx = -570, kTrashDx = -528;
Cwidget* addIcon(Cmenu* menu, const char* templ, float kind, int64_t trackId, float dx) {
    CwidgetPtr icon = gEngine->ui.createWidget(templ);
    if (!icon) return nullptr;
    icon->floatValue = kind;
    icon->value = trackId;
    return menu->insertItem(std::move(icon), -1, true, dx, 0);
}
}  // namespace

// Only the heart says it: red for a favourite, plain grey (clearly there,
// to be clicked) for the rest; the row beside it keeps its own look.
void markHeartIcon(Cwidget* heart, bool favourite) {
    const CnamedColours& c = gGame->namedColours;
    tintFirstSprite(heart, favourite ? c.darkRed : c.grey);
    heart->toggle = true;
}

// A track marked for deleting keeps its trash lit until it is taken back.
void markTrashIcon(Cwidget* trash, bool removed) {
    const CnamedColours& c = gGame->namedColours;
    tintFirstSprite(trash, removed ? c.red : c.white);
    trash->toggle = true;
}

void addHeartIcon(Cmenu* menu, int64_t trackId, bool favourite) {
    if (!menu) return;
    if (Cwidget* heart = addIcon(menu, "Heart", kTrackRowHeart, trackId, kHeartDx)) markHeartIcon(heart, favourite);
}

void addHeartAndTrashIcons(Cmenu* menu, int64_t trackId, bool favourite) {
    if (!menu) return;
    addHeartIcon(menu, trackId, favourite);
    if (Cwidget* trash = addIcon(menu, "Trash", kTrackRowTrash, trackId, kTrashDx)) tintFirstSprite(trash, gGame->namedColours.white);
}

void setHeartIconState(Cmenu* menu, bool favourite, int64_t trackId) {
    if (!menu) return;
    for (size_t i = 0; i < menu->itemCount(); ++i) {
        Cwidget* item = menu->madeItem(i);   // a row made later takes the track's mark then
        if (item && item->floatValue == kTrackRowHeart && item->value == trackId) markHeartIcon(item, favourite);
    }
}

void setTrashIconState(Cmenu* menu, bool removed, int64_t trackId) {
    if (!menu) return;
    for (size_t i = 0; i < menu->itemCount(); ++i) {
        Cwidget* item = menu->madeItem(i);
        if (item && item->floatValue == kTrackRowTrash && item->value == trackId) markTrashIcon(item, removed);
    }
}

void updateHeartIconState(Cmenu* menu, const CsongPackInfo* track, int64_t trackId) {
    if (!track || track->kind == SONG_FOLDER) return;
    setHeartIconState(menu, track->favourite != 0, trackId);
}

void fillTrackProgress(Cwidget* w, const CsongPackInfo* track, bool isHud) {
    if (!w) return;
    const char* names[3] = {"HighScore", "Ship", "Progress"};
    const bool empty = !track || track->kind == SONG_FOLDER || track->kind == SONG_DRIVE ||
                       (isHud && gEngine->audio.openMicRunning);
    if (empty) {
        for (const char* n : names)
            if (Cgadget* g = w->findTextGadget(n, false)) w->setTextStr(g, CbString());
        return;
    }
    CtrackRecord none;
    const CtrackRecord* rec = gGame->trackStats.findTrack(track->getKey());
    if (!rec) rec = &none;
    std::string progress = CbString::format("%d%%", (int)(rec->completion * 100.0f)).str();
    if (rec->completion > 0) progress += std::string(" (") + difficultyName(rec->difficulty) + ")";
    const std::string values[3] = {formatThousands64((int64_t)rec->bestScore), rec->shipName, progress};
    const CnamedColours& c = gGame->namedColours;
    const Ccolour& colour = rec->completion >= 1.0f ? c.reallyLightGreen : rec->completion <= 0.0f ? c.grey : c.lightYellow;
    for (int i = 0; i < 3; ++i) {
        if (Cgadget* g = w->findTextGadget(names[i], false)) {
            w->setTextStr(g, CbString(values[i]));
            g->colour = colour;
        }
    }
}

std::string timeLeftText(float seconds) {
    const int t = seconds > 0 ? (int)seconds : 0;
    const int h = t / 3600, m = (t % 3600) / 60, s = t % 60;
    if (h > 0) return CbString::format("%02dh %02dm %02ds", h, m, s).str();
    return CbString::format("%02d:%02d", m, s).str();
}

void setTimeLeftText(Cwidget* w) {
    if (!w) return;
    CaudioBASS& audio = gEngine->audio;
    CmusicPlayer& music = gGame->music;
    if (!audio.openMicRunning && audio.radioPlaying && audio.streamTitleChanged) {
        audio.streamTitleChanged = false;
        updateChallengeHeaders(music.currentTrack);
        gGame->menuBackground.pickNewStyle();
    }
    const bool live = audio.openMicRunning || audio.radioPlaying;
    const bool standardPlay = gGame->mode() == GM_PLAYING && gGame->world.session.gameType == GAMETYPE_STANDARD;
    if (live && !standardPlay) return;
    if (Cgadget* bar = w->findProgressBar()) bar->fill = std::min(1.0f, std::max(0.0f, music.getTrackProgress()));
    if (Cgadget* g = w->findTextGadget("TimeLeft", false)) w->setTextStr(g, CbString(timeLeftText(music.getTimeRemaining())));
}

CnowPlayingHeaders& nowPlayingHeaders() {
    static CnowPlayingHeaders headers;
    return headers;
}

void nameOpenMicTrack() {
    CmusicPlayer& music = gGame->music;
    if (!music.openMicRunning()) return;
    music.setOpenMicTrackName();
    updateChallengeHeaders(music.currentTrack);
}

void updateChallengeHeaders(const CsongPackInfo* track) {
    CnowPlayingHeaders& h = nowPlayingHeaders();
    updateChallengeHeader(h.hud, track, true);
    updateChallengeHeader(h.partyHud, track, true);
    updateChallengeHeader(h.musicBar, track, false);
}

void updateChallengeHeader(Cwidget* w, const CsongPackInfo* track, bool isHud) {
    if (!track) return;
    const int mode = gGame->mode();
    const bool inPlay = mode == GM_PLAYING || mode == GM_321_GO;
    const bool standard = gGame->world.session.gameType == GAMETYPE_STANDARD;
    bool hide = true;
    if (gEngine->audio.openMicRunning) {
        if (isHud && inPlay) hide = !standard;
        if (gGame->world.session.openMicStart && !gGame->world.session.openMicStart2) hide = true;
    } else if (track->kind != SONG_RADIO) {
        hide = false;
    } else {
        hide = !(isHud && inPlay && standard);
    }
    if (w) {
        if (Cgadget* g = w->findTextGadget("Title", false)) w->setTextStr(g, CbString(gGame->music.getTrackLabel(track, 1)));
        if (Cgadget* bar = w->findProgressBar()) bar->hidden = hide;
        if (Cgadget* g = w->findTextGadget("TimeLeft", false)) g->hidden = hide;
    }
    if (mode != GM_PLAYING)
        if (CmusicBarScreen* bar = screens::get<CmusicBarScreen>()) bar->setTrack(track);
}

// ---- track rows ----

namespace {
// Where a track row's parts sit: the row in the middle of the list (its heart
// and trash icons to its left), the top scores and the badge on its right.
constexpr float kRowDx = 0, kBoardInfoDx = 330, kRosetteDx = 460, kRosetteDy = -2;
constexpr float kRequestIdle = 100000000.0f;
bool hasTrackRecord(const std::string& key) { return gGame->trackStats.findTrack(key) != nullptr; }
}  // namespace

namespace {
enum EtrackSlot : uint8_t { SLOT_ROW, SLOT_BOARD_INFO, SLOT_BADGE, SLOT_HEART, SLOT_TRASH };

// A track list held as one small record a row; a row's widgets are made from
// the entry its value stands for when the row comes near view, so they show
// the entry's favourite and removed marks and the boards as they are then.
class CtrackRows : public CrowSource {
public:
    CtrackRows(CtrackRowEntry entryOf, bool pointer, bool withTrash) : entryOf_(std::move(entryOf)), pointer_(pointer) {
        const CuiMgr& ui = gEngine->ui;
        const Cwidget* row = ui.findTemplate("SongInfoItem");
        if (!row) return;
        rowHeight_ = row->height;
        slots_.push_back(SLOT_ROW);
        if (ui.findTemplate("SongLeaderBoardInfoItem")) slots_.push_back(SLOT_BOARD_INFO);
        if (ui.findTemplate("LeaderBoardRosette")) slots_.push_back(SLOT_BADGE);
        if (pointer && ui.findTemplate("Heart")) slots_.push_back(SLOT_HEART);
        if (pointer && withTrash && ui.findTemplate("Trash")) slots_.push_back(SLOT_TRASH);
    }
    void add(int64_t value, const CsongPackInfo& e) {
        if (slots_.empty()) return;
        records_.push_back({value, e.isTrack(), !(e.kind == SONG_OPEN_MIC && pointer_)});
    }
    size_t rowCount() const override { return records_.size(); }
    size_t rowItems(size_t row) const override { return records_[row].track ? slots_.size() : 1; }
    bool selectable(size_t row, size_t slot) const override {
        return slot == 0 ? records_[row].rowSelectable : slots_[slot] != SLOT_BADGE;
    }
    int64_t rowValue(size_t row) const override { return records_[row].value; }
    float rowHeight() const override { return rowHeight_; }
    void makeRow(size_t row, std::vector<CwidgetPtr>& out) override;

private:
    struct Crecord {
        int64_t value;
        bool track;
        bool rowSelectable;
    };
    CtrackRowEntry entryOf_;
    bool pointer_;
    float rowHeight_ = 0;
    std::vector<EtrackSlot> slots_;   // a track's row: its head, then the items beside it
    std::vector<Crecord> records_;
};

CwidgetPtr makeTrackHead(const CsongPackInfo* e) {
    bool folderRow = e->kind == SONG_FOLDER || e->kind == SONG_DRIVE;
    bool track = e->isTrack();
    CwidgetPtr made = gEngine->ui.createWidget("SongInfoItem");
    if (!made) return made;
    Cwidget* row = made.get();
    if (Cgadget* ship = row->findGadget("ProcShip")) {
        bool hasShip = track && e->kind != SONG_RADIO && gGame->playerShips.findShip(e->getKey());
        row->setSprite("ProcShip", hasShip ? "ui_shipThumbUp.png" : "ui_shipThumbDown.png");
        ship->hidden = !hasShip;
    }
    if (e->kind == SONG_FOLDER && e->path == "..")
        row->setSprite("FolderIcon", "ui_backFolder.png");
    else if (e->kind == SONG_DRIVE)
        row->setSprite("FolderIcon", "ui_hardDrive.png");
    else if (e->kind == SONG_OPEN_MIC)
        row->setSprite("FolderIcon", "ui_musicMic.png");
    else if (e->isLocal())
        row->setSprite("FolderIcon", "ui_musicNote.png");
    if (folderRow) {
        row->setText("NumTracks", "");
        row->setText("Title2", "");
        row->setText("Duration", "");
        row->setText("Title1", trackRowTitle(*e));
    } else {
        bool number = e->tags.trackNumber != 0 && e->kind != SONG_OPEN_MIC;
        row->setText("NumTracks", number ? "#" + std::to_string(e->tags.trackNumber) : "");
        row->setText("Title1", trackRowTitle(*e));
        row->setText("Title2", e->tags.album + " - " + e->tags.artist);
        row->setText("Duration", trackLengthText(e->tags.length));
    }
    fillTrackProgress(row, track ? e : nullptr, false);
    return made;
}

CwidgetPtr makeTrackSlot(EtrackSlot slot, const CsongPackInfo* e) {
    switch (slot) {
        case SLOT_BOARD_INFO: {
            CwidgetPtr info = gEngine->ui.createWidget("SongLeaderBoardInfoItem");
            if (info) {
                fillFriendRows(info.get(), e);
                info->floatValue = kTrackRowBoardInfo;
                info->rowDx = kBoardInfoDx;
            }
            return info;
        }
        case SLOT_BADGE: {
            CwidgetPtr badge = gEngine->ui.createWidget("LeaderBoardRosette");
            if (badge) {
                setBoardBadge(badge.get(), e);
                badge->floatValue = kTrackRowRosette;
                badge->rowDx = kRosetteDx;
                badge->rowDy = kRosetteDy;
            }
            return badge;
        }
        case SLOT_HEART:
        case SLOT_TRASH: {
            const bool heart = slot == SLOT_HEART;
            CwidgetPtr icon = gEngine->ui.createWidget(heart ? "Heart" : "Trash");
            if (icon) {
                icon->floatValue = heart ? kTrackRowHeart : kTrackRowTrash;
                icon->rowDx = heart ? kHeartDx : kTrashDx;
                if (heart)
                    markHeartIcon(icon.get(), e->favourite != 0);
                else
                    markTrashIcon(icon.get(), e->removed != 0);
            }
            return icon;
        }
        default: return nullptr;
    }
}

void CtrackRows::makeRow(size_t row, std::vector<CwidgetPtr>& out) {
    const Crecord& r = records_[row];
    const CsongPackInfo* e = entryOf_(r.value);
    if (!e) return;   // gone since the list was made: the menu stands blanks in
    for (size_t k = 0; k < rowItems(row); ++k) {
        CwidgetPtr w = k == 0 ? makeTrackHead(e) : makeTrackSlot(slots_[k], e);
        if (w) {
            w->value = r.value;
            w->selectable = selectable(row, k);
            if (k == 0) w->rowDx = kRowDx;
        }
        out.push_back(std::move(w));
    }
}
}  // namespace

const std::string& trackRowTitle(const CsongPackInfo& e) {
    return e.kind == SONG_FOLDER || e.kind == SONG_DRIVE ? e.path : e.tags.title;
}

void setTrackRows(Cmenu* menu, const std::vector<int64_t>& values, const CtrackRowEntry& entryOf, bool pointer,
                  bool withTrash) {
    if (!menu) return;
    auto rows = std::make_unique<CtrackRows>(entryOf, pointer, withTrash);
    for (int64_t v : values)
        if (const CsongPackInfo* e = entryOf(v)) rows->add(v, *e);
    menu->setRows(std::move(rows));
}

void refreshTrackBoards(Cmenu* menu, const CtrackRowEntry& entryOf) {
    CleaderboardMgr& boards = gGame->online.leaderboards;
    if (boards.finishedBoards().empty()) return;
    for (const std::string& name : boards.finishedBoards()) {
        for (size_t i = 0; menu && i < menu->itemCount(); ++i) {
            Cwidget* w = menu->madeItem(i);   // rows made later read the boards then
            if (!w || (w->floatValue != kTrackRowBoardInfo && w->floatValue != kTrackRowRosette)) continue;
            const CsongPackInfo* e = entryOf(w->value);
            if (!e || !equalsIgnoreCase(boards.trackBoardName(e->getKey()), name)) continue;
            if (w->floatValue == kTrackRowBoardInfo)
                fillFriendRows(w, e);
            else
                setBoardBadge(w, e);
        }
    }
    boards.clearFinishedBoards();
}

void CtrackBoardRequests::step(Cmenu* menu, const CtrackRowEntry& entryOf) {
    int count = menu ? (int)menu->itemCount() : 0;
    if (count == 0) return;
    int sel = std::min(menu->getSelectedIdx(), count - 1);
    if (sel != lastSelection_) {
        lastSelection_ = sel;
        timer_ = 0.01f;
        cursor_ = std::max(0, sel - 10);
    }
    timer_ -= (float)gEngine->frameTime;
    if (timer_ >= 0) return;
    timer_ = 0.1f;
    if (const CsongPackInfo* e = entryOf(menu->itemValue((size_t)cursor_))) {
        if (e->isTrack() && hasTrackRecord(e->getKey()))
            gGame->online.leaderboards.requestTrackBoard(e->getKey(), gGame->online.leaderboards.standardShipFlag != 0);
    }
    cursor_ += 5;
    if (cursor_ > sel + 10 || cursor_ >= count) timer_ = kRequestIdle;
}

// ---- mission cards ----

void setNextMissionLine(Cwidget* w, int& line, const std::string& text) {
    Cgadget* g = w ? w->findGadget("Text" + std::to_string(line + 1)) : nullptr;
    if (!g) return;
    w->setText(g->name, text);
    g->hidden = false;
    ++line;
}

void fillTrackList(Cwidget* w, int index, const CshipMission& m, bool complete) {
    if (!w) return;
    for (int i = 1; i <= 7; ++i)
        if (Cgadget* g = w->findGadget("Text" + std::to_string(i))) g->hidden = true;
    for (const char* name : {"NumTracks", "Note"})
        if (Cgadget* g = w->findGadget(name)) g->hidden = true;
    if (Cgadget* star = w->findGadget("Star"))
        star->colour = complete ? gGame->namedColours.white : gGame->namedColours.darkGrey;
    w->setText("MissionType", CbString::format("%d) %s", index + 1, shipWords(m.name).c_str()).str());
    int line = 0;
    auto label = [](const char* tag, const std::string& value) { return std::string(gEngine->text(tag)) + " " + value; };
    setNextMissionLine(w, line, getStringFromMissionType((int)m.type));
    if (m.type == MissionType_CompleteTrack) {
        std::string condition = getStringFromTrackCondition((int)m.condition);
        if (m.condition != TrackCondition_None) condition += " '" + m.conditionText + "'";
        setNextMissionLine(w, line, condition);
        w->setText("NumTracks", std::to_string(tracksMeetingCondition(gGame->songLibrary, m).size()));
        for (const char* name : {"NumTracks", "Note"})
            if (Cgadget* g = w->findGadget(name)) g->hidden = false;
    }
    if (m.bossRushWave > 0) setNextMissionLine(w, line, label("MissionBossRushWave", formatThousands(m.bossRushWave)));
    if (m.survivalTime > 0) setNextMissionLine(w, line, label("MissionSurvivalTime", timeLeftText(m.survivalTime)));
    if (m.score > 0) setNextMissionLine(w, line, label("ScoreOver", formatThousands64(m.score)));
    if (m.difficulty > 0) setNextMissionLine(w, line, label("DifficultyAtLeast", difficultyName((int)m.difficulty)));
    if (m.noExtraLives) setNextMissionLine(w, line, gEngine->text("NoExrtaLives"));
    if (m.minTrackLength > 120.0f) setNextMissionLine(w, line, label("MinTrackLen", timeLeftText(m.minTrackLength)));
    for (uint32_t r : m.weaponRestriction)
        if (r != WeaponRestriction_None)
            setNextMissionLine(w, line, label("WeaponRestriction", getStringFromWeaponRestriction((int)r)));
    if (m.rank > 0) setNextMissionLine(w, line, CbString::format("%s %d", gEngine->text("Rank26"), (int)m.rank).str());
}
