#pragma once
// CmessagePoller: player messages. While enabled and signed in it fetches the
// player's messages every poll period ("Retrieve Messages" task; the service
// forgets the messages it handed out), then hands them on one per update:
// news (types 15 to 18, a 776-byte inbox record each) go to the inbox, every
// other type to onMessage. Messages to other players queue up and go out as
// the "Send Messages" task.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/threadTask.h"
#include "engine/webMessage.h"

class k4wSOAP;
class Cinbox;

struct CplayerMessage {
    uint64_t id = 0;
    int32_t type = 0;
    uint64_t fromPlayerId = 0;
    std::string fromName;
    int64_t sentTime = 0;
    Cbytes data;
};

class CmessagePoller {
public:
    static constexpr size_t kMaxMessageData = 8192;
    static constexpr size_t kMaxMessages = 200;

    CmessagePoller(k4wSOAP& ws, Cinbox& inbox);
    ~CmessagePoller();

    // Starts a retrieval when signed in and the poll time has passed, or at
    // once when forced. A forced retrieval that can't be sent (service off,
    // not signed in) reports itself done at once, so nothing waits for it.
    bool retrieveMessages(bool force);
    void update();

    bool sendMessage(uint64_t toPlayerId, int32_t type, const Cbytes& data);

    bool enabled = false;
    float pollPeriod = 120.0f;   // seconds, from the game configuration
    bool retrieving = false;     // a retrieval is in progress
    bool done = false;           // every fetched message has been handed on
    int messageIndex = 0;        // the next fetched message to hand on
    std::vector<CplayerMessage> messages;   // the last fetch
    std::function<void(const CplayerMessage&)> onMessage;

    CthreadTask task{"Retrieve Messages", CthreadTask::TASK_NETWORK};
    CthreadTask sendTask{"Send Messages", CthreadTask::TASK_NETWORK};

private:
    void handle(const CplayerMessage& m);
    k4wSOAP& ws_;
    Cinbox& inbox_;
    uint64_t lastPollTicks_ = 0;
    bool polledOnce_ = false;
    std::vector<CplayerMessage> fetched_;
    struct Coutgoing {
        uint64_t to;
        int32_t type;
        Cbytes data;
    };
    std::vector<Coutgoing> outbox_, sending_;
};
