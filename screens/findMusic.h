#pragma once
// The music indexing screen ("findMusic.txt", state FindMusic): the player
// picks a folder in the desktop's folder dialog and watches the library fill
// as the walk reads it, a slice of the walk per drawn frame; it can be
// stopped at any time. The screen also clears the library's own tracks after
// a confirmation.
#include <functional>
#include <memory>
#include <string>

#include "audio/musicIndexer.h"
#include "screens/layoutScreen.h"

class CfindMusicScreen : public ClayoutScreen {
public:
    static constexpr double kSliceMs = 4.0;   // of each drawn frame, at 60 fps

    CfindMusicScreen();
    ~CfindMusicScreen() override;

    // Draws, then runs the walk's slice of this frame.
    void render() override;

    bool running() const { return walk_ && walk_->running(); }
    const CmusicIndexer* walk() const { return walk_.get(); }
    // The clock that times each frame's slice of the walk (milliseconds);
    // tests give theirs so that a slice is the same on any machine.
    void setWalkClock(std::function<double()> clockMs) {
        if (walk_) walk_->clockMs = std::move(clockMs);
    }

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;

    void start(const std::string& folder);
    void finish();
    void refreshInfo();
    void prepareDialog();
    void openDialog();
    void clearTracks();

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* numTracks_ = nullptr;
    Cwidget* tracksFound_ = nullptr;
    Cwidget* currentFolder_ = nullptr;
    Cwidget* currentFolderTitle_ = nullptr;
    Cwidget* foundTitleHeading_ = nullptr;
    Cwidget* foundTitle_ = nullptr;
    Cwidget* foundAlbum_ = nullptr;
    Cwidget* foundArtist_ = nullptr;
    Cwidget* stop_ = nullptr;

    std::unique_ptr<CmusicIndexer> walk_;
    float dialogTimer_ = 0;
    bool awaitingClear_ = false;
    int tracksAtEntry_ = 0;
    int tracksBeforeWalk_ = 0;   // local tracks when the walk began
};
