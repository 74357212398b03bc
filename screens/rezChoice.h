#pragma once
// The display modes the resolution screen offers and the player's choice
// among them. Kept apart from the screen so the rules can be driven alone.
#include <cstddef>
#include <vector>

struct CrezMode {
    int display = 0;
    int width = 0;
    int height = 0;
    bool operator==(const CrezMode& o) const {
        return display == o.display && width == o.width && height == o.height;
    }
};

// At most ten modes over all displays. The first one taken (the first
// display's native mode) may have any shape; after it only wide modes
// (width / height from 1.7 to 1.8) are taken.
class CrezList {
public:
    static constexpr size_t kMaxModes = 10;
    static constexpr float kMinAspect = 1.7f;
    static constexpr float kMaxAspect = 1.8f;

    bool addResolution(int display, int width, int height);
    void clear() { modes_.clear(); }
    const std::vector<CrezMode>& modes() const { return modes_; }
    // The modes of one display, in list order.
    std::vector<CrezMode> modesOf(int display) const;

private:
    std::vector<CrezMode> modes_;
};

enum ErezMode { REZ_WINDOWED = 0, REZ_FULLSCREEN = 1, REZ_BORDERLESS = 2 };

struct CrezSetting {
    int display = 0;
    int width = 0;
    int height = 0;
    int mode = REZ_WINDOWED;
};

// The display, window mode and resolution being chosen. Index 0 of a display
// is its native mode; -1 means the display has no mode to offer.
class CrezChoice {
public:
    // Starts from the setting in use. numDisplays below 1 reads as 1.
    void begin(const CrezList* list, const CrezSetting& inUse, int numDisplays, bool fullScreenNativeOnly);

    void chooseIndex(int index);
    void chooseMode(int mode);
    void chooseDisplay(int display);

    int display() const { return display_; }
    int mode() const { return mode_; }
    int index() const { return index_; }
    int modeCount() const { return (int)shown_.size(); }
    const std::vector<CrezMode>& shown() const { return shown_; }

    bool unchanged() const;
    // False while the chosen display has no mode: nothing could be stored.
    bool canConfirm() const { return index_ >= 0 && index_ < modeCount(); }
    // The setting to store; the size in use stays when there is no mode.
    CrezSetting result() const;

private:
    void fill();
    int clampIndex(int i) const;

    const CrezList* list_ = nullptr;
    CrezSetting inUse_;
    std::vector<CrezMode> shown_;
    int numDisplays_ = 1;
    bool nativeOnly_ = false;
    bool inUseListed_ = false;   // the size in use is one of the shown modes
    bool picked_ = false;        // the player took the marked mode that is not in use
    int display_ = 0, mode_ = REZ_WINDOWED, index_ = -1;
    int entryDisplay_ = 0, entryMode_ = REZ_WINDOWED, entryIndex_ = -1;
};
