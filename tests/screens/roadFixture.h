#pragma once
// The road from the title to the main menu, headless: the game with a fresh
// save folder, the local Steam client and a local k4w service on 127.0.0.1.
#include "screens/language.h"
#include "screens/screenRegistry.h"
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/resourceFile.h"
#include "online/localService/localWebService.h"
#include "platform/steam/steamLocal.h"
#include "support/testGame.h"

class RoadTest : public ::testing::Test {
protected:
    static constexpr const char* kPersona = "Ace Pilot";

    void SetUp() override {
        steamLocal::reset();
        ASSERT_TRUE(service.start());
    }
    void TearDown() override {
        g.reset();
        service.stop();
        steamLocal::reset();
    }

    // The game, its web service pointed at the local one. With noService the
    // client is pointed at a port where nothing listens. With a save folder
    // the game plays over it (the same folder again is a restart).
    void makeGame(const std::string& switches = "", bool noService = false, const std::string& saveDir = "") {
        g = std::make_unique<CtestGame>(false, "-NoGoogle -Linux " + switches, saveDir);
        ASSERT_TRUE(g->initOk());
        steamLocal::setPersonaName(kPersona);
        CwebServiceConfig c = service.config(2);
        if (noService) c.port = closedPort();
        gGame->online.soap.setConfig(c);
    }
    // Loading, then the fade to the title screen.
    void toTitle() {
        ASSERT_TRUE(gGame->startUp());
        ASSERT_TRUE(runUntil([] { return gGame->mode() == GM_PRESS_START; }));
    }
    // Closes the help boxes a screen opened on entry, as a player reading them would.
    void dismissTutorials() {
        for (int i = 0; i < 20 && gUi->tutorials.isShowingOrQueued(); ++i) {
            tapKey(SDL_SCANCODE_RETURN);
            g->steps(30);
        }
    }
    void pressReturn() { tapKey(SDL_SCANCODE_RETURN); }
    // A returning player (save and stored account) from the title to the
    // main menu, its help boxes put away; the account's id.
    uint64_t reachMainMenu(const std::string& saveDir = "") {
        makeGame("", false, saveDir);
        writeSave(400, true);
        uint64_t id = storedAccount();
        toTitle();
        pressReturn();
        EXPECT_TRUE(reachMode(GM_MAIN_MENU));
        g->steps(5);
        dismissTutorials();
        return id;
    }
    // The game started (again) over the save folder, to the main menu.
    void restartOver(const std::string& saveDir, const std::string& switches = "") {
        g.reset();
        makeGame(switches, false, saveDir);
        toTitle();
        pressReturn();
        ASSERT_TRUE(reachMode(GM_MAIN_MENU));
    }
    // An action pressed and let go, one step each.
    void tapAction(int action) {
        g->setAction(0, action, true);
        g->steps(1);
        g->setAction(0, action, false);
        g->steps(1);
    }
    void tapKey(int scanCode) {
        g->keyDown(scanCode);
        g->steps(1);
        g->keyUp(scanCode);
        g->steps(1);
    }
    // Steps the game (one update period each) until pred holds; the tasks
    // run on their own threads, so real time passes too.
    bool runUntil(const std::function<bool()>& pred, double seconds = kEventWaitSeconds) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(seconds * 1000));
        while (std::chrono::steady_clock::now() < end) {
            g->steps(1);
            if (pred()) return true;
            // A first run asks for the language; English is at the top.
            if (chooseLanguage && gGame->mode() == GM_LANGUAGE && !gGame->transitionRunning() &&
                !screens::get<ClanguageScreen>()->screen()->entering)
                tapAction(ACTION_SELECT);
            if (gGame->quit) return pred();
            if (gEngine->anyTaskRunning()) SDL_Delay(1);
        }
        return pred();
    }
    bool reachMode(int mode, double seconds = kEventWaitSeconds) {
        return runUntil([mode] { return gGame->mode() == mode && !gGame->transitionRunning(); }, seconds);
    }
    bool waitLog(const std::string& line, double seconds = kEventWaitSeconds) {
        return runUntil([this, line] { return g->logHas(line); }, seconds);
    }
    // Every log line that starts with prefix, in order.
    std::vector<std::string> lines(const std::string& prefix) const { return g->logLinesStartingWith(prefix); }

    // A pointer click on a widget's centre.
    void click(const Cwidget* w) {
        ASSERT_NE(w, nullptr);
        g->mouseMove((int)w->x, (int)w->y);
        g->steps(1);
        g->mouseButton(0, true);
        g->steps(1);
        g->mouseButton(0, false);
        g->steps(1);
    }
    // Text typed into the active text entry, then Return.
    void typeText(const std::string& text) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        strncpy(e.text.text, text.c_str(), sizeof e.text.text - 1);
        SDL_PushEvent(&e);
        g->steps(1);
        pressReturn();
    }

    // A game save with this XP: locally, and in the cloud too when cloud.
    void writeSave(int64_t xp, bool cloud) {
        CplayerProgress& p = gGame->progress;
        p.reset();
        p.xp = xp;
        p.clientId = "client-" + std::to_string(xp);
        p.markProfileLoaded();
        gGame->saveLoad.gameFile().setCloud(cloud);
        ASSERT_TRUE(gGame->saveLoad.saveGame(true));
        gGame->saveLoad.gameFile().setCloud(true);
        p.reset();
    }
    void writeLogin(const std::string& email, const std::string& password) {
        CloginData d;
        d.name = email;
        d.password = password;
        d.email = email;
        ASSERT_TRUE(saveLoginData(d));
    }
    // An account on the service and its login stored, as after an earlier run.
    uint64_t storedAccount() {
        uint64_t id = service.addAccount("Pilot", "pilot@example.com", "hunter2");
        writeLogin("pilot@example.com", "hunter2");
        return id;
    }
    std::string steamIdText() const { return std::to_string((long long)steamLocal::localSteamId()); }
    std::string savePath(const char* name) const { return gEngine->savePath(name); }
    static bool readFile(const std::string& path, Cbytes& out) { return CresourceFile::readWholeFile(path, out); }

    // A local port with nothing listening.
    static int closedPort() {
        ClocalWebService probe;
        if (!probe.start()) return 1;
        int port = probe.port();
        probe.stop();
        return port;
    }

    std::unique_ptr<CtestGame> g;
    ClocalWebService service;
    bool chooseLanguage = true;
};
