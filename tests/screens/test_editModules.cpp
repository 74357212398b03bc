#include <gtest/gtest.h>

#include "screens/confirm.h"
#include "screens/editModules.h"
#include "screens/screenRegistry.h"
#include "screensFixture.h"

namespace {
struct CmodulesFixture {
    CscreensGame g;
    CrecordingScreen hangar;
    CeditModulesScreen* screen = nullptr;
    CconfirmScreen* confirm = nullptr;
    std::vector<int> sounds;

    CmodulesFixture() {
        if (!g.initOk()) return;
        g->setScreen(GM_HANGAR, &hangar);
        gEngine->ui.playSound = [this](int slot) { sounds.push_back(slot); };
        screen = screens::get<CeditModulesScreen>();
        confirm = screens::get<CconfirmScreen>();
        g->playerShips.setCurrentShipIdx(0);
    }
    void add(const std::string& key, int kind) {
        CshipModule m;
        m.initFromKey(key);
        m.posKind = kind;
        m.posFactor = 1.0f;
        m.negKind = kind == 0 ? 1 : 0;
        g->progress.modules.modules.push_back(m);
    }
    void open() {
        screen->open(false);
        g.settle();
    }
    // The listed modules' keys, cards only, in order.
    std::vector<std::string> listed() {
        std::vector<std::string> out;
        for (size_t i = 0; i < screen->list()->itemCount(); ++i) {
            Cwidget* w = screen->list()->item(i);
            if (w->floatValue == 0.0f) out.push_back(g->progress.modules.modules[(size_t)w->value].key);
        }
        return out;
    }
    // Takes the list item of a module: its card, or the bin under it.
    void take(const std::string& key, bool trash = false) {
        Cmenu* list = screen->list();
        for (size_t i = 0; i < list->itemCount(); ++i) {
            Cwidget* w = list->item(i);
            if (g->progress.modules.modules[(size_t)w->value].key == key && (w->floatValue == 1.0f) == trash) {
                list->setSelectedIdx((int)i);
                g.tapAction(ACTION_SELECT);
                g.steps(2);
                return;
            }
        }
        ADD_FAILURE() << "no item for " << key;
    }
    void answer(int itemIdx) {
        ASSERT_TRUE(confirm->showing());
        confirm->menu()->setSelectedIdx(itemIdx);
        g.tapAction(ACTION_SELECT);
        g.steps(3);
    }
    CplayerShipDef& current() { return *g->playerShips.currentShip(); }
    bool played(int slot) const { return std::find(sounds.begin(), sounds.end(), slot) != sounds.end(); }
};
}  // namespace

TEST(EditModules, ACardFitsOrTakesOffItsModuleAndASixthIsRefused) {
    CmodulesFixture f;
    ASSERT_TRUE(f.g.initOk());
    for (int i = 0; i < 6; ++i) f.add("M" + std::to_string(i), i);
    f.open();
    f.take("M0");
    EXPECT_TRUE(f.current().hasModule("M0"));
    EXPECT_TRUE(f.g->progress.saveDirty);
    f.take("M0");
    EXPECT_FALSE(f.current().hasModule("M0"));
    EXPECT_FALSE(f.g->progress.modules.findModule("M0")->isFitted());

    for (int i = 0; i < 5; ++i) f.take("M" + std::to_string(i));
    EXPECT_EQ(f.current().getNumModulesFitted(), 5);
    f.take("M5");
    EXPECT_TRUE(f.played(7));
    EXPECT_FALSE(f.current().hasModule("M5"));

    // A slot click takes its module off.
    Cwidget* slot = f.screen->screen()->findWidget("Module1");
    const std::string first = f.current().slots[0]->key;
    f.g.click(slot);
    f.g.steps(2);
    EXPECT_FALSE(f.current().hasModule(first));
    EXPECT_EQ(f.current().getNumModulesFitted(), 4);
}

TEST(EditModules, TheBinDeletesOnlyOnItsOwnYesAndEmptiesEverySlot) {
    CmodulesFixture f;
    ASSERT_TRUE(f.g.initOk());
    f.add("Keep", 0);
    f.add("Drop", 1);
    f.open();
    f.take("Drop");
    ASSERT_TRUE(f.current().hasModule("Drop"));
    // Another ship still holds a copy in a slot.
    CtrackInfoView seed;
    CplayerShipDef* other = f.g->playerShips.createProcShip("Other", seed);
    ASSERT_NE(other, nullptr);
    other->slots[2] = *f.g->progress.modules.findModule("Drop");

    // No, and backing out, keep it.
    f.take("Drop", true);
    f.answer(1);
    EXPECT_NE(f.g->progress.modules.findModule("Drop"), nullptr);

    // A Yes to a question put by someone else deletes nothing.
    f.confirm->reset();
    f.confirm->addMenuItem("Yes", 1);
    f.confirm->enter();
    f.answer(0);
    f.g.steps(3);
    EXPECT_NE(f.g->progress.modules.findModule("Drop"), nullptr);

    f.take("Drop", true);
    f.answer(0);
    EXPECT_EQ(f.g->progress.modules.findModule("Drop"), nullptr);
    EXPECT_FALSE(f.current().hasModule("Drop"));
    EXPECT_FALSE(other->hasModule("Drop"));
    EXPECT_EQ(f.listed(), (std::vector<std::string>{"Keep"}));
}
