#pragma once
// CspotEffects: the queue of popup widgets that animate in, hold and go away.
// The queue owns every widget added to it.
#include <string>
#include <vector>

#include "engine/ui/widget.h"

class CspotEffects {
public:
    void add(CwidgetPtr widget, int inEffect, int outEffect, float delay, float time);
    void update(float dt);
    void render();
    void clear() { entries_.clear(); }
    size_t count() const { return entries_.size(); }
    // Seconds until the entries made from a template have all gone (0 when
    // none shows): a popup of the same kind waits that long, so that two
    // never cover each other.
    float timeLeft(const std::string& templateName) const;
    // The widget of an entry, oldest first (null past the last).
    Cwidget* widget(size_t i) const { return i < entries_.size() ? entries_[i].widget.get() : nullptr; }

private:
    struct Centry {
        CwidgetPtr widget;
        int inEffect, outEffect;
        float delay, time, age = 0;
        bool leaving = false;
    };
    std::vector<Centry> entries_;
};
