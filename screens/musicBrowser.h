#pragma once
// The music browser ("MusicBrowser.txt", state MusicBrowser): the player's own
// tracks through six views of the song library (the computer's folders,
// albums, artists, genres, recent tracks, favourites). Choosing a track plays
// it; "UseNowPlaying" takes the playing track into the game settings.
//
// The screen never keeps a pointer into a library view: the open group is
// held by its index and its text, and looked up again whenever it is used,
// because the views are rebuilt whenever the library changes.
#include <array>
#include <string>

#include "screens/layoutScreen.h"
#include "screens/listRows.h"
#include "screens/musicOrigin.h"

class CsongPackInfo;
struct CsongGroupRef;

class CmusicBrowserScreen : public ClayoutScreen {
public:
    static constexpr size_t kMaxFolderChars = 1023;

    CmusicBrowserScreen();

    // Opens the screen for the screen that asks: Back returns there, and a
    // game type screen gets the playing track through "UseNowPlaying".
    void open(EmusicOrigin origin);
    // The hub's roads never inherit a party's or a game type's hand-over.
    void clearOrigin() { origin_ = MUSIC_FROM_TYPE_LIST; }
    EmusicOrigin origin() const { return origin_; }
    // The library lost tracks or gained them: the group lists are made again.
    void libraryChanged();

    int view() const { return view_; }
    bool groupOpen() const { return group_ >= 0; }
    const std::string& currentFolder() const;

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    void refresh();
    void buildTrackList();
    void buildGroupList();
    void setView(int view);
    void openFirstGroup();
    void openGroup(int index);
    void closeGroup();
    void setTabsHidden(bool hidden);
    void markActiveTab();
    void syncTrashMarks();
    struct Ctab {
        Cwidget* tab;
        int view;
    };
    std::array<Ctab, 6> tabs() const;
    void addButtons();
    void listFolder();
    bool pressRow(Cwidget* row);
    void openLeaderboard(const CsongPackInfo* track);
    void letterJump();
    void refreshFinishedBoards();
    void requestBoards();
    void leave();
    // The open group, looked up afresh; null when none or when it has gone.
    const std::vector<CsongPackInfo*>* openGroupTracks();
    CsongPackInfo* rowEntry(const Cwidget* row);
    const CsongPackInfo* entryOfValue(int64_t value);
    Cmenu* groupMenu() const;

    static const CwidgetBinding kBindings[];
    Cmenu* fileMenu_ = nullptr;
    Cmenu* albumMenu_ = nullptr;
    Cmenu* artistMenu_ = nullptr;
    Cmenu* genreMenu_ = nullptr;
    Cmenu* trackMenu_ = nullptr;
    Cmenu* active_ = nullptr;
    Cwidget* filesTab_ = nullptr;
    Cwidget* albumsTab_ = nullptr;
    Cwidget* artistsTab_ = nullptr;
    Cwidget* genreTab_ = nullptr;
    Cwidget* favouritesTab_ = nullptr;
    Cwidget* recentTab_ = nullptr;
    Cwidget* keyLocal_ = nullptr;
    Cwidget* keyOpenMic_ = nullptr;
    Cwidget* keyLocalSprite_ = nullptr;
    Cwidget* keyOpenMicSprite_ = nullptr;
    Cwidget* shipSprite_ = nullptr;
    Cwidget* shipCross_ = nullptr;
    Cwidget* shipText_ = nullptr;
    Cwidget* folderText_ = nullptr;
    Cwidget* tabLeft_ = nullptr;
    Cwidget* tabRight_ = nullptr;

    int view_ = 0;
    int group_ = -1;            // index of the open group in its view
    std::string groupText_;     // album, artist or genre of the open group
    uint32_t groupListGeneration_[5] = {};   // views generation each group menu was made from (+1; 0 none)
    uint32_t trackListGeneration_ = 0;
    EmusicOrigin origin_ = MUSIC_FROM_TYPE_LIST;
    bool keepOnReturn_ = false;
    CtrackBoardRequests boardRequests_;
    int lastHighlighted_ = -1;
    bool lastWasLocalFile_ = false;
};
