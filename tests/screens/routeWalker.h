#pragma once
// The game, headless, at the main menu with every screen loaded, walked as a
// player walks it: tiles, rows and buttons clicked, keys pressed, and the
// states asked for on the way read back from the log ("GameMode = ...").
#include <string>
#include <vector>

#include "engine/ui/menu.h"
#include "engine/ui/screen.h"
#include "screens/layoutScreen.h"
#include "screens/mainMenu.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

struct CrouteWalker {
    CscreensGame g;
    CmainMenuScreen& menu = *screens::get<CmainMenuScreen>();
    size_t seen = 0;

    // emailOffer: the player qualifies for the e-mail offer on the first visit.
    explicit CrouteWalker(bool emailOffer = false) {
        gGame->namedColours.load();
        gGame->world.loadData();
        gGame->progress.submitBoard = [](int, uint64_t, const std::string&) {};
        // No directory behind the radio: its lists come back empty at once.
        gGame->radio.host = "127.0.0.1:1";
        gGame->radio.tuneInHost = "";
        seeMainMenuTutorials();
        // Chosen before: the language screen offers its way back.
        gGame->saveLoad.settings.language = 1;
        gGame->saveLoad.settings.askEmail = emailOffer;
        gGame->statsCache.local.sessions = emailOffer ? 3 : 0;
        gGame->statsCache.local.emailSet = false;
        EXPECT_TRUE(menu.load());
        toMainMenu();
    }
    void toMainMenu() {
        gGame->setGameMode(GM_MAIN_MENU);
        settle();
        modes();
    }
    // Until the state is current, no fade runs and its screen has come in. A
    // help box that comes up is put away with Return, as a player does.
    void settle() {
        for (int i = 0; i < 400; ++i) {
            if (gUi->tutorials.isShowing()) {
                g.tapAction(ACTION_SELECT);
                continue;
            }
            const auto* s = dynamic_cast<const ClayoutScreen*>(gGame->currentScreen());
            bool inside = !gGame->transitionRunning() && gGame->pendingMode() < 0 &&
                          (!s || !s->screen() || !s->screen()->entering);
            if (inside && i > 20) return;
            g.steps(1);
        }
    }
    // The states asked for since the last call.
    std::vector<std::string> modes() {
        std::vector<std::string> all = g.logLinesStartingWith("GameMode = "), out;
        for (size_t i = seen; i < all.size(); ++i) out.push_back(all[i].substr(std::string("GameMode = ").size()));
        seen = all.size();
        return out;
    }
    Cscreen* current() {
        auto* s = dynamic_cast<ClayoutScreen*>(gGame->currentScreen());
        return s ? s->screen() : nullptr;
    }
    // The row of the current screen's menu with this value (selectable), or
    // the first shown row part of this kind.
    Cwidget* findRow(const std::string& menuName, int64_t value) {
        Cmenu* m = current() ? current()->findMenu(menuName) : nullptr;
        for (size_t i = 0; m && i < m->itemCount(); ++i)
            if (m->item(i)->value == value && m->item(i)->selectable) return m->item(i);
        return nullptr;
    }
    Cwidget* findRowPart(const std::string& menuName, float kind) {
        Cmenu* m = current() ? current()->findMenu(menuName) : nullptr;
        for (size_t i = 0; m && i < m->itemCount(); ++i)
            if (m->item(i)->floatValue == kind && m->item(i)->visible()) return m->item(i);
        return nullptr;
    }
    void tile(const char* name) {
        g.click(menu.button(name));
        settle();
    }
    void row(const char* menuName, int64_t value) {
        Cwidget* w = findRow(menuName, value);
        ASSERT_NE(w, nullptr) << "no row " << value << " in " << menuName << " of " << gameModeName(g.mode());
        g.click(w);
        settle();
    }
    void key(int scanCode) {
        g.tapKey(scanCode);
        settle();
    }
    void act(int a) {
        g.tapAction(a);
        settle();
    }
    bool barHas(const char* tag) const {
        for (const auto& b : gEngine->ui.buttonBar.buttons())
            if (b.text == gEngine->text(tag) && !b.hidden) return true;
        return false;
    }
};
