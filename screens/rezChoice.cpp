#include "screens/rezChoice.h"

#include <algorithm>

bool CrezList::addResolution(int display, int width, int height) {
    if (width <= 0 || height <= 0 || display < 0) return false;
    if (modes_.size() >= kMaxModes) return false;
    if (!modes_.empty()) {
        float aspect = (float)width / (float)height;
        if (aspect < kMinAspect || aspect > kMaxAspect) return false;
    }
    CrezMode m{display, width, height};
    if (std::find(modes_.begin(), modes_.end(), m) != modes_.end()) return false;
    modes_.push_back(m);
    return true;
}

std::vector<CrezMode> CrezList::modesOf(int display) const {
    std::vector<CrezMode> out;
    for (const CrezMode& m : modes_)
        if (m.display == display) out.push_back(m);
    return out;
}

void CrezChoice::begin(const CrezList* list, const CrezSetting& inUse, int numDisplays, bool fullScreenNativeOnly) {
    list_ = list;
    inUse_ = inUse;
    numDisplays_ = std::max(1, numDisplays);
    nativeOnly_ = fullScreenNativeOnly;
    display_ = std::clamp(inUse.display, 0, numDisplays_ - 1);
    mode_ = std::clamp(inUse.mode, (int)REZ_WINDOWED, (int)REZ_BORDERLESS);
    picked_ = false;
    fill();
    entryDisplay_ = display_;
    entryMode_ = mode_;
    entryIndex_ = index_;
}

int CrezChoice::clampIndex(int i) const {
    if (shown_.empty()) return -1;
    return std::clamp(i, 0, modeCount() - 1);
}

void CrezChoice::fill() {
    shown_ = list_ ? list_->modesOf(display_) : std::vector<CrezMode>{};
    index_ = -1;
    CrezMode want{inUse_.display, inUse_.width, inUse_.height};
    for (size_t i = 0; i < shown_.size(); ++i)
        if (shown_[i] == want) index_ = (int)i;
    inUseListed_ = index_ >= 0;
    if (index_ < 0) index_ = clampIndex(mode_ == REZ_WINDOWED ? 1 : 0);
}

void CrezChoice::chooseIndex(int index) {
    if (index < 0 || index >= modeCount()) return;
    // The mode marked in place of an unlisted size is not in use: taking it is a choice.
    if (index == index_ && (inUseListed_ || picked_)) return;
    picked_ = picked_ || index == index_;
    index_ = index;
    if (mode_ == REZ_WINDOWED && index_ == 0) mode_ = REZ_BORDERLESS;
    else if (mode_ == REZ_BORDERLESS && index_ != 0) mode_ = REZ_WINDOWED;
    else if (nativeOnly_ && mode_ == REZ_FULLSCREEN && index_ != 0) mode_ = REZ_WINDOWED;
}

void CrezChoice::chooseMode(int mode) {
    if (mode < REZ_WINDOWED || mode > REZ_BORDERLESS || mode == mode_) return;
    mode_ = mode;
    if (mode_ == REZ_BORDERLESS) index_ = clampIndex(0);
    else if (nativeOnly_ && mode_ == REZ_FULLSCREEN) index_ = clampIndex(0);
    else if (mode_ == REZ_WINDOWED && index_ == 0) index_ = clampIndex(1);
}

void CrezChoice::chooseDisplay(int display) {
    if (display < 0 || display >= numDisplays_) return;
    display_ = display;
    fill();
    if (mode_ == REZ_WINDOWED && index_ == 0) mode_ = REZ_BORDERLESS;
    else if (mode_ == REZ_BORDERLESS && index_ > 0) mode_ = REZ_FULLSCREEN;
}

bool CrezChoice::unchanged() const {
    return !picked_ && display_ == entryDisplay_ && mode_ == entryMode_ && index_ == entryIndex_;
}

CrezSetting CrezChoice::result() const {
    CrezSetting out = inUse_;
    out.mode = mode_;
    if (canConfirm()) {
        out.display = shown_[(size_t)index_].display;
        out.width = shown_[(size_t)index_].width;
        out.height = shown_[(size_t)index_].height;
    }
    return out;
}
