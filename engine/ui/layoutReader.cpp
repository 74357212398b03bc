#include "engine/ui/layoutReader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "engine/engine.h"
#include "engine/ui/table.h"
#include "engine/ui/uiMgr.h"

namespace {
int alignFromText(const std::string& s) {
    if (equalsIgnoreCase(s, "Left")) return ALIGN_LEFT;
    if (equalsIgnoreCase(s, "Right")) return ALIGN_RIGHT;
    return ALIGN_CENTRE;
}

bool parseHexColour(const std::string& s, Ccolour& c) {
    if (s.size() != 7 && s.size() != 9) return false;
    unsigned long v = strtoul(s.c_str() + 1, nullptr, 16);
    if (s.size() == 7) v = (v << 8) | 0xFF;
    c = Ccolour((float)((v >> 24) & 255) / 255.0f, (float)((v >> 16) & 255) / 255.0f, (float)((v >> 8) & 255) / 255.0f,
                (float)(v & 255) / 255.0f);
    return true;
}
}  // namespace

bool ClayoutReader::next(std::string& tok) { return Cengine::readToken(tok, cursor_); }

bool ClayoutReader::nextOnLine(std::string& tok) {
    const char* p = cursor_;
    while (*p == ' ' || *p == '\t' || *p == ',' || *p == '\r') ++p;
    if (!*p || *p == '\n' || *p == ';') return false;
    return next(tok);
}

void ClayoutReader::readGroups(std::vector<std::string>& groups, const std::string& owner) {
    std::string g;
    while (nextOnLine(g))
        if (std::none_of(groups.begin(), groups.end(), [&](auto& o) { return equalsIgnoreCase(o, g); }))
            groups.push_back(g);
    if (groups.empty()) problem("Groups without a group name in " + owner);
}

double ClayoutReader::numberIn(double lo, double hi) {
    std::string t;
    if (!next(t)) {
        problem("number expected at the end of the file");
        return 0;
    }
    char* end = nullptr;
    double v = strtod(t.c_str(), &end);
    if (end == t.c_str()) {
        problem("number expected, found '" + t + "'");
        return 0;
    }
    // Out of range (infinities and NaN too) is refused: a value that does not
    // fit its field would be undefined once converted.
    if (!(v >= lo && v <= hi)) {
        problem("line " + std::to_string(lineNumber()) + ": value '" + t + "' out of range");
        return 0;
    }
    return v;
}

float ClayoutReader::number() { return (float)numberIn(-kMaxFloat, kMaxFloat); }

int ClayoutReader::intNumber() { return (int)numberIn(INT_MIN, INT_MAX); }

int64_t ClayoutReader::bigNumber() { return (int64_t)numberIn(-kMaxExactInteger, kMaxExactInteger); }

int ClayoutReader::lineNumber() const {
    int line = 1;
    for (const char* p = text_; p && p < cursor_ && *p; ++p) line += *p == '\n';
    return line;
}

void ClayoutReader::problem(const std::string& what) {
    std::string line = file_ + ": " + what;
    ui_.problems_.push_back(line);
    gEngine->log.print(LOG_L, "Layout %s", line.c_str());
}

std::string ClayoutReader::translate(const std::string& tag) {
    const char* t = gEngine->language().find(tag, false);
    if (!t) {
        problem("can't find tag '" + tag + "'");
        return tag;
    }
    return t;
}

bool ClayoutReader::readColour(Ccolour& c) {
    std::string t;
    if (!next(t)) return false;
    if (!t.empty() && t[0] == '#') {
        if (!parseHexColour(t, c)) problem("bad colour " + t);
        return true;
    }
    const CcolourTable::Centry* e = gEngine->colours.find(t);
    if (!e) {
        problem("can't find colour " + t);
        return true;
    }
    c = e->colour;
    return true;
}

bool ClayoutReader::read(const char* text) {
    cursor_ = text;
    text_ = text;
    std::string tok, name;
    while (next(tok)) {
        if (tok == "EndFile") return true;
        if (tok == "Widget" || tok == "Template") {
            bool isTemplate = tok == "Template";
            next(name);
            CwidgetPtr w = std::make_unique<Cwidget>();
            w->name = name;
            if (!readWidgetBody(*w, isTemplate ? "EndTemplate" : "EndWidget")) return false;
            if (isTemplate) {
                w->templateName = name;
                // A later definition of a template replaces the earlier one.
                for (auto& t : ui_.templates_)
                    if (equalsIgnoreCase(t->name, name)) t.reset();
                std::erase_if(ui_.templates_, [](const CwidgetPtr& p) { return !p; });
                ui_.templates_.push_back(std::move(w));
            } else if (screen_) {
                screen_->widgets.push_back(std::move(w));
            }
        } else if (tok == "Menu" || tok == "Table") {
            next(name);
            const bool isTable = tok == "Table";
            std::unique_ptr<Cmenu> m = isTable ? std::make_unique<Ctable>() : std::make_unique<Cmenu>();
            m->name = name;
            m->screen = screen_;
            if (!readMenu(*m, isTable ? "EndTable" : "EndMenu")) return false;
            if (screen_) screen_->menus.push_back(std::move(m));
        } else if (tok == "InPlayFrame") {
            if (screen_) screen_->inPlayFrame = true;
        } else if (tok == "WithoutMusicBar" || tok == "WithoutButtonBar" || tok == "OverBars") {
            // How the screen stands to the bars, for the layout check.
            if (screen_) {
                if (tok == "WithoutMusicBar") screen_->musicBar = false;
                else if (tok == "WithoutButtonBar") screen_->buttonBar = false;
                else screen_->overBars = true;
            }
        } else if (tok == "Background") {
            next(name);
            if (!readBackground(name)) return false;
        } else if (tok == "Shadow") {
            next(name);
            if (!readShadow(name)) return false;
        } else {
            problem("unknown block '" + tok + "'");
            return false;
        }
    }
    problem("missing EndFile");
    return false;
}

bool ClayoutReader::readWidgetBody(Cwidget& w, const char* endWord) {
    std::string tok, arg;
    while (next(tok)) {
        if (tok == endWord) return true;
        if (tok == "Use") {
            next(arg);
            const Cwidget* t = ui_.findTemplate(arg);
            if (!t) {
                problem("can't find template " + arg);
                continue;
            }
            // "Use" comes first in a body; the fields after it override the template's.
            std::string keepName = w.name;
            w.templateName = t->name;
            w.width = t->width;
            w.height = t->height;
            w.hidden = t->hidden;
            w.selectable = t->selectable;
            w.colour = t->colour;
            w.textColour = t->textColour;
            w.background = t->background;
            w.soundSlot = t->soundSlot;
            w.gadgets = t->gadgets;
            w.name = keepName;
            w.anchorX = t->anchorX;
            w.anchorY = t->anchorY;
            w.offsetX = t->offsetX;
            w.offsetY = t->offsetY;
            w.scale = t->scale;
            w.value = t->value;
            w.floatValue = t->floatValue;
            w.groups = t->groups;
        } else if (tok == "Pos") {
            w.anchorX = number();
            w.anchorY = number();
        } else if (tok == "Offset") {
            w.offsetX = number();
            w.offsetY = number();
        } else if (tok == "Size") {
            w.width = number();
            w.height = number();
        } else if (tok == "Hidden") {
            w.hidden = true;
        } else if (tok == "OverBars") {
            w.overBars = true;
        } else if (tok == "Groups") {
            readGroups(w.groups, w.name);
        } else if (tok == "Button") {
            w.selectable = true;
        } else if (tok == "Colour") {
            readColour(w.colour);
        } else if (tok == "TextColour") {
            readColour(w.textColour);
        } else if (tok == "Background") {
            next(arg);
            w.background = ui_.findBackgroundStyle(arg, false);
            if (!w.background) problem("can't find background style " + arg);
        } else if (tok == "Value") {
            w.value = bigNumber();
        } else if (tok == "Float") {
            w.floatValue = number();
        } else if (tok == "Scale") {
            w.scale = number();
        } else if (tok == "Sound") {
            w.soundSlot = intNumber();
        } else if (tok == "Text") {
            next(arg);
            if (!readGadget(w, GADGET_TEXT, arg, "EndText")) return false;
        } else if (tok == "Sprite") {
            next(arg);
            if (!readGadget(w, GADGET_SPRITE, arg, "EndSprite")) return false;
        } else if (tok == "Progress") {
            next(arg);
            if (!readGadget(w, GADGET_PROGRESS, arg, "EndProgress")) return false;
        } else {
            problem("unknown widget field '" + tok + "' in " + w.name);
            return false;
        }
    }
    problem(std::string("missing ") + endWord + " for " + w.name);
    return false;
}

bool ClayoutReader::readGadget(Cwidget& w, int kind, const std::string& name, const char* endWord) {
    // A gadget named like one inherited from the template is changed in place.
    Cgadget* g = w.findGadget(name);
    if (!g || g->kind != kind) {
        w.gadgets.emplace_back();
        g = &w.gadgets.back();
        g->kind = (EgadgetKind)kind;
        g->name = name;
        if (kind == GADGET_PROGRESS) g->colour = Ccolour(0.1f, 0.1f, 0.15f, 0.9f);
    }
    std::string tok, arg;
    while (next(tok)) {
        if (tok == endWord) return true;
        if (tok == "Offset") {
            g->offsetX = number();
            g->offsetY = number();
        } else if (tok == "Size") {
            g->width = number();
            g->height = number();
        } else if (tok == "Colour") {
            readColour(g->colour);
        } else if (tok == "Hidden") {
            g->hidden = true;
        } else if (tok == "Font") {
            next(g->font);
        } else if (tok == "Align") {
            next(arg);
            g->align = alignFromText(arg);
        } else if (tok == "Shadow") {
            next(arg);
            g->shadow = ui_.findShadowStyle(arg, false);
            if (!g->shadow) problem("can't find shadow style " + arg);
        } else if (tok == "Key") {
            next(arg);
            g->textKey = arg;
            g->text = CbString(translate(arg));
        } else if (tok == "String") {
            next(arg);
            g->text = CbString(arg);
            g->textKey.clear();
        } else if (tok == "Scale") {
            g->textScale = number();
        } else if (tok == "Wrap") {
            g->wrap = true;
        } else if (tok == "Image") {
            next(arg);
            g->setSpriteName(arg);
        } else if (tok == "Rotation") {
            g->rotation = number();
        } else if (tok == "Fill") {
            g->fill = number();
        } else if (tok == "FillColour") {
            readColour(g->fillColour);
        } else {
            problem("unknown gadget field '" + tok + "' in " + w.name + "." + name);
            return false;
        }
    }
    problem(std::string("missing ") + endWord + " for " + w.name + "." + name);
    return false;
}

bool ClayoutReader::readMenu(Cmenu& m, const char* endWord) {
    Ctable* table = dynamic_cast<Ctable*>(&m);
    std::string tok, arg;
    while (next(tok)) {
        if (tok == endWord) {
            // Items are made once the block is read, from its final item template.
            if (ui_.findTemplate(m.itemTemplate)) m.addLayoutItems();
            if (table && !table->build()) problem("can't find template " + table->headerTemplate);
            return true;
        }
        if (tok == "Pos") {
            m.anchorX = number();
            m.anchorY = number();
        } else if (tok == "Offset") {
            m.offsetX = number();
            m.offsetY = number();
        } else if (tok == "Size") {
            m.width = number();
            m.height = number();
        } else if (tok == "ItemTemplate" || (table && tok == "RowTemplate")) {
            next(m.itemTemplate);
            if (!ui_.findTemplate(m.itemTemplate)) problem("can't find template " + m.itemTemplate);
        } else if (table && tok == "HeaderTemplate") {
            next(table->headerTemplate);
            if (!ui_.findTemplate(table->headerTemplate)) problem("can't find template " + table->headerTemplate);
        } else if (table && tok == "Column") {
            if (!readColumn(*table)) return false;
        } else if (tok == "Spacing") {
            m.spacing = number();
        } else if (tok == "TitleKey") {
            next(arg);
            m.title = CbString(translate(arg));
            m.titleKey = arg;
        } else if (tok == "EmptyKey") {
            next(m.emptyKey);
            translate(m.emptyKey);   // reports a missing tag
        } else if (tok == "TitleStyle") {
            next(m.titleStyle);
        } else if (tok == "ArrowChoice") {
            m.arrowChoice = true;
        } else if (tok == "NoWrap") {
            m.wrap = false;
        } else if (tok == "Grow") {
            m.grow = true;
        } else if (tok == "Hidden") {
            m.hidden = true;
        } else if (tok == "OverBars") {
            m.overBars = true;
        } else if (tok == "Groups") {
            readGroups(m.groups, m.name);
        } else if (tok == "Unfocused") {
            m.focused = false;
        } else if (tok == "Item") {
            // Item <tag> <value>: a fixed item of the layout.
            next(arg);
            int64_t value = bigNumber();
            translate(arg);   // reports a missing tag
            m.layoutItems.push_back({arg, value});
        } else {
            problem("unknown " + std::string(table ? "table" : "menu") + " field '" + tok + "' in " + m.name);
            return false;
        }
    }
    problem(std::string("missing ") + endWord + " for " + m.name);
    return false;
}

// Column <name> <width> <Left|Centre|Right> [Sprite] [Heading <tag>], on one line.
bool ClayoutReader::readColumn(Ctable& t) {
    CtableColumn c;
    if (!nextOnLine(c.name)) {
        problem("Column without a name in " + t.name);
        return false;
    }
    c.width = number();
    std::string arg;
    if (nextOnLine(arg)) c.align = alignFromText(arg);
    while (nextOnLine(arg)) {
        if (arg == "Sprite") {
            c.sprite = true;
        } else if (arg == "Heading" && nextOnLine(c.headingTag)) {
            translate(c.headingTag);   // reports a missing tag
        } else {
            problem("unknown column field '" + arg + "' in " + t.name + "." + c.name);
            return false;
        }
    }
    if (t.columnIndex(c.name) >= 0) problem("column " + c.name + " twice in " + t.name);
    t.columns.push_back(c);
    return true;
}

bool ClayoutReader::readBackground(const std::string& name) {
    auto s = std::make_unique<CbackgroundStyle>();
    s->name = name;
    std::string tok;
    while (next(tok)) {
        if (tok == "EndBackground") {
            for (auto& b : ui_.backgrounds_)
                if (equalsIgnoreCase(b->name, name)) {
                    *b = *s;   // keep pointers held by widgets valid
                    return true;
                }
            ui_.backgrounds_.push_back(std::move(s));
            return true;
        }
        if (tok == "Fill") readColour(s->fill);
        else if (tok == "Frame") readColour(s->frame);
        else if (tok == "Thickness") s->thickness = number();
        else if (tok == "HighlightFill") readColour(s->highlightFill);
        else if (tok == "HighlightFrame") readColour(s->highlightFrame);
        else if (tok == "Image") next(s->sprite);
        else {
            problem("unknown background field '" + tok + "'");
            return false;
        }
    }
    problem("missing EndBackground for " + name);
    return false;
}

bool ClayoutReader::readShadow(const std::string& name) {
    auto s = std::make_unique<CshadowStyle>();
    s->name = name;
    std::string tok;
    while (next(tok)) {
        if (tok == "EndShadow") {
            for (auto& b : ui_.shadows_)
                if (equalsIgnoreCase(b->name, name)) {
                    *b = *s;
                    return true;
                }
            ui_.shadows_.push_back(std::move(s));
            return true;
        }
        if (tok == "Colour") readColour(s->colour);
        else if (tok == "Offset") {
            s->offsetX = number();
            s->offsetY = number();
        } else if (tok == "Outline") s->outline = number();
        else {
            problem("unknown shadow field '" + tok + "'");
            return false;
        }
    }
    problem("missing EndShadow for " + name);
    return false;
}
