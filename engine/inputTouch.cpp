#include "engine/inputTouch.h"

#include <algorithm>

#include "engine/inputDevices.h"

// ---- fingers ----

int CtouchMgr::findSlot(SDL_FingerID id) const {
    for (int i = 0; i < kMaxFingers; ++i)
        if (fingers_[i].used && !fingers_[i].ended && fingers_[i].id == id) return i;
    return -1;
}

void CtouchMgr::handleEvent(const SDL_Event& e) {
    if (e.type != SDL_FINGERDOWN && e.type != SDL_FINGERMOTION && e.type != SDL_FINGERUP) return;
    Cvec2 p(std::clamp(e.tfinger.x, 0.0f, 1.0f) * screenW, std::clamp(e.tfinger.y, 0.0f, 1.0f) * screenH);
    int s = findSlot(e.tfinger.fingerId);
    if (e.type == SDL_FINGERDOWN) {
        if (s < 0) {
            for (int i = 0; i < kMaxFingers && s < 0; ++i)
                if (!fingers_[i].used) s = i;
        }
        if (s < 0) return;   // more fingers than slots: ignored
        Cfinger& f = fingers_[s];
        f = Cfinger();
        f.id = e.tfinger.fingerId;
        f.used = f.down = f.began = true;
        f.pos = f.start = p;
        return;
    }
    if (s < 0) return;   // a finger we never saw go down
    Cfinger& f = fingers_[s];
    f.delta += p - f.pos;
    f.pos = p;
    if (e.type == SDL_FINGERUP) {
        f.down = false;
        f.ended = true;
    }
}

void CtouchMgr::endFrame() {
    for (auto& f : fingers_) {
        f.delta = Cvec2();
        f.began = false;
        if (f.ended) f = Cfinger();
    }
}

void CtouchMgr::clear() {
    for (auto& f : fingers_) f = Cfinger();
}

bool CtouchMgr::present() const {
    for (const auto& f : fingers_)
        if (f.down) return true;
    return false;
}

const Cfinger* CtouchMgr::firstActive() const {
    for (const auto& f : fingers_)
        if (f.down) return &f;
    return nullptr;
}

// ---- on-screen sticks ----

void CvirtualSticks::layout(const CstickSettings& s, float screenW, float screenH) {
    settings_ = s;
    float radius = (float)(s.size + 13) * 10.0f;
    float dx = (float)(s.fixedX + 28) * 5.0f;
    float dy = (float)(s.fixedY + 28) * 5.0f;
    Cvec2 left(dx, screenH - dy), right(screenW - dx, screenH - dy);
    int moveSide = s.swap ? 1 : 0;
    for (int i = 0; i < 2; ++i) {
        Cstick& st = sticks_[i];
        bool onLeft = (i == STICK_MOVE) == (moveSide == 0);
        st.home = onLeft ? left : right;
        st.radius = radius;
        st.fixed = s.type == 0;
        st.zoneLeft = onLeft ? 0.0f : screenW * 0.5f;
        st.zoneWidth = screenW * 0.5f;
    }
    recentre();
}

void CvirtualSticks::recentre() {
    for (auto& st : sticks_) {
        st.centre = st.knob = st.home;
        st.value = Cvec2();
        st.finger = -1;
    }
    lastTouch = Cvec2(kParkX, kParkX);
}

void CvirtualSticks::setEnabled(bool on, Cjoysticks* joysticks) {
    enabled_ = on;
    recentre();
    if (joysticks) joysticks->reset();
}

void CvirtualSticks::park(float screenW, Cjoysticks* joysticks) {
    setEnabled(false, joysticks);
    for (int i = 0; i < 2; ++i) {
        Cstick& st = sticks_[i];
        st.centre.x = st.knob.x = kParkX;
        st.value = Cvec2();
        st.finger = -1;
        bool onLeft = st.zoneLeft < screenW * 0.25f;
        st.zoneLeft = onLeft ? screenW * 0.5f - 5.0f - (screenW + 1000.0f) : screenW * 0.5f + 5.0f;
        st.zoneWidth = screenW + 1000.0f;
    }
    colour.a = 0.2f;
}

void CvirtualSticks::update(const CtouchMgr& touch) {
    if (!enabled_) return;
    for (auto& st : sticks_) {
        // Let go when its finger lifted.
        if (st.finger >= 0 && !touch.finger(st.finger).down) {
            st.finger = -1;
            st.centre = st.knob = st.fixed ? st.home : st.centre;
            st.value = Cvec2();
        }
    }
    for (int i = 0; i < CtouchMgr::kMaxFingers; ++i) {
        const Cfinger& f = touch.finger(i);
        if (!f.down) continue;
        lastTouch = f.pos;
        bool taken = sticks_[0].finger == i || sticks_[1].finger == i;
        if (taken) continue;
        for (auto& st : sticks_) {
            if (st.finger >= 0) continue;
            if (f.start.x < st.zoneLeft || f.start.x >= st.zoneLeft + st.zoneWidth) continue;
            st.finger = i;
            if (!st.fixed) st.centre = f.start;
            break;
        }
    }
    for (auto& st : sticks_) {
        if (st.finger < 0) continue;
        Cvec2 off = touch.finger(st.finger).pos - st.centre;
        float len = off.length();
        if (len > st.radius && len > 0) off *= st.radius / len;
        st.knob = st.centre + off;
        st.value = st.radius > 0 ? off * (1.0f / st.radius) : Cvec2();
    }
}
