#include "screens/openMicDevices.h"

#include "audio/musicPlayer.h"
#include "engine/bString.h"
#include "game/progress/settings.h"

namespace openMicDevices {

bool hasKind(const CmusicPlayer& music, int kind) {
    for (const auto& d : music.devices)
        if (d.kind == kind) return true;
    return false;
}

static bool isStored(const CmusicPlayer& music, int source, const CaudioDeviceInfo& d) {
    if (d.kind != source) return false;
    if (source == OPEN_MIC_DESKTOP) return d.id == music.desktopDeviceId;
    return d.name == (source == OPEN_MIC_LINE_IN ? music.lineInDeviceName : music.microphoneDeviceName);
}

const CaudioDeviceInfo* stored(const CmusicPlayer& music, int source) {
    for (const auto& d : music.devices)
        if (isStored(music, source, d)) return &d;
    return nullptr;
}

std::vector<CopenMicItem> fill(CmusicPlayer& music, int source) {
    int def = CaudioCapture::defaultOfKind(music.devices, source);
    if (def >= 0) {
        const CaudioDeviceInfo& d = music.devices[(size_t)def];
        if (source == OPEN_MIC_LINE_IN && music.lineInDeviceName.empty()) music.setOpenMicLineInDeviceName(d.name);
        if (source == OPEN_MIC_MICROPHONE && music.microphoneDeviceName.empty())
            music.setOpenMicMicrohoneDeviceName(d.name);
        if (source == OPEN_MIC_DESKTOP && music.desktopDeviceId == CmusicPlayer::kDesktopNotChosen)
            music.setOpenMicDesktopDeviceID(d.id);
    }
    std::vector<CopenMicItem> items;
    for (size_t i = 0; i < music.devices.size(); ++i) {
        const CaudioDeviceInfo& d = music.devices[i];
        if (d.kind != source) continue;
        items.push_back({d.name, (int)i, isStored(music, source, d)});
    }
    return items;
}

bool choose(CmusicPlayer& music, int source, int index) {
    if (index < 0 || index >= (int)music.devices.size()) return false;
    const CaudioDeviceInfo& d = music.devices[(size_t)index];
    if (d.kind != source) return false;
    if (source == OPEN_MIC_DESKTOP) music.setOpenMicDesktopDeviceID(d.id);
    else if (source == OPEN_MIC_LINE_IN) music.setOpenMicLineInDeviceName(d.name);
    else music.setOpenMicMicrohoneDeviceName(d.name);
    return true;
}

std::string nameText(const CmusicPlayer& music, int source) {
    const CaudioDeviceInfo* d = stored(music, source);
    return d ? d->name : " ?? ";
}

std::string infoText(const CmusicPlayer& music, int source) {
    const CaudioDeviceInfo* d = stored(music, source);
    if (!d) return "";
    return CbString::format("Channels = %d       Frequency = %dhz", d->channels, d->rate).str();
}

Eswitch switchTo(CmusicPlayer& music, int source) {
    music.captureSource = source;
    fill(music, source);
    music.stopOpenMic();
    if (music.startOpenMic() || source == OPEN_MIC_DESKTOP) return SWITCH_OK;
    music.captureSource = OPEN_MIC_DESKTOP;
    fill(music, OPEN_MIC_DESKTOP);
    music.stopOpenMic();
    music.startOpenMic();
    return SWITCH_FELL_BACK;
}

void toSettings(const CmusicPlayer& music, Csettings& settings) {
    settings.captureSource = music.captureSource;
    settings.desktopDeviceId = music.desktopDeviceId;
    settings.lineInDevice = music.lineInDeviceName;
    settings.micDevice = music.microphoneDeviceName;
    settings.dirty = true;
}


}  // namespace openMicDevices
