#pragma once
// A fresh engine, a local k4w service on 127.0.0.1 and the online services
// pointed at it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

#include "online/localService/localWebService.h"
#include "online/online.h"
#include "support/testEngine.h"

// Steps the online services until pred holds or the time runs out.
inline bool pumpUntil(Conline& online, const std::function<bool()>& pred, double seconds = kEventWaitSeconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(seconds * 1000));
    while (std::chrono::steady_clock::now() < end) {
        online.update();
        if (pred()) return true;
        SDL_Delay(2);
    }
    online.update();
    return pred();
}

inline bool waitTask(CthreadTask& t, double seconds = kEventWaitSeconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(seconds * 1000));
    while (!t.finished() && std::chrono::steady_clock::now() < end) SDL_Delay(2);
    return t.finished();
}

class OnlineTest : public ::testing::Test {
protected:
    void SetUp() override {
        eng = std::make_unique<CtestEngine>();
        ASSERT_TRUE(service.start());
        online = std::make_unique<Conline>();
        online->soap.setConfig(service.config());
    }
    void TearDown() override {
        online.reset();
        service.stop();
        eng.reset();
    }
    // Starts the client and signs in with a token, as the start-up does.
    uint64_t signIn(const std::string& nick = "Pilot", const std::string& email = "pilot@example.com",
                    const std::string& password = "hunter2") {
        uint64_t id = service.addAccount(nick, email, password);
        EXPECT_TRUE(online->soap.setGameTitle("Zorbex"));
        online->soap.setLogin(email, password, email);
        EXPECT_TRUE(newToken());
        return id;
    }
    // A new token, as each new run or day asks for, with the service's clock
    // at unixTime when given. True when it came.
    bool newToken(int64_t unixTime = 0) {
        if (unixTime) service.setUnixTime(unixTime);
        bool ok = online->soap.retrieveAuthToken() && waitTask(online->soap.tokenTask) && online->soap.tokenTask.success();
        online->soap.tokenTask.reset();
        online->soap.commitUnixTime();
        return ok;
    }

    std::unique_ptr<CtestEngine> eng;
    ClocalWebService service;
    std::unique_ptr<Conline> online;
};
