#include "engine/render/effects.h"

#include "engine/engine.h"
#include "engine/render/font.h"

void CscreenShake::start(float duration, float s) {
    if (gEngine->subSteps >= 2 || duration <= 0) return;
    const bool wasRunning = running();
    const float remaining = rate > 0 ? level / rate : 0;
    if (!wasRunning || duration > remaining) {
        rate = 1.0f / duration;
        level = 1.0f;
    }
    strength = wasRunning ? std::max(strength, s) : s;
}

void CscreenShake::stop() {
    level = rate = strength = 0;
    offset_ = Cvec2();
}

void CscreenShake::update(float dt) {
    if (level <= 0) {
        offset_ = Cvec2();
        return;
    }
    level -= rate * dt;
    if (level <= 0) {
        stop();
        return;
    }
    const float a = strength * level;
    offset_ = Cvec2(gEngine->random.range(-a, a), gEngine->random.range(-a, a));
}

void CscreenFlash::start(const Ccolour& colour, float duration) {
    colour_ = colour;
    level_ = 1;
    rate_ = duration > 0 ? 1.0f / duration : 1e4f;
}

void CscreenFlash::update(float dt) {
    if (level_ <= 0) return;
    level_ -= rate_ * dt;
    if (level_ < 0) level_ = 0;
}

void CscreenFlash::draw() {
    if (level_ <= 0) return;
    gEngine->renderer.drawRectPixelsColour(colour_, colour_.a * level_ * level_);
}

void CerrorOverlay::add(const std::string& text, float seconds) {
    lines_.push_back({text, seconds});
    if (lines_.size() > (size_t)kMaxLines) lines_.erase(lines_.begin());
}

void CerrorOverlay::update(float dt) {
    for (auto& l : lines_) l.timeLeft -= dt;
    std::erase_if(lines_, [](const Cline& l) { return l.timeLeft <= 0; });
}

void CerrorOverlay::draw() {
    if (lines_.empty()) return;
    Cfont* font = gEngine->fonts.findFont("FontSmall", false);
    if (!font) font = gEngine->fonts.placeholder();
    const float lh = font->lineHeight();
    const float w = (float)gEngine->screenWidth;
    gEngine->renderer.drawRect(Crect{0, 0, w, lh * (float)lines_.size() + 8}, Ccolour(0, 0, 0, 0.75f));
    float y = 4;
    for (const auto& l : lines_) {
        font->drawText(l.text, 8, y, 1, ALIGN_LEFT, Ccolour(1, 0.35f, 0.35f, 1));
        y += lh;
    }
}
