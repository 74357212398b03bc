#include "engine/ui/popups.h"

#include "engine/engine.h"
#include "engine/format.h"
#include "engine/ui/uiMgr.h"

namespace {
// Sound slots of the warnings: one playback each, a new one cuts the last.
constexpr int kIncomingMassSound = 14;
constexpr int kTitleBannerSound = 42;

void playAlone(int slot) {
    if (gUi->playSound) gUi->playSound(slot);
}

void place(Cwidget& w, float px, float py) {
    w.uiScale = gUi->scale();
    w.x = px;
    w.y = py;
}
}  // namespace

void Cpopups::showMessage(const std::string& text) {
    CwidgetPtr w = gUi->createWidget("PopupMessage");
    if (!w) return;
    w->setText("Title", text);
    place(*w, gEngine->screenWidth * 0.5f, (float)gEngine->screenHeight - 50.0f);
    // Messages share one place: each waits for the one before to go.
    const float wait = gUi->spotEffects.timeLeft("PopupMessage");
    gUi->spotEffects.add(std::move(w), EFFECT_FADE_IN, EFFECT_SHRINK_OUT, wait, 5.0f);
}

void Cpopups::showAchievementProgress(const std::string& title, float progress, const std::string& sprite) {
    CwidgetPtr w = gUi->createWidget("AchievementProgress");
    if (!w) return;
    w->setText("Title", title);
    CbString p = CbString::format("%s: %d%%", gEngine->text("AchievementProgress"), (int)(progress * 100.0f));
    w->setText("Progress", p.str());
    w->setSprite("SpriteName", sprite);
    place(*w, gEngine->screenWidth * 0.5f, 100.0f);
    const float wait = gUi->spotEffects.timeLeft("AchievementProgress");
    gUi->spotEffects.add(std::move(w), EFFECT_FADE_IN, EFFECT_SHRINK_OUT, wait, 5.0f);
}

void Cpopups::showAchievementAwarded(const std::string& title, const std::string& sprite) {
    CwidgetPtr w = gUi->createWidget("AchievementAwarded");
    if (!w) return;
    w->setText("Title", title);
    w->setSprite("SpriteName", sprite);
    float width = w->width * gUi->scale();
    place(*w, gEngine->screenWidth * 0.5f - width / 1.5f, 40.0f);
    const float wait = gUi->spotEffects.timeLeft("AchievementAwarded");
    gUi->spotEffects.add(std::move(w), EFFECT_FADE_IN, EFFECT_SHRINK_OUT, wait, 5.0f);
}

void Cpopups::showMass(const char* firstLineTag, int64_t mass) {
    CwidgetPtr first = gUi->createWidget("MediumText");
    CwidgetPtr second = gUi->createWidget("BigText");
    if (!first || !second) return;
    first->setText({}, gEngine->text(firstLineTag));
    CbString line = CbString::format("%s %s", formatThousands64(mass / 1000), gEngine->text("Kilotons"));
    second->setText({}, line.str());
    float y = (float)gEngine->screenHeight - 130.0f;
    place(*first, gEngine->screenWidth * 0.5f, y);
    place(*second, gEngine->screenWidth * 0.5f, y + 40.0f);
    gUi->spotEffects.add(std::move(first), EFFECT_ZOOM_IN, EFFECT_FADE_OUT, 0, 5.0f);
    gUi->spotEffects.add(std::move(second), EFFECT_ZOOM_IN, EFFECT_FADE_OUT, 0, 5.0f);
    playAlone(kIncomingMassSound);
}

void Cpopups::showIncomingMass(int64_t mass) { showMass("IncomingMass", mass); }
void Cpopups::showIncomingMassSnake(int64_t mass) { showMass("IncomingMassSnake2", mass); }

void Cpopups::showTitleBanner() {
    CwidgetPtr w = gUi->createWidget("BigText");
    if (!w) return;
    w->setText({}, "ZORBEX!");
    if (Cgadget* text = w->findTextGadget({}, false)) text->colour = Ccolour(1, 1, 1, 0.7f);
    place(*w, gEngine->screenWidth * 0.5f, (float)gEngine->screenHeight - 60.0f);
    gUi->spotEffects.add(std::move(w), EFFECT_ZOOM_IN, EFFECT_FADE_OUT, 0, 1.5f);
    playAlone(kTitleBannerSound);
}
