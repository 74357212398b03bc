#pragma once
// CgameConfig: the game configuration record the service hands out at
// start-up: how often to poll for messages, then the newest version text.
#include <string>

#include "engine/threadTask.h"

class k4wSOAP;

struct CgameConfigRecord {
    float messagePollPeriod = 120.0f;   // seconds
    std::string versionText;            // "v1.23"
};

class CgameConfig {
public:
    static constexpr float kMinPollPeriod = 10.0f;
    static constexpr float kMaxPollPeriod = 86400.0f;

    explicit CgameConfig(k4wSOAP& ws) : ws_(ws) {}
    ~CgameConfig() { task.join(); }

    // Starts "GetGameConfig"; the record is filled when it succeeds.
    bool startGetGameConfig();
    CgameConfigRecord record;
    CthreadTask task{"GetGameConfig", CthreadTask::TASK_NETWORK};

    // The number of a version text "vX.YZ": 100 X + 10 Y + Z; 0 when the
    // text has no digits at positions 1, 3 and 4.
    static int versionNumber(const std::string& text);

private:
    k4wSOAP& ws_;
};
