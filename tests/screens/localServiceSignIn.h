#pragma once
// The game's online clients signed in to a local k4w service the test runs
// on 127.0.0.1, as the start-up leaves them.
#include <gtest/gtest.h>

#include "online/localService/localWebService.h"
#include "online/online.h"
#include "../online/onlineFixture.h"

inline bool signInToLocalService(ClocalWebService& service, Conline& online) {
    if (!service.start()) return false;
    online.soap.setConfig(service.config());
    service.addAccount("Pilot", "pilot@example.com", "hunter2");
    if (!online.soap.setGameTitle("Zorbex")) return false;
    online.soap.setLogin("pilot@example.com", "hunter2", "pilot@example.com");
    if (!online.soap.retrieveAuthToken() || !waitTask(online.soap.tokenTask)) return false;
    online.soap.tokenTask.reset();
    online.soap.commitUnixTime();
    return true;
}
