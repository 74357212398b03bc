#include "engine/ui/textEntry.h"

#include <SDL.h>

#include "engine/engine.h"
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiMgr.h"

void CtextEntry::begin(int maxChars, const std::string& initial) {
    maxChars_ = maxChars > 0 ? maxChars : 1;
    text = CbString(utf8Truncate(initial, (size_t)maxChars_));
    active = true;
    finished = false;
    cancelled = false;
    refreshMasked();
    if (gEngine) gEngine->input.typingText = true;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_StartTextInput();
    // Never the text itself: it may be a password.
    if (gEngine) gEngine->log.print(LOG_L, "Text entry: open");
}

void CtextEntry::end() {
    active = false;
    if (gEngine) gEngine->input.typingText = false;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_StopTextInput();
}

void CtextEntry::placeBox(float cx, float cy, float w) {
    x = cx;
    y = cy;
    width = w;
}

void CtextEntry::refreshMasked() { masked = CbString(std::string(text.charCount(), '*')); }

bool CtextEntry::update(const CuiInput& in, float dt) {
    if (!active) return false;
    caret_ += dt;
    for (size_t i = 0; i < in.typed.size();) {
        // One UTF-8 character at a time; control characters are dropped.
        unsigned char c = (unsigned char)in.typed[i];
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        if (i + len > in.typed.size()) break;
        if (c >= 0x20 && c != 0x7F && (int)text.charCount() < maxChars_) text.append(in.typed.substr(i, len));
        i += len;
    }
    if (in.backspace && !text.empty()) {
        std::string& s = text.str();
        size_t cut = s.size() - 1;
        while (cut > 0 && ((unsigned char)s[cut] & 0xC0) == 0x80) --cut;
        s.resize(cut);
    }
    // Every printable key is text here (Space too, though it is also Select):
    // only Return, or a pad's Select, finishes.
    const bool pad = in.device == DEVICE_CONTROLLER;
    if (in.enter || (pad && in.action(ACTION_SELECT))) {
        finished = true;
        end();
        if (gEngine) gEngine->log.print(LOG_L, "Text entry: done");
    } else if (in.escape || (pad && in.action(ACTION_BACK))) {
        // On the keyboard Back is Backspace, which deletes here; Escape
        // cancels, and is used up so it does not also bring up the exit question.
        cancelled = true;
        if (in.escape && gEngine) gEngine->lastKey = -1;
        end();
    }
    refreshMasked();
    return true;
}

void CtextEntry::render() {
    if (!active && !finished) return;
    float s = gUi->scale();
    float h = 48.0f * s;
    Crect r{x - width * 0.5f, y - h * 0.5f, width, h};
    // Opaque: the text the box edits (an old name) must not show through.
    uiDraw::fillRect(r, Ccolour(0.02f, 0.04f, 0.1f, 1.0f));
    uiDraw::frame(r, 2.0f * s, active ? outlineActive : outline);
    std::string shown = visibleTail(mask ? masked.str() : text.str(), (r.w - 24.0f * s) / s);
    if (active && ((int)(caret_ * 2.0f) % 2) == 0) shown += "_";
    uiDraw::text(font, shown, r.x + 12.0f * s, y, s, fontColour, ALIGN_LEFT, shadow);
}

// A text longer than the box shows its end, where the typing is, after an
// ellipsis: it never runs past the box over what lies beside it.
std::string CtextEntry::visibleTail(const std::string& shown, float boxW) const {
    static const std::string kEllipsis = "\xE2\x80\xA6";
    const float room = boxW - uiDraw::measureText(font, "_", 1.0f).x;
    if (uiDraw::measureText(font, shown, 1.0f).x <= room) return shown;
    size_t from = 0;
    while (from < shown.size()) {
        do ++from;
        while (from < shown.size() && ((unsigned char)shown[from] & 0xC0) == 0x80);
        if (uiDraw::measureText(font, kEllipsis + shown.substr(from), 1.0f).x <= room) break;
    }
    return kEllipsis + shown.substr(from);
}
