#include "engine/ui/spotEffects.h"

#include <algorithm>

namespace {
constexpr float kEffectSeconds = 0.3f;   // in and out effects
}  // namespace

void CspotEffects::add(CwidgetPtr widget, int inEffect, int outEffect, float delay, float time) {
    if (!widget) return;
    widget->startEffect(inEffect, 0, nullptr, delay, kEffectSeconds);
    entries_.push_back({std::move(widget), inEffect, outEffect, delay, time});
}

void CspotEffects::update(float dt) {
    for (auto& e : entries_) {
        e.age += dt;
        if (!e.leaving && e.age >= e.delay + e.time) {
            e.leaving = true;
            e.widget->startEffect(e.outEffect, 1, nullptr, 0, kEffectSeconds);
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
    // An entry waiting for its turn is not seen before it.
    for (auto& e : entries_)
        if (e.age >= e.delay) e.widget->render();
}

float CspotEffects::timeLeft(const std::string& templateName) const {
    float left = 0;
    for (const auto& e : entries_)
        if (e.widget->templateName == templateName)
            left = std::max(left, e.delay + e.time + kEffectSeconds - e.age);
    return left;
}
