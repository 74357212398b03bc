// The layout check: every screen's layout at the window shapes players'
// desktops give, with the game's fonts, in every language there is. It
// fails with one line per finding ("layout: widget: what").
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "engine/languages.h"
#include "engine/ui/uiMgr.h"
#include "support/testEngine.h"
#include "uiTestLayouts.h"

namespace {
struct Cshape {
    int w, h;
    std::string name() const { return std::to_string(w) + "x" + std::to_string(h); }
};
const Cshape kShapes[] = {{1280, 720}, {1280, 800}, {1024, 768}};

// The button bar's buttons stand right-aligned along the bottom edge; a
// screen's own widgets keep clear of the width a few of them take.
constexpr float kButtonBarWidth = 480.0f;   // layout pixels from the right edge
constexpr float kButtonBarHeight = 64.0f;   // from the bottom edge: the buttons and their margin

// Files of templates and styles, and the bar itself: not screens of their own.
const std::set<std::string> kNotScreens = {"uiStyles.txt", "uiTemplates.txt", "popup.txt", "musicBar.txt"};

bool overlaps(const Crect& a, const Crect& b) {
    const float eps = 0.5f;   // touching edges are no overlap
    return a.x + eps < b.right() && b.x + eps < a.right() && a.y + eps < b.bottom() && b.y + eps < a.bottom();
}

// Runs f in every language with a table of its own, then goes back to English.
template <class F>
void inEveryTranslation(F f) {
    for (int n = 1; n < kLanguageCount; ++n) {
        const Clanguage& lang = languageRow(n);
        if (std::string(lang.stringsFile) == "stringsGameEnglish.txt") continue;
        gEngine->setLanguage(n);
        f(std::string(lang.tag));
    }
    gEngine->setLanguage(0);
}

Crect unite(const Crect& a, const Crect& b) {
    if (a.w <= 0 || a.h <= 0) return b;
    float x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    return {x0, y0, std::max(a.right(), b.right()) - x0, std::max(a.bottom(), b.bottom()) - y0};
}

// Where a gadget of a given size draws, centred on its place.
Crect gadgetRect(const Cwidget& w, const Cgadget& g) {
    const float s = w.uiScale * w.scale;
    return {w.x + (g.offsetX - g.width * 0.5f) * s, w.y + (g.offsetY - g.height * 0.5f) * s, g.width * s, g.height * s};
}

// Where a text gadget draws: its fitted text, placed as the widget draws it;
// a text that code fills later may take its whole box, one line high.
Crect textInk(Cwidget& w, Cgadget& g) {
    const float s = w.uiScale * w.scale;
    const float gx = w.x + g.offsetX * s, gy = w.y + g.offsetY * s;
    Cvec2 size;
    if (g.text.str().empty()) {
        const Cvec2 box = w.textBox(g);
        size = Cvec2(box.x * s, std::min(box.y, uiDraw::measureText(g.font, "Ag", g.textScale).y) * s);
    } else {
        const uiDraw::CfittedText& fit = w.fittedText(g);
        size = uiDraw::measureText(g.font, fit.text, fit.scale * s);
    }
    float left = gx - size.x * 0.5f;
    if (g.align == ALIGN_LEFT) left = g.width > 0 ? gx - g.width * s * 0.5f : gx;
    if (g.align == ALIGN_RIGHT) left = (g.width > 0 ? gx + g.width * s * 0.5f : gx) - size.x;
    return {left, gy - size.y * 0.5f, size.x, size.y};
}

// The rectangles a widget draws into: its panel, and each gadget.
std::vector<Crect> inkOf(Cwidget& w) {
    std::vector<Crect> ink;
    if (w.background) ink.push_back(w.rect());
    for (auto& g : w.gadgets) {
        if (g.hidden) continue;
        if (g.kind == GADGET_TEXT) ink.push_back(textInk(w, g));
        else if (g.width > 0 && g.height > 0) ink.push_back(gadgetRect(w, g));
    }
    return ink;
}

class ClayoutCheck {
public:
    std::map<std::string, std::set<std::string>> findings;   // "layout: widget: what" -> window shapes

    void note(const Cscreen& s, const std::string& widget, const std::string& what, const std::string& shape = {}) {
        auto& shapes = findings[s.name + ": " + widget + ": " + what];
        if (!shape.empty()) shapes.insert(shape);
    }

    // Texts cut below their legible floor, in English and in each translation;
    // in English every text of a screen also fits its box at its own size.
    void checkTexts(const std::vector<Cscreen*>& screens) {
        auto measure = [&](const std::string& language) {
            forEachText(screens, [&](Cscreen& s, Cwidget& w, Cgadget& g) {
                if (g.text.str().empty() || (language != "English" && g.textKey.empty())) return;
                const uiDraw::CfittedText& fit = w.fittedText(g);
                if (language == "English" && s.name != "templates" && !fit.cut && fit.scale < g.textScale * 0.999f)
                    note(s, w.name + "." + g.name, "\"" + g.text.str() + "\" scaled down to fit");
                if (fit.cut) note(s, w.name + "." + g.name, "\"" + g.text.str() + "\" cut to \"" + fit.text + "\" in " + language);
            });
        };
        measure("English");
        inEveryTranslation(measure);
    }

    // Widgets under the bars or past the screen's edges, and list rows
    // outside their lists, at one window shape.
    void checkPlaces(const std::vector<Cscreen*>& screens, Cscreen& musicBar, const Cshape& shape) {
        gEngine->setScreenSize(shape.w, shape.h);
        gUi->layoutAll();
        const float s = gUi->scale();
        Crect musicArea;
        for (auto& w : musicBar.widgets)
            for (const Crect& r : inkOf(*w)) musicArea = unite(musicArea, r);
        musicArea = unite(musicArea, {musicArea.x, 0, 1, 1});   // up to the top edge
        const Crect buttonArea{shape.w - kButtonBarWidth * s, shape.h - kButtonBarHeight * s, kButtonBarWidth * s,
                               kButtonBarHeight * s};
        for (Cscreen* sc : screens) {
            auto place = [&](const std::string& name, const std::vector<Crect>& ink, bool overBars) {
                bool underMusic = false, underButtons = false, outside = false;
                for (const Crect& r : ink) {
                    underMusic |= overlaps(r, musicArea);
                    underButtons |= overlaps(r, buttonArea);
                    outside |= r.x < -0.5f || r.y < -0.5f || r.right() > shape.w + 0.5f || r.bottom() > shape.h + 0.5f;
                }
                if (!overBars && !sc->overBars) {
                    if (underMusic && sc->musicBar) note(*sc, name, "under the music bar", shape.name());
                    if (underButtons && sc->buttonBar) note(*sc, name, "under the button bar", shape.name());
                }
                if (outside) note(*sc, name, "past the screen's edge", shape.name());
            };
            for (auto& w : sc->widgets) place(w->name, inkOf(*w), w->overBars);
            for (auto& m : sc->menus) {
                const Crect area = m->areaRect();
                std::vector<Crect> box{area};
                if (Cwidget* h = m->header()) box.push_back(h->rect());
                place(m->name, box, m->overBars);
                checkRows(*sc, *m, area, shape);
            }
        }
    }

private:
    // Every shown text gadget of the widgets and of the lists' rows and headers.
    template <class F>
    static void forEachText(const std::vector<Cscreen*>& screens, F f) {
        auto each = [&](Cscreen& s, Cwidget& w) {
            for (auto& g : w.gadgets)
                if (g.kind == GADGET_TEXT && !g.hidden) f(s, w, g);
        };
        for (Cscreen* s : screens) {
            for (auto& w : s->widgets) each(*s, *w);
            for (auto& m : s->menus) {
                if (Cwidget* h = m->header()) each(*s, *h);
                for (auto& it : m->items) each(*s, *it);
            }
        }
    }

    // A list's rows stay inside its box: none wider than it, and the rows
    // beyond its height clipped.
    void checkRows(Cscreen& sc, Cmenu& m, const Crect& area, const Cshape& shape) {
        const float s = gUi->scale();
        float rowWidth = 0;
        if (CwidgetPtr row = gUi->createWidget(m.itemTemplate)) rowWidth = row->width;
        for (auto& it : m.items) rowWidth = std::max(rowWidth, it->width);
        if (rowWidth * s > area.w + 0.5f)
            note(sc, m.name,
                 "rows " + std::to_string((int)rowWidth) + " wide in a list " + std::to_string((int)m.width) + " wide");
        const Crect clip = m.clipRect();
        if (!m.hasClipRect() || clip.x != area.x || clip.y != area.y || clip.w != area.w || clip.h != area.h)
            note(sc, m.name, "clips its rows to other than its box", shape.name());
    }
};
}  // namespace

TEST(UiData, EveryLayoutReadsCleanlyAtEveryWindowShape) {
    CtestEngine eng;
    gEngine->setScreenSize(1280, 720);
    ASSERT_TRUE(gEngine->fonts.load());
    ASSERT_FALSE(gEngine->fonts.findFont("FontMedium")->isPlaceholder());
    for (const char* t : {"uiStyles.txt", "uiTemplates.txt", "popup.txt"}) ASSERT_TRUE(gUi->loadTemplates(t)) << t;
    gUi->clearProblems();
    Cscreen* musicBar = gUi->loadScreen("musicBar.txt");
    ASSERT_NE(musicBar, nullptr);
    std::vector<Cscreen*> screens;
    for (auto& f : layoutFiles(gEngine->dataPath("textFiles/layouts")))
        if (!kNotScreens.count(f)) {
            Cscreen* s = gUi->loadScreen(f);
            EXPECT_NE(s, nullptr) << f;
            if (s) screens.push_back(s);
        }
    ASSERT_GT(screens.size(), 50u);
    for (auto& p : gUi->problems()) ADD_FAILURE() << p;

    // Every template, also those only code makes widgets of, measured on a
    // screen of its own.
    Cscreen templates;
    templates.name = "templates";
    for (const std::string& t : gUi->templateNames())
        if (CwidgetPtr w = gUi->createWidget(t)) {
            w->name = t;
            templates.widgets.push_back(std::move(w));
        }
    ASSERT_GT(templates.widgets.size(), 50u);
    std::vector<Cscreen*> all = screens;
    all.push_back(&templates);
    all.push_back(musicBar);
    ClayoutCheck check;
    gUi->layoutAll();
    check.checkTexts(all);
    for (const Cshape& shape : kShapes) check.checkPlaces(screens, *musicBar, shape);

    for (auto& [finding, shapes] : check.findings) {
        std::string line = "layout: " + finding;
        if (!shapes.empty() && shapes.size() < std::size(kShapes)) {
            line += " (at";
            for (auto& s : shapes) line += " " + s;
            line += ")";
        }
        ADD_FAILURE() << line;
    }
}
