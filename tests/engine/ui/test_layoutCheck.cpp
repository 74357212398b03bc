// The layout check: every screen's layout at the window shapes players'
// desktops give, with the game's fonts, in every language there is. It
// prints one line per finding ("layout: widget: what") and fails on any
// that the allow-list below does not name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "engine/format.h"
#include "engine/languages.h"
#include "engine/ui/uiMgr.h"
#include "engine/ui/uiStyles.h"
#include "support/testEngine.h"
#include "uiTestLayouts.h"

namespace {
struct Cshape {
    int w, h;
    std::string name() const { return std::to_string(w) + "x" + std::to_string(h); }
};
const Cshape kShapes[] = {{1280, 720}, {1280, 800}, {1024, 768}};

// What the layouts draw on purpose, each with its reason ("layout: widget: what").
const std::set<std::string> kAllowed = {
    // Measured by its whole line (84 px of the huge font); the digits, 52 px
    // high, stand clear of the wave's label above them.
    "HUD.txt: BossRushWave: text runs into BossRushTimer's text",
};

// Widgets a screen's code shows in turn, never together, each set with the
// screen and the reason: texts of different sets may share a place.
struct CshownInTurn {
    const char* screen;
    std::vector<std::set<std::string>> sets;
    const char* reason;
};
const CshownInTurn kShownInTurn[] = {
    {"HUD.txt", {{"SurvivalTimer"}, {"BossRushTimer", "BossRushWave"}}, "one timer, by the game type"},
    {"HUD.txt", {{"DareDevil"}, {"Survivor"}, {"MovingMul"}}, "one bonus note at a time"},
    {"partyHUD.txt",
     {{"SurvivalTimer"}, {"BossRushTimer", "BossRushWave"}, {"TagTimer", "TagTimerTitle"}, {"FootballScore"}},
     "one timer or score, by the party game"},
    {"partyHUD.txt", {{"Player1"}, {"Player1Football"}}, "a football team shows its players apart"},
    {"partyHUD.txt", {{"Player2"}, {"Player2Football"}}, "a football team shows its players apart"},
    {"gameOverParty.txt",
     {{"Percentage", "PercentageTitle"}, {"Time", "TimeTitle"}, {"Wave", "WaveTitle"}},
     "the measure of the party game played"},
    {"gameOverParty.txt",
     {{"Team1Name", "Team1Score", "Team2Name", "Team2Score", "Team3Name", "Team3Score", "Team4Name", "Team4Score"},
      {"FootballTeam1Name", "FootballTeam2Name", "FootballScore", "FootballScoreTitle"}},
     "the teams' table or the football result"},
    {"gameOver.txt", {{"GameOver"}, {"WorldRecord", "WorldRecordText"}}, "a board place replaces the title"},
    {"gameOverSurvival.txt", {{"GameOver"}, {"WorldRecord", "WorldRecordText"}}, "a board place replaces the title"},
    {"gameOverBossRush.txt", {{"GameOver"}, {"WorldRecord", "WorldRecordText"}}, "a board place replaces the title"},
};

// Whether a screen's code shows the two widgets in turn: by the table above,
// or by the layout's own groups (a sign-in form of one mode or another).
bool shownInTurn(const Cscreen& sc, const Cwidget& a, const Cwidget& b) {
    if (!a.groups.empty() && !b.groups.empty()) {
        bool shared = false;
        for (const std::string& g : a.groups) shared |= std::find(b.groups.begin(), b.groups.end(), g) != b.groups.end();
        if (!shared) return true;
    }
    for (const CshownInTurn& t : kShownInTurn) {
        if (sc.name != t.screen) continue;
        int setA = -1, setB = -1;
        for (size_t i = 0; i < t.sets.size(); ++i) {
            if (t.sets[i].count(a.name)) setA = (int)i;
            if (t.sets[i].count(b.name)) setB = (int)i;
        }
        if (setA >= 0 && setB >= 0 && setA != setB) return true;
    }
    return false;
}

// The button bar's buttons stand right-aligned along the bottom edge; a
// screen's own widgets keep clear of the width a few of them take.
constexpr float kButtonBarWidth = 480.0f;   // layout pixels from the right edge
constexpr float kButtonBarHeight = 64.0f;   // from the bottom edge: the buttons and their margin

// The texts code puts in a text box at their widest, where they are known,
// written as the language in use writes them (digit groups, places, dates,
// times): each is measured in every widget or template of that name, in
// every language.
std::vector<std::string> texts(std::initializer_list<std::string> l) { return l; }
std::vector<std::string> places(std::initializer_list<int> l) {
    std::vector<std::string> v;
    for (int n : l) v.push_back(ordinalText(n));
    return v;
}
std::string grouped(int64_t n) { return formatThousands64(n); }
struct CsampleText {
    const char* widget;
    const char* gadget;
    std::vector<std::string> (*texts)();
};
const CsampleText kWidestTexts[] = {
    {"PerkUpgradeItem", "Cost", [] { return texts({"$" + grouped(6000)}); }},   // 3 x the dearest perk level
    {"PerkItem", "Upgrade", [] { return texts({"(10 / 10)"}); }},                // the most levels a perk has
    {"Score", "TextName", [] { return texts({grouped(99999999)}); }},           // the HUD's score
    {"ScoreReplayItem", "Score", [] { return texts({grouped(99999999)}); }},
    {"ScoreReplayItem", "Rank", [] { return places({1, 2, 3, 4, 5, 6, 7}); }},   // the player and six rivals
    {"HighScore", "TextName", [] { return texts({std::string(gEngine->text("HighScore")) + " " + grouped(99999999)}); }},
    {"TotalXP", "TextName", [] { return texts({grouped(99999999)}); }},         // rank-up: the XP of rank 40
    {"ShipTotalXP", "TextName", [] { return texts({grouped(99999999)}); }},
    {"AwardedXP", "TextName", [] { return texts({"+" + grouped(999999)}); }},
    {"ShipAwardedXP", "TextName", [] { return texts({"+" + grouped(999999)}); }},
    {"Cash", "TextName", [] { return texts({"$" + grouped(999999)}); }},
    // A place on a track's board: the game over's and the share picture's.
    {"WorldRecordNumber", "TextName", [] { return places({1, 2, 3, 9991, 9992, 9993, 9994}); }},
    {"CrownTitle", "", [] { return places({1}); }},
    {"RosetteTitle", "", [] { return places({2, 3, 21, 22, 23, 99}); }},
    // The news feed's day, every month of the year.
    {"NewsFeedDethroned", "Date", [] {
         std::vector<std::string> v;
         for (int m = 0; m < 12; ++m) v.push_back(monthYearText(1767225600 + (int64_t)(m * 31 + 27) * 86400));
         return v;
     }},
    // Play times and track lengths of an hour and more.
    {"ShipGalleryItem", "Time", [] { return texts({formatTime(359999)}); }},
    {"ShipHangarItem", "Time", [] { return texts({formatTime(359999)}); }},
    {"PartyShipItem", "Time", [] { return texts({formatTime(359999)}); }},
    {"SongInfoItem", "Duration", [] { return texts({formatTime(35999)}); }},
    {"SurvivalTimer", "TextName", [] { return texts({formatTime(35999)}); }},
    {"BossRushTimer", "TextName", [] { return texts({formatTime(3599)}); }},
    {"ChallDuration", "TextName", [] { return texts({formatTime(35999)}); }},
    // A maker's badge that carries a plain word.
    {"Manu", "Word", [] { return texts({gEngine->text("Manu_Standard"), gEngine->text("Manu_Workshop")}); }},
    {"ShipManu", "Word", [] { return texts({gEngine->text("Manu_Standard"), gEngine->text("Manu_Workshop")}); }},
};

// Files of templates and styles, and the bar itself: not screens of their own.
const std::set<std::string> kNotScreens = {"uiStyles.txt", "uiTemplates.txt", "popup.txt", "musicBar.txt"};

bool overlaps(const Crect& a, const Crect& b) {
    const float eps = 0.5f;   // touching edges are no overlap
    return a.x + eps < b.right() && b.x + eps < a.right() && a.y + eps < b.bottom() && b.y + eps < a.bottom();
}

// Whether a holds b, give or take half a pixel.
bool holds(const Crect& a, const Crect& b) {
    return a.x <= b.x + 0.5f && a.y <= b.y + 0.5f && a.right() + 0.5f >= b.right() && a.bottom() + 0.5f >= b.bottom();
}

std::string listed(const std::vector<std::string>& v) {
    std::string list;
    for (auto& l : v) list += (list.empty() ? "" : ", ") + l;
    return list;
}

// Runs f in every language with a table of its own (and, with English,
// the English row first), then goes back to English.
template <class F>
void inEveryTranslation(bool withEnglish, F f) {
    for (int n = 1; n < kLanguageCount; ++n) {
        const Clanguage& lang = languageRow(n);
        if (std::string(lang.stringsFile) == "stringsGameEnglish.txt" && !(withEnglish && n == 1)) continue;
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
bool textInk(Cwidget& w, Cgadget& g, Crect& out) {
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
    out = {left, gy - size.y * 0.5f, size.x, size.y};
    return true;
}

// The rectangles a widget draws into: its panel, and each gadget.
std::vector<Crect> inkOf(Cwidget& w) {
    std::vector<Crect> ink;
    if (w.background) ink.push_back(w.rect());
    for (auto& g : w.gadgets) {
        Crect r;
        if (g.hidden) continue;
        if (g.kind == GADGET_TEXT && textInk(w, g, r)) ink.push_back(r);
        else if (g.kind != GADGET_TEXT && g.width > 0 && g.height > 0) ink.push_back(gadgetRect(w, g));
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

    // Texts cut below their legible floor, in English and in each translation.
    void checkTexts(const std::vector<Cscreen*>& screens) {
        std::map<const Cgadget*, std::vector<std::string>> cutIn;   // gadget -> languages
        auto measure = [&](const std::string& language, bool english) {
            forEachText(screens, false, [&](Cscreen& s, Cwidget& w, Cgadget& g) {
                if (g.text.str().empty()) return;
                if (!english && g.textKey.empty()) return;
                const uiDraw::CfittedText& fit = w.fittedText(g);
                // In English every text of a screen fits its box at its own size.
                if (english && s.name != "templates" && !fit.cut && fit.scale < g.textScale * 0.999f)
                    note(s, w.name + "." + g.name, "\"" + g.text.str() + "\" scaled down to fit");
                if (!fit.cut) return;
                if (english) {
                    Cvec2 box = w.textBox(g);
                    note(s, w.name + "." + g.name,
                         "\"" + g.text.str() + "\" cut to \"" + fit.text + "\" (box " + std::to_string((int)box.x) +
                             " x " + std::to_string((int)box.y) + ")");
                } else {
                    cutIn[&g].push_back(language);
                    lastCut_[&g] = {&s, &w, g.text.str()};
                }
            });
        };
        measure("English", true);
        // A box too small for one line of its font at the legible floor shows no text that can be read.
        forEachText(screens, true, [&](Cscreen& s, Cwidget& w, Cgadget& g) {
            const Cvec2 box = w.textBox(g);
            const float floor = uiDraw::legibleFloor(g.font, g.textScale);
            const Cvec2 line = uiDraw::measureText(g.font, "0", floor);   // one digit at least
            if (box.y + 0.5f < line.y || box.x + 0.5f < line.x)
                note(s, w.name + "." + g.name,
                     "box " + std::to_string((int)box.x) + " x " + std::to_string((int)box.y) + " too small for " +
                         g.font + " (" + std::to_string((int)std::ceil(line.x)) + " x " +
                         std::to_string((int)std::ceil(line.y)) + " at its floor)");
        });
        inEveryTranslation(false, [&](const std::string& tag) { measure(tag, false); });
        for (auto& [g, languages] : cutIn) {
            const Ccut& c = lastCut_[g];
            note(*c.screen, c.widget->name + "." + g->name, "cut in " + listed(languages) + " (\"" + c.text + "\")");
        }
    }

    // Boxes code fills, with each text it may put there in every language;
    // the boxes keep the widest English one for the places check.
    void checkSamples(const std::vector<Cscreen*>& screens) {
        std::map<std::string, std::vector<std::string>> cutIn;   // "screen: widget.gadget: \"text\"" -> languages
        std::map<std::string, const Cscreen*> where;
        auto fill = [&](const std::string& language) {
            for (Cscreen* sc : screens)
                for (auto& w : sc->widgets)
                    for (const CsampleText& sample : kWidestTexts) {
                        if (w->name != sample.widget) continue;
                        Cgadget* g = *sample.gadget ? w->findGadget(sample.gadget) : w->findTextGadget({}, false);
                        if (!g) g = w->findTextGadget(sample.widget, false);
                        if (!g || g->kind != GADGET_TEXT) continue;
                        std::string widest;
                        for (const std::string& t : sample.texts()) {
                            g->text = CbString(t);
                            if (w->fittedText(*g).cut) {
                                const std::string key = w->name + "." + g->name + ": \"" + t + "\"";
                                if (!language.empty() && (cutIn[key].empty() || cutIn[key].back() != language)) cutIn[key].push_back(language);
                                where[key] = sc;
                            }
                            if (t.size() > widest.size()) widest = t;
                        }
                        g->text = CbString(widest);
                    }
        };
        inEveryTranslation(true, fill);
        fill("");   // back to English, its widest texts left in the boxes
        for (auto& [key, languages] : cutIn) {
            const size_t at = key.find(": ");
            note(*where[key], key.substr(0, at), "code's text " + key.substr(at + 2) + " cut in " + listed(languages));
        }
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
            std::vector<std::pair<std::string, Crect>> drawn;   // each widget's and list's ink, united
            auto draws = [&](const std::string& name, const std::vector<Crect>& ink) {
                Crect all;
                for (const Crect& r : ink) all = unite(all, r);
                if (all.w > 0 && all.h > 0) drawn.push_back({name, all});
            };
            for (auto& w : sc->widgets) {
                place(w->name, inkOf(*w), w->overBars);
                draws(w->name, inkOf(*w));
            }
            for (auto& m : sc->menus) {
                const Crect area = m->areaRect();
                std::vector<Crect> box{area};
                if (Cwidget* h = m->header()) box.push_back(h->rect());
                place(m->name, box, m->overBars);
                draws(m->name, box);
                checkRows(*sc, *m, area, shape);
            }
            checkPanels(*sc, drawn, shape);
            checkTextsApart(*sc, shape);
        }
    }

private:
    // A text never runs into another widget's text or icon shown with it (a
    // status line over a title, a label under the next icon). Widgets the
    // layout hides are shown by code in turn with others and are left out.
    void checkTextsApart(Cscreen& sc, const Cshape& shape) {
        struct Cink {
            const Cwidget* widget;
            Crect rect;
            bool text;
        };
        std::vector<Cink> inks;
        for (auto& w : sc.widgets) {
            if (w->hidden) continue;
            for (auto& g : w->gadgets) {
                if (g.hidden) continue;
                Crect r;
                if (g.kind == GADGET_TEXT && textInk(*w, g, r)) inks.push_back({w.get(), r, true});
                else if (g.kind == GADGET_SPRITE && g.width > 0 && g.height > 0)
                    inks.push_back({w.get(), gadgetRect(*w, g), false});
            }
        }
        for (const Cink& a : inks)
            for (const Cink& b : inks)
                if (a.text && a.widget != b.widget && (!b.text || &a < &b) && overlaps(a.rect, b.rect) &&
                    !shownInTurn(sc, *a.widget, *b.widget))
                    note(sc, a.widget->name,
                         "text runs into " + b.widget->name + "'s " + (b.text ? "text" : "icon"), shape.name());
    }

    struct Ccut {
        const Cscreen* screen = nullptr;
        const Cwidget* widget = nullptr;
        std::string text;
    };
    std::map<const Cgadget*, Ccut> lastCut_;
    // What stands inside a panel at the first shape (16:9, which the
    // layouts are drawn for): "screen|widget" -> the panels.
    std::map<std::string, std::set<std::string>> inPanel_;

    // A widget inside a panel at 16:9 stays inside it at every shape: a
    // panel of fixed size holding widgets placed by fractions of the screen
    // loses them on a taller or narrower screen.
    void checkPanels(Cscreen& sc, const std::vector<std::pair<std::string, Crect>>& drawn, const Cshape& shape) {
        const bool first = shape.w == kShapes[0].w && shape.h == kShapes[0].h;
        for (auto& p : sc.widgets) {
            if (!p->background || p->selectable) continue;   // a panel, not a button
            const Crect panel = p->rect();
            for (auto& [name, ink] : drawn) {
                if (name == p->name) continue;
                const bool inside = holds(panel, ink);
                auto& panels = inPanel_[sc.name + "|" + name];
                if (first && inside) panels.insert(p->name);
                if (!first && !inside && panels.count(p->name))
                    note(sc, name, "leaves its panel " + p->name, shape.name());
            }
            // A panel and the panels, buttons and lists beside it do not run into each other.
            std::vector<std::pair<const void*, std::pair<std::string, Crect>>> beside;
            for (auto& q : sc.widgets)
                if (q->background && (q->selectable || q.get() > p.get())) beside.push_back({q.get(), {q->name, q->rect()}});
            for (auto& m : sc.menus) beside.push_back({m.get(), {m->name, m->areaRect()}});
            for (auto& [who, named] : beside) {
                if (who == p.get()) continue;
                const Crect& b = named.second;
                if (!holds(panel, b) && !holds(b, panel) && overlaps(panel, b)) note(sc, named.first, "runs into the panel " + p->name, shape.name());
            }
        }
    }

    // Every shown text gadget of the widgets, the lists' rows and headers,
    // and with rowTemplates a row made from each list's row template.
    template <class F>
    static void forEachText(const std::vector<Cscreen*>& screens, bool rowTemplates, F f) {
        auto each = [&](Cscreen& s, Cwidget& w) {
            for (auto& g : w.gadgets)
                if (g.kind == GADGET_TEXT && !g.hidden) f(s, w, g);
        };
        for (Cscreen* s : screens) {
            for (auto& w : s->widgets) each(*s, *w);
            for (auto& m : s->menus) {
                if (Cwidget* h = m->header()) each(*s, *h);
                if (!rowTemplates) {
                    for (auto& it : m->items) each(*s, *it);
                } else if (auto* t = dynamic_cast<Ctable*>(m.get())) {
                    if (Cwidget* row = t->addRow(0, {})) {
                        row->name = m->name + ".Row";
                        each(*s, *row);
                    }
                    t->clearRows();
                } else if (CwidgetPtr row = gUi->createWidget(m->itemTemplate)) {
                    row->name = m->name + ".Row";
                    each(*s, *row);
                }
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
        if (auto* t = dynamic_cast<Ctable*>(&m)) {
            float total = 0;
            for (auto& c : t->columns) total += c.width;
            if (total > rowWidth + 0.5f)
                note(sc, m.name,
                     "columns " + std::to_string((int)total) + " wide in rows " + std::to_string((int)rowWidth) +
                         " wide");
        }
        float bottom = area.y;
        for (auto& it : m.items) bottom = std::max(bottom, it->rect().bottom());
        if (bottom > area.bottom() + 0.5f && !m.hasClipRect())
            note(sc, m.name, "rows run past the list's box unclipped", shape.name());
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
    check.checkSamples(all);
    for (const Cshape& shape : kShapes) check.checkPlaces(screens, *musicBar, shape);

    std::set<std::string> unused = kAllowed;
    for (auto& [finding, shapes] : check.findings) {
        std::string line = "layout: " + finding;
        if (!shapes.empty() && shapes.size() < std::size(kShapes)) {
            line += " (at";
            for (auto& s : shapes) line += " " + s;
            line += ")";
        }
        if (unused.erase(finding)) continue;
        ADD_FAILURE() << line;
    }
    for (auto& a : unused) ADD_FAILURE() << "allowed but not found: " << a;
}
