#pragma once
// The capture choices of the open-mic settings: which devices a source
// offers, the stored device of each source, and switching source with the
// fall-back to desktop audio when a line-in or microphone will not start.
#include <string>
#include <vector>

class CmusicPlayer;
class Csettings;
struct CaudioDeviceInfo;

struct CopenMicItem {
    std::string name;
    int index = -1;        // into the music player's device list
    bool ticked = false;   // the stored device of its source
};

namespace openMicDevices {
bool hasKind(const CmusicPlayer& music, int kind);
// The stored device of a source in the last device list, or null.
const CaudioDeviceInfo* stored(const CmusicPlayer& music, int source);
// The devices of a source; the source's default is stored first when none is.
std::vector<CopenMicItem> fill(CmusicPlayer& music, int source);
// Stores the device at index for the source (false for a device of another kind).
bool choose(CmusicPlayer& music, int source, int index);
// "Channels = %d       Frequency = %dhz", or "" without a stored device.
std::string infoText(const CmusicPlayer& music, int source);
std::string nameText(const CmusicPlayer& music, int source);

enum Eswitch { SWITCH_OK = 0, SWITCH_FELL_BACK };
// Makes source current and restarts capture. A line-in or microphone that
// fails to start leaves desktop audio current (restarted) and says so.
Eswitch switchTo(CmusicPlayer& music, int source);

// The capture settings into the settings record (read back at start-up).
void toSettings(const CmusicPlayer& music, Csettings& settings);
}  // namespace openMicDevices
