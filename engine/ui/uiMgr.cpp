#include "engine/ui/uiMgr.h"

#include <algorithm>

#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "engine/ui/layoutReader.h"

CuiMgr* gUi = nullptr;

CuiMgr::CuiMgr() { gUi = this; }

CuiMgr::~CuiMgr() {
    if (gUi == this) gUi = nullptr;
}

float CuiMgr::scale() const {
    const float byHeight = (float)gEngine->screenHeight / kLayoutHeight;
    if (gEngine->screenWidth <= 0) return byHeight;
    return std::min(byHeight, (float)gEngine->screenWidth / kLayoutWidth);
}

bool CuiMgr::init() {
    bool ok = loadTemplates("uiStyles.txt");
    ok = loadTemplates("uiTemplates.txt") && ok;
    ok = loadTemplates("popup.txt") && ok;
    return ok;
}

bool CuiMgr::parseFile(const std::string& fileName, Cscreen* into) {
    CresourceFile file;
    if (!file.open("textFiles/layouts/" + fileName)) {
        problems_.push_back(fileName + ": can't open");
        return false;
    }
    ClayoutReader reader(*this, fileName, into);
    return reader.read(file.text());
}

bool CuiMgr::loadTemplates(const std::string& fileName) { return parseFile(fileName, nullptr); }

Cscreen* CuiMgr::loadScreen(const std::string& fileName) {
    auto screen = std::make_unique<Cscreen>();
    screen->name = fileName;
    if (!parseFile(fileName, screen.get())) {
        gEngine->log.print(LOG_L, "Can't load screen: %s", fileName.c_str());
        return nullptr;
    }
    screen->layout();
    screens_.push_back(std::move(screen));
    gEngine->loadStep();
    return screens_.back().get();
}

Cscreen* CuiMgr::loadScreenFromText(const std::string& name, const char* text) {
    auto screen = std::make_unique<Cscreen>();
    screen->name = name;
    ClayoutReader reader(*this, name, screen.get());
    if (!reader.read(text)) return nullptr;
    screen->layout();
    screens_.push_back(std::move(screen));
    return screens_.back().get();
}

const Cwidget* CuiMgr::findTemplate(const std::string& templateName) const {
    for (auto& t : templates_)
        if (equalsIgnoreCase(t->name, templateName)) return t.get();
    return nullptr;
}

std::vector<std::string> CuiMgr::templateNames() const {
    std::vector<std::string> names;
    for (auto& t : templates_) names.push_back(t->name);
    return names;
}

CwidgetPtr CuiMgr::createWidget(const std::string& templateName) {
    const Cwidget* t = findTemplate(templateName);
    if (!t) {
        gEngine->log.print(LOG_L, "Can't find template: %s", templateName.c_str());
        return nullptr;
    }
    auto w = std::make_unique<Cwidget>(*t);
    w->templateName = t->name;
    w->resolve((float)gEngine->screenWidth, (float)gEngine->screenHeight, scale());
    return w;
}

const CbackgroundStyle* CuiMgr::findBackgroundStyle(const std::string& styleName, bool report) const {
    for (auto& s : backgrounds_)
        if (equalsIgnoreCase(s->name, styleName)) return s.get();
    if (report) gEngine->log.print(LOG_L, "Can't find background style: %s", styleName.c_str());
    return nullptr;
}

const CshadowStyle* CuiMgr::findShadowStyle(const std::string& styleName, bool report) const {
    for (auto& s : shadows_)
        if (equalsIgnoreCase(s->name, styleName)) return s.get();
    if (report) gEngine->log.print(LOG_L, "Can't find shadow style: %s", styleName.c_str());
    return nullptr;
}

void CuiMgr::beginStep(const CuiInput& in, float dt) {
    input_ = in;
    dt_ = dt;
    action_ = ACTION_NONE;
    held_ = false;
    loadingIndicator.update(dt);
    // Widgets' effects are draw-list entries: the list moves with the UI's step.
    gEngine->drawList.update(dt);
    spotEffects.update(dt);
    dropHeldReleases();
    // Tutorials and text entry take the input before any screen sees it.
    const std::string boxBefore = tutorials.current();
    if (tutorials.update(input_, dt)) {
        held_ = true;
        // A box put away as a key went down: that key's release is the box's too.
        if (tutorials.current() != boxBefore) holdUntilReleased();
        return;
    }
    if (textEntry.active) {
        textEntry.update(input_, dt);
        held_ = true;
        // Return ends the entry as it goes down; its release is no Select.
        if (!textEntry.active) holdUntilReleased();
        return;
    }
    const CuiInput& inNow = input_;
    int clicked = buttonBar.update(inNow, dt);
    if (clicked != ACTION_NONE) {
        action_ = clicked;
        return;
    }
    static const int kActions[] = {ACTION_SELECT, ACTION_BACK, ACTION_OPTION_X, ACTION_OPTION_Y, ACTION_LB, ACTION_RB};
    for (int a : kActions)
        if (inNow.action(a)) {
            action_ = a;
            return;
        }
}

void CuiMgr::holdUntilReleased() {
    const CinputPlayer* first = gEngine->input.player(0);
    for (int a = 1; a < ACTION_COUNT; ++a) releaseHeld_[a] = first && first->isActionDown(a);
}

void CuiMgr::dropHeldReleases() {
    const CinputPlayer* first = gEngine->input.player(0);
    for (int a = 1; a < ACTION_COUNT; ++a) {
        if (!releaseHeld_[a]) continue;
        if (input_.actions[a]) input_.actions[a] = false;
        else if (first && first->isActionDown(a)) continue;
        releaseHeld_[a] = false;
    }
}

void CuiMgr::swallowInput() {
    CuiInput kept;
    kept.device = input_.device;
    kept.pointerX = input_.pointerX;
    kept.pointerY = input_.pointerY;
    kept.pointerDown = input_.pointerDown;
    input_ = kept;
    action_ = ACTION_NONE;
}

void CuiMgr::renderOverlays() {
    buttonBar.render();
    spotEffects.render();
    loadingIndicator.render();
    textEntry.render();
    tutorials.render();
}

void CuiMgr::refreshTexts() {
    auto refresh = [](Cwidget& w) {
        for (auto& g : w.gadgets) {
            if (g.kind != GADGET_TEXT) continue;
            if (!g.textKey.empty()) g.text = CbString(gEngine->text(g.textKey));
            g.fittedFor.clear();   // measured again: the font may have switched too
        }
    };
    for (auto& t : templates_) refresh(*t);
    for (auto& s : screens_) {
        for (auto& w : s->widgets) refresh(*w);
        for (auto& m : s->menus) {
            if (!m->titleKey.empty()) m->title = CbString(gEngine->text(m->titleKey));
            if (Cwidget* h = m->header()) refresh(*h);
            for (auto& it : m->items)
                if (it) refresh(*it);   // rows made later take the refreshed templates
        }
    }
    buttonBar.refreshTexts();
}

void CuiMgr::layoutAll() {
    for (auto& s : screens_) s->layout();
    buttonBar.layout();
}
