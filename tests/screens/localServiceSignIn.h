#pragma once
// The game's online clients signed in to a local k4w service the test runs
// on 127.0.0.1, as the start-up leaves them; the account's id, 0 when the
// sign-in failed.
#include <gtest/gtest.h>

#include "online/localService/localWebService.h"
#include "online/online.h"
#include "../online/onlineFixture.h"

inline uint64_t signInToLocalService(ClocalWebService& service, Conline& online) {
    if (!service.start()) return 0;
    online.soap.setConfig(service.config());
    const uint64_t id = service.addAccount("Pilot", "pilot@example.com", "hunter2");
    if (!online.soap.setGameTitle("Zorbex")) return 0;
    online.soap.setLogin("pilot@example.com", "hunter2", "pilot@example.com");
    if (!online.soap.retrieveAuthToken() || !waitTask(online.soap.tokenTask)) return 0;
    online.soap.tokenTask.reset();
    online.soap.commitUnixTime();
    return id;
}
