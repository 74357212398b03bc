#include "game/progress/settings.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "game/progress/recordIO.h"

namespace {
constexpr uint32_t kMaxTutorials = 1024;
constexpr uint32_t kMaxNotices = 4096;
}  // namespace

// --- bindings and mappings ----------------------------------------------------

void CstoredBinding::write(uint8_t* p) const {
    memset(p, 0, kSize);
    putU32(p + 0, (uint32_t)action);
    p[4] = mouse;
    putU32(p + 8, (uint32_t)mouseButton);
    p[12] = key;
    putU32(p + 16, (uint32_t)keyCode);
    p[20] = joyButton;
    putU32(p + 24, (uint32_t)button);
    p[28] = axis;
    putU32(p + 32, (uint32_t)axisIndex);
    p[36] = negative;
}

bool CstoredBinding::read(const uint8_t* p) {
    CstoredBinding b;
    b.action = (int32_t)getU32(p);
    b.mouse = p[4] != 0;
    b.mouseButton = (int32_t)getU32(p + 8);
    b.key = p[12] != 0;
    b.keyCode = (int32_t)getU32(p + 16);
    b.joyButton = p[20] != 0;
    b.button = (int32_t)getU32(p + 24);
    b.axis = p[28] != 0;
    b.axisIndex = (int32_t)getU32(p + 32);
    b.negative = p[36] != 0;
    // Actions, buttons (32-35 are the hat), axes and mouse buttons of any
    // device stay well inside these.
    if (b.action < 0 || b.action > 255 || b.mouseButton < 0 || b.mouseButton > 15 || b.keyCode < 0 ||
        b.keyCode > 1023 || b.button < 0 || b.button > 255 || b.axisIndex < 0 || b.axisIndex > 63)
        return false;
    *this = b;
    return true;
}

void CstoredMapping::write(uint8_t* p) const {
    memset(p, 0, kSize);
    copyToField((char*)p, kNameBytes, name);
    size_t n = std::min(bindings.size(), kMaxBindings);
    putU32(p + kNameBytes, (uint32_t)n);
    for (size_t i = 0; i < n; ++i) bindings[i].write(p + kNameBytes + 4 + i * CstoredBinding::kSize);
}

bool CstoredMapping::read(const uint8_t* p) {
    CrecordReader r(p, kSize);
    CstoredMapping m;
    m.name = r.text(kNameBytes);
    uint32_t n = r.u32();
    if (n > kMaxBindings) {
        gEngine->log.print(LOG_L, "Stored value out of range: bindings of %s = %u", m.name.c_str(), n);
        return false;
    }
    for (uint32_t i = 0; i < n; ++i) {
        CstoredBinding b;
        if (!b.read(p + kNameBytes + 4 + i * CstoredBinding::kSize)) {
            gEngine->log.print(LOG_L, "Stored binding %u of %s refused", i, m.name.c_str());
            return false;
        }
        m.bindings.push_back(b);
    }
    if (m.name.empty()) m.bindings.clear();
    *this = std::move(m);
    return true;
}

// --- notices --------------------------------------------------------------------

void CnoticeQueue::add(int type, uint64_t id) {
    entries.push_back({type, id});
    changed = true;
}

const CnoticeQueue::Cnotice* CnoticeQueue::findType(int type) const {
    if (gEngine && gEngine->anyTaskRunning()) return nullptr;
    for (const auto& e : entries)
        if (e.type == type) return &e;
    return nullptr;
}

void CnoticeQueue::removeType(int type, uint64_t id) {
    for (size_t i = entries.size(); i-- > 0;) {
        if (entries[i].type == type && entries[i].id == id) {
            entries.erase(entries.begin() + (long)i);
            changed = true;
        }
    }
}

// --- settings -------------------------------------------------------------------

Csettings::Csettings() { setDefaults(); }

void Csettings::setDefaults() {
    musicVolume = 0.8f;
    sfxVolume = 0.8f;
    graphicsDetail = kDetailMax;
    menuVisualiser = 0.5f;
    autoShots = true;
    email.clear();
    askEmail = true;
    stickType = 0;
    swapSticks = 0;
    weaponButtons = 1;
    stickSize = 5;
    fixedX = fixedY = 0;
    language = 0;
    displayIndex = 0;
    width = 1280;
    height = 720;
    fullScreen = borderless = false;
    twinStick = true;
    captureSource = 0;
    desktopDeviceId = kDesktopDeviceNotChosen;
    lineInDevice.clear();
    micDevice.clear();
    defDifficulty = 1;
    difficultyFactor = 1.0f;
    visIntensity = 1.0f;
    currentFolder.clear();
    tutorialsSeen.clear();
    notices.entries.clear();
    for (auto& m : mappings) m = CstoredMapping();
    dirty = false;
}

void Csettings::sanitise() {
    const Csettings d;   // the defaults
    musicVolume = checkedFloat("music volume", musicVolume, 0.0f, 1.0f, d.musicVolume);
    sfxVolume = checkedFloat("effects volume", sfxVolume, 0.0f, 1.0f, d.sfxVolume);
    graphicsDetail = checkedFloat("graphics detail", graphicsDetail, 0.0f, kDetailMax, d.graphicsDetail);
    menuVisualiser = checkedFloat("menu visualiser", menuVisualiser, 0.0f, 1.0f, d.menuVisualiser);
    stickType = (uint8_t)checkedInt("stick type", stickType, 0, 1, d.stickType);
    swapSticks = (uint8_t)checkedInt("swap sticks", swapSticks, 0, 1, d.swapSticks);
    weaponButtons = (uint8_t)checkedInt("weapon buttons", weaponButtons, 0, 1, d.weaponButtons);
    stickSize = checkedInt("stick size", stickSize, 1, 10, d.stickSize);
    fixedX = checkedInt("stick x", fixedX, -10, 10, d.fixedX);
    fixedY = checkedInt("stick y", fixedY, -10, 10, d.fixedY);
    language = checkedInt("language", language, 0, kNumLanguages - 1, d.language);
    displayIndex = checkedInt("display", displayIndex, 0, 15, d.displayIndex);
    width = checkedInt("width", width, 320, 16384, d.width);
    height = checkedInt("height", height, 200, 16384, d.height);
    captureSource = checkedInt("capture source", captureSource, 0, 2, d.captureSource);
    desktopDeviceId = checkedInt("desktop device", desktopDeviceId, kDesktopDeviceNotChosen, 4095, d.desktopDeviceId);
    if (desktopDeviceId < -1 && desktopDeviceId != kDesktopDeviceNotChosen) desktopDeviceId = d.desktopDeviceId;
    defDifficulty = checkedInt("default difficulty", defDifficulty, 0, 6, d.defDifficulty);
    difficultyFactor = checkedFloat("difficulty factor", difficultyFactor, 0.1f, 10.0f, d.difficultyFactor);
    visIntensity = checkedFloat("visual intensity", visIntensity, 0.5f, 3.0f, d.visIntensity);
    if (fullScreen && borderless) borderless = false;
}

bool Csettings::isTutorialSeen(const std::string& name) const {
    for (const auto& t : tutorialsSeen)
        if (equalsIgnoreCase(t, name)) return true;
    return false;
}

void Csettings::markTutorialSeen(const std::string& name) {
    if (name.empty() || name.size() > 255 || isTutorialSeen(name)) return;
    tutorialsSeen.push_back(name);
    dirty = true;
}

void Csettings::resetTutorials() {
    tutorialsSeen.clear();
    dirty = true;
}

CstoredMapping* Csettings::findMapping(const std::string& device) {
    if (device.empty()) return nullptr;
    for (auto& m : mappings)
        if (equalsIgnoreCase(m.name, device)) return &m;
    return nullptr;
}

const CstoredMapping* Csettings::findMapping(const std::string& device) const {
    return const_cast<Csettings*>(this)->findMapping(device);
}

bool Csettings::isMappingKnown(const std::string& device) const { return findMapping(device) != nullptr; }

void Csettings::clearMapping(const std::string& device) {
    for (auto& m : mappings)
        if (equalsIgnoreCase(m.name, device)) m = CstoredMapping();
    dirty = true;
}

bool Csettings::addBinding(const std::string& device, const CstoredBinding& binding) {
    if (device.empty()) return false;
    CstoredMapping* m = findMapping(device);
    if (!m) {
        for (auto& row : mappings)
            if (row.name.empty()) {
                m = &row;
                m->name = device.substr(0, utf8CutPoint(device, CstoredMapping::kNameBytes - 1));
                m->bindings.clear();
                break;
            }
    }
    if (!m) {
        gEngine->log.print(LOG_L, "No free controller mapping row for %s", device.c_str());
        return false;
    }
    if (m->bindings.size() >= CstoredMapping::kMaxBindings) return false;
    m->bindings.push_back(binding);
    dirty = true;
    return true;
}

void Csettings::clearJoystickMappings() {
    for (auto& m : mappings)
        if (!equalsIgnoreCase(m.name, "Keyboard")) m = CstoredMapping();
    dirty = true;
}

void Csettings::writeMain(std::vector<uint8_t>& out) const {
    size_t base = out.size();
    CrecordWriter w(out);
    w.u32(kLayoutVersion);
    w.f32(musicVolume);
    w.f32(sfxVolume);
    w.f32(graphicsDetail);
    w.f32(menuVisualiser);
    w.u8(askEmail);
    w.u8(stickType);
    w.u8(swapSticks);
    w.u8(weaponButtons);
    w.i32(stickSize);
    w.i32(fixedX);
    w.i32(fixedY);
    w.i32(language);
    w.i32(displayIndex);
    w.i32(width);
    w.i32(height);
    w.u8(fullScreen);
    w.u8(borderless);
    w.u8(twinStick);
    w.u8(0);
    w.i32(desktopDeviceId);
    w.text(lineInDevice, kDeviceBytes);
    w.text(micDevice, kDeviceBytes);
    w.f32(difficultyFactor);
    w.text(email, kEmailBytes);
    w.padTo(base + kRecordSize);
}

bool Csettings::readMain(const uint8_t* p, size_t size) {
    if (!p || size < kRecordSize) return false;
    CrecordReader r(p, kRecordSize);
    if (r.u32() != kLayoutVersion) return false;
    musicVolume = r.f32();
    sfxVolume = r.f32();
    graphicsDetail = r.f32();
    menuVisualiser = r.f32();
    askEmail = r.u8() != 0;
    stickType = r.u8();
    swapSticks = r.u8();
    weaponButtons = r.u8();
    stickSize = r.i32();
    fixedX = r.i32();
    fixedY = r.i32();
    language = r.i32();
    displayIndex = r.i32();
    width = r.i32();
    height = r.i32();
    fullScreen = r.u8() != 0;
    borderless = r.u8() != 0;
    twinStick = r.u8() != 0;
    r.u8();
    desktopDeviceId = r.i32();
    lineInDevice = r.text(kDeviceBytes);
    micDevice = r.text(kDeviceBytes);
    difficultyFactor = r.f32();
    email = r.text(kEmailBytes);
    return !r.failed();
}

void Csettings::writeMappings(std::vector<uint8_t>& out) const {
    size_t at = out.size();
    out.resize(at + kNumMappings * CstoredMapping::kSize);
    for (const auto& m : mappings) {
        m.write(&out[at]);
        at += CstoredMapping::kSize;
    }
}

bool Csettings::readMappings(const uint8_t* p, size_t size, std::array<CstoredMapping, kNumMappings>& staged) const {
    if (size != kNumMappings * CstoredMapping::kSize) return false;
    for (int i = 0; i < kNumMappings; ++i) {
        // A bad row is emptied (that device is configured again); the rest stand.
        if (!staged[i].read(p + (size_t)i * CstoredMapping::kSize)) staged[i] = CstoredMapping();
    }
    return true;
}

void Csettings::writeTutorials(std::vector<uint8_t>& out) const {
    CrecordWriter w(out);
    w.u32((uint32_t)tutorialsSeen.size());
    for (const auto& t : tutorialsSeen) {
        w.u8((uint8_t)std::min<size_t>(t.size(), 255));
        w.bytes(t.data(), std::min<size_t>(t.size(), 255));
    }
}

bool Csettings::readTutorials(const uint8_t* p, size_t size, std::vector<std::string>& staged) {
    CrecordReader r(p, size);
    uint32_t n = r.u32();
    if (r.failed() || n > kMaxTutorials) return false;
    staged.clear();
    for (uint32_t i = 0; i < n; ++i) {
        uint8_t len = r.u8();
        const uint8_t* s = r.span(len);
        if (!s) return false;
        std::string name = sanitiseUtf8(std::string_view((const char*)s, len));
        if (!name.empty()) staged.push_back(std::move(name));
    }
    return r.remaining() == 0;
}

void Csettings::writeNotices(std::vector<uint8_t>& out) const {
    CrecordWriter w(out);
    w.u32((uint32_t)notices.entries.size());
    for (const auto& n : notices.entries) {
        w.i32(n.type);
        w.u64(n.id);
    }
}

bool Csettings::readNotices(const uint8_t* p, size_t size, std::vector<CnoticeQueue::Cnotice>& staged) {
    CrecordReader r(p, size);
    uint32_t n = r.u32();
    if (r.failed() || n > kMaxNotices || r.remaining() != (size_t)n * 12) return false;
    staged.clear();
    for (uint32_t i = 0; i < n; ++i) {
        CnoticeQueue::Cnotice e;
        e.type = r.i32();
        e.id = r.u64();
        staged.push_back(e);
    }
    return true;
}
