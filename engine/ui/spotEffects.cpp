#include "engine/ui/spotEffects.h"

void CspotEffects::add(CwidgetPtr widget, int inEffect, int outEffect, float delay, float time) {
    if (!widget) return;
    widget->startEffect(inEffect, 0, nullptr, delay, 0.3f);
    entries_.push_back({std::move(widget), inEffect, outEffect, delay, time});
}

void CspotEffects::update(float dt) {
    for (auto& e : entries_) {
        e.age += dt;
        if (!e.leaving && e.age >= e.delay + e.time) {
            e.leaving = true;
            e.widget->startEffect(e.outEffect, 1, nullptr, 0, 0.3f);
        }
    }
    // Entries are freed here and nowhere else.
    for (size_t i = 0; i < entries_.size();) {
        Centry& e = entries_[i];
        if (e.leaving && !e.widget->effectRunning()) entries_.erase(entries_.begin() + i);
        else ++i;
    }
}

void CspotEffects::render() {
    for (auto& e : entries_)
        if (e.age >= e.delay || e.inEffect != EFFECT_POP_IN) e.widget->render();
}
