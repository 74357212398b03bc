#include "screens/credits.h"

#include "engine/engine.h"
#include "game/game.h"
#include "screens/creditsList.h"

const CwidgetBinding CcreditsScreen::kBindings[] = {
    {&CcreditsScreen::list_, "Menu"},
};

CcreditsScreen::CcreditsScreen() : ClayoutScreen("credits.txt", kBindings) {}

void CcreditsScreen::onEnter() {
    gUi->buttonBar.addButtonByKey("BACK", ACTION_BACK, ICON_BACK);
    list_->clearItems();
    std::vector<CcreditLine> lines;
    credits::load("creditsList.txt", gEngine->language(), lines);
    for (const CcreditLine& l : lines) {
        CwidgetPtr w = gUi->createWidget(l.kind == CcreditLine::SPRITE ? "CreditsSprite" : l.widgetTemplate);
        if (!w) continue;
        if (l.kind == CcreditLine::SPRITE) {
            Csprite* s = gEngine->sprites.findSprite(l.sprite, false);
            if (Cgadget* g = w->findSpriteGadget(); g && s) {
                g->setSprite(s);
                g->width = s->width * l.scale;
                g->height = s->height * l.scale;
                w->height = g->height;
            }
        } else {
            w->setText("", l.text);
            if (!l.colour.empty())
                if (Cgadget* g = w->findTextGadget()) g->colour = gEngine->colours.get(l.colour);
        }
        list_->insertItem(std::move(w), -1, false, 0, 0, false);
    }
    list_->layout();
}

void CcreditsScreen::onUpdate() {
    if (gUi->action() == ACTION_BACK) gGame->setGameMode(GM_OPTIONS, true);
}

