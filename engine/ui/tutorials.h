#pragma once
// Ctutorials: help boxes shown once per player. A tutorial's text is the
// language table's text of its name; shows made while one is up are queued.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/ui/widget.h"

class Ctutorials {
public:
    struct Crecord {
        std::string name;
        bool seen = false;
    };

    // Shows a tutorial unless it has been seen; false when it was seen already.
    bool show(const std::string& name, const Cwidget* near = nullptr);
    Crecord* find(const std::string& name);
    bool isShowing() const { return box_ != nullptr; }
    bool isShowingOrQueued() const { return box_ != nullptr || !queue_.empty(); }
    const std::string& current() const { return currentName_; }
    void resetAll();
    // The seen names, for the save layer.
    std::vector<std::string> seenNames() const;
    void setSeenNames(const std::vector<std::string>& names);

    // Per step: Select, Back or a click dismisses the box. True while a tutorial holds the input.
    bool update(const CuiInput& in, float dt);
    void render();
    // While this says so (a warning is up), the box waits unseen and leaves
    // the input to what is in front.
    std::function<bool()> waitWhile;
    bool waiting() const { return waitWhile && waitWhile(); }

private:
    void open(const std::string& name, float nearX, float nearY);
    // Each box shown and put away is logged, so scripts driving the game put
    // away exactly the boxes that came up.
    void putAway();
    std::vector<Crecord> records_;
    struct Cqueued {
        std::string name;
        float x, y;
    };
    std::deque<Cqueued> queue_;
    CwidgetPtr box_;
    std::string currentName_;
    float shownFor_ = 0;
};
