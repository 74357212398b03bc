#pragma once
// CmenuMusic: a game bound to its track ends with the track, and the music
// player then stops instead of going on to the next one. Once the player is
// past play and its results, the next track by the player's rule plays, so
// that the menus (and the music bar's clock) are never left silent.
class CmusicPlayer;
class CsongInfoMgr;

class CmenuMusic {
public:
    // The track that just ended was the end of the game.
    void gameEndedWithTrack() { owed_ = true; }
    // Each update with the state in force: plays what follows once it is a menu's.
    void update(int mode, CmusicPlayer& music, CsongInfoMgr& library);
    bool owed() const { return owed_; }

    // States in which the silence after the track stays: play, its countdown and its results.
    static bool holdsSilence(int mode);

private:
    bool owed_ = false;
};
