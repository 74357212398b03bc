#pragma once
// The music type list ("MusicTypeList.txt", state MusicTypeList): where the
// music comes from. The player's own music (the music browser), internet
// radio (the radio browser), open mic (started and stopped right here), the
// search for music on the computer and the open-mic settings.
#include "screens/layoutScreen.h"

class CmusicTypeListScreen : public ClayoutScreen {
public:
    CmusicTypeListScreen();

    // Whether the open-mic row reads "stop".
    bool openMicShownRunning() const { return openMicShownRunning_; }

private:
    bool onLoaded() override;
    void onEnter() override;
    void onUpdate() override;
    void setOpenMicText(bool running);

    static const CwidgetBinding kBindings[];
    Cmenu* menu_ = nullptr;
    Cwidget* openMicRow_ = nullptr;
    bool openMicShownRunning_ = false;
};
