#pragma once
// Test support: an engine with a fresh save folder and the local Steam client
// reset to a logged-on player with no faults. The client is shut down and
// reset again when the object goes.
#include <cstdint>

#include "platform/steam/steamLocal.h"
#include "support/testEngine.h"

constexpr uint32_t kTestAppId = 424242;

class CsteamTestClient {
public:
    explicit CsteamTestClient(const std::string& commandLine = "") : eng(true, commandLine) {
        steamLocal::reset();
        steamLocal::setAppId(kTestAppId);
    }
    ~CsteamTestClient() { steamLocal::reset(); }
    // Shuts the client down and starts it again over the same files.
    bool restart() {
        SteamAPI_Shutdown();
        return SteamAPI_Init();
    }
    CtestEngine eng;
};
