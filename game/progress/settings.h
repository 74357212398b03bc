#pragma once
// Csettings: every setting the screens read or write, kept in "settings2".
//
// Records of the settings file (all little-endian):
//  "settings"  512 bytes
//      0 u32 layout version (1)
//      4 f32 music volume 0..1        8 f32 effects volume 0..1
//     12 f32 graphics detail 0..1    16 f32 menu visualiser 0..1
//     20 u8  ask about e-mail        21 u8 stick type 0..1    22 u8 swap sticks 0..1
//     23 u8  weapon buttons 0..1     24 i32 stick size 1..10
//     28 i32 fixed x -10..10         32 i32 fixed y -10..10
//     36 i32 language 0..16 (0 none chosen yet)
//     40 i32 display 0..15           44 i32 width          48 i32 height
//     52 u8  full screen             53 u8 borderless      54 u8 twin stick
//     56 i32 desktop capture device (-999 not chosen)
//     60 char[128] line-in device    188 char[128] microphone device
//    316 f32 difficulty factor 0.1..10
//    320 char[128] e-mail address
//    448 zero to the end
//  "AutoShots"        u8
//  "currentFolder"    char[2048]
//  "defDifficulty"    i32 0..6
//  "defVisIntensity2" f32 0.5..3
//  "openMicMode1"     i32 capture source 0 desktop, 1 line-in, 2 microphone
//  "inputMappings"    25 rows of 3268 bytes (CstoredMapping)
//  "tutorials"        u32 count, then u8 length + name per tutorial seen
//  "notices"          u32 count, then 12 bytes each: i32 type, u64 id
#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kNumLanguages = 17;
constexpr float kDetailMax = 1.0f;
constexpr int kDesktopDeviceNotChosen = -999;

// One stored binding of an action (56 bytes):
//   0 i32 action   4 u8 mouse flag   8 i32 mouse button
//  12 u8 key flag 16 i32 key code   20 u8 joystick-button flag  24 i32 button
//  28 u8 axis flag 32 i32 axis      36 u8 negative              40 zero to 56
struct CstoredBinding {
    static constexpr size_t kSize = 56;
    int32_t action = 0;
    bool mouse = false;
    int32_t mouseButton = 0;
    bool key = false;
    int32_t keyCode = 0;
    bool joyButton = false;
    int32_t button = 0;
    bool axis = false;
    int32_t axisIndex = 0;
    bool negative = false;

    void write(uint8_t* p) const;
    bool read(const uint8_t* p);
    bool operator==(const CstoredBinding&) const = default;
};

// One device's mapping (3268 bytes): char[128] device name, u32 count, 56 bindings.
struct CstoredMapping {
    static constexpr size_t kSize = 3268;
    static constexpr size_t kNameBytes = 128;
    static constexpr size_t kMaxBindings = 56;
    std::string name;   // empty: a free row
    std::vector<CstoredBinding> bindings;

    void write(uint8_t* p) const;
    bool read(const uint8_t* p);
};

// The notices the main menu shows once (a declined invitation, an opponent
// who did not answer).
class CnoticeQueue {
public:
    struct Cnotice {
        int32_t type = 0;
        uint64_t id = 0;
    };
    std::vector<Cnotice> entries;
    bool changed = false;   // the settings file should be written

    void add(int type, uint64_t id);
    // The first of a type; none while any background task runs.
    const Cnotice* findType(int type) const;
    const Cnotice* findInviteDeclined() const { return findType(4); }
    const Cnotice* findUnresponsive() const { return findType(5); }
    void removeType(int type, uint64_t id);
    void removeInviteDeclined(uint64_t id) { removeType(4, id); }
    void removeUnresponsive(uint64_t id) { removeType(5, id); }
};

class Csettings {
public:
    static constexpr size_t kRecordSize = 512;
    static constexpr uint32_t kLayoutVersion = 1;
    static constexpr int kNumMappings = 25;
    static constexpr size_t kFolderBytes = 2048;
    static constexpr size_t kDeviceBytes = 128;
    static constexpr size_t kEmailBytes = 128;

    Csettings();

    float musicVolume = 0.8f;
    float sfxVolume = 0.8f;
    float graphicsDetail = kDetailMax;
    float menuVisualiser = 0.5f;
    bool autoShots = true;
    std::string email;
    bool askEmail = true;
    uint8_t stickType = 0;       // 0 fixed, 1 floating
    uint8_t swapSticks = 0;
    uint8_t weaponButtons = 1;   // 0 left, 1 right
    int stickSize = 5;
    int fixedX = 0, fixedY = 0;
    int language = 0;
    int displayIndex = 0;
    int width = 1280, height = 720;
    bool fullScreen = false, borderless = false;
    bool twinStick = true;
    int captureSource = 0;       // "openMicMode1"
    int desktopDeviceId = kDesktopDeviceNotChosen;
    std::string lineInDevice, micDevice;
    int defDifficulty = 1;
    float difficultyFactor = 1.0f;
    float visIntensity = 1.0f;   // "defVisIntensity2"
    std::string currentFolder;
    std::vector<std::string> tutorialsSeen;
    CnoticeQueue notices;
    std::array<CstoredMapping, kNumMappings> mappings;

    bool dirty = false;   // changed since the settings file was written

    // Every value back to its default (mappings, tutorials and notices emptied).
    void setDefaults();
    // Holds every value inside its range (defaults for the rest); logs each.
    void sanitise();

    bool isTutorialSeen(const std::string& name) const;
    void markTutorialSeen(const std::string& name);
    void resetTutorials();

    // Controller mappings by device name (case-insensitive).
    CstoredMapping* findMapping(const std::string& device);
    const CstoredMapping* findMapping(const std::string& device) const;
    bool isMappingKnown(const std::string& device) const;
    // Empties every row of that device.
    void clearMapping(const std::string& device);
    // Adds a binding to the device's row (a free row is taken when it has
    // none). False when the rows or the row's bindings are full.
    bool addBinding(const std::string& device, const CstoredBinding& binding);
    // Empties every row but "Keyboard".
    void clearJoystickMappings();

    // Fixed records of the file.
    void writeMain(std::vector<uint8_t>& out) const;
    bool readMain(const uint8_t* p, size_t size);
    void writeMappings(std::vector<uint8_t>& out) const;
    bool readMappings(const uint8_t* p, size_t size, std::array<CstoredMapping, kNumMappings>& staged) const;
    void writeTutorials(std::vector<uint8_t>& out) const;
    static bool readTutorials(const uint8_t* p, size_t size, std::vector<std::string>& staged);
    void writeNotices(std::vector<uint8_t>& out) const;
    static bool readNotices(const uint8_t* p, size_t size, std::vector<CnoticeQueue::Cnotice>& staged);
};
