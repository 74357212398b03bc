// The UI's drawing calls land in the renderer.
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiStyles.h"
#include "engine/ui/widget.h"
#include "renderFixture.h"

// Text is centred on y; an outline style draws the outline under it and
// leaves the font's own style as it was.
TEST_F(CrenderTest, UiTextIsCentredAndKeepsTheFontsStyle) {
    Crenderer& r = gEngine->renderer;
    CshadowStyle outline;
    outline.outline = 2;
    Cvec2 size = uiDraw::measureText("FontMedium", "Play", 1);
    uiDraw::text("FontMedium", "Play", 640, 300, 1, Ccolour(1, 1, 1, 1), ALIGN_CENTRE, &outline);
    ASSERT_EQ(r.quads().size(), 2u);
    EXPECT_NEAR(r.quads()[1].x, 640, 1.0f);
    EXPECT_NEAR(r.quads()[1].y, 300, size.y * 0.2f);
    EXPECT_EQ(gEngine->fonts.findFont("FontMedium")->style, FONT_PLAIN);
    uiDraw::text("NoSuchFont", "Play", 0, 0, 1, Ccolour(), ALIGN_LEFT, nullptr);
    EXPECT_TRUE(gEngine->log.contains("Can't find font: NoSuchFont"));
}

TEST_F(CrenderTest, ATextGadgetShowsAPropUnderItsText) {
    ASSERT_TRUE(gEngine->props.loadFromText(R"(
        PropDef "Gem"
          Element "Body" Sprite "builtin_soft" Scale 2
        EndPropDef
        EndFile)"));
    Cwidget w;
    w.gadgets.emplace_back();
    w.gadgets.back().name = "Prop";
    w.setText("Prop", "Gem");
    w.x = 200;
    w.y = 100;
    w.uiScale = 1.5f;
    Crenderer& r = gEngine->renderer;
    auto quadsDrawn = [&] {
        r.beginFrame();
        w.render();
        return r.quads();
    };
    const size_t plain = quadsDrawn().size();

    EXPECT_FALSE(w.setProp("Prop", "NoSuchGem", 1.0f));   // refused, the gadget left as it was
    EXPECT_EQ(quadsDrawn().size(), plain);

    ASSERT_TRUE(w.setProp("Prop", "gem", 0.5f));
    const std::vector<CquadRecord> shown = quadsDrawn();
    ASSERT_EQ(shown.size(), plain + 1);
    // Drawn under the text, centred on the gadget, at the gadget's scale times its own.
    EXPECT_FLOAT_EQ(shown[0].width, gEngine->sprites.findSprite("builtin_soft")->width * 2 * 0.5f * 1.5f);
    EXPECT_FLOAT_EQ(shown[0].x, 200);

    // An empty name takes it away.
    EXPECT_TRUE(w.setProp("Prop", "", 1.0f));
    EXPECT_EQ(quadsDrawn().size(), plain);
}

// Every selectable widget has a selected look, whatever its panel style: the
// style's highlight where it has one, else a frame; a menu's current choice
// without the focus shows a dimmer form of it.
TEST_F(CrenderTest, EverySelectableWidgetHasASelectedLookAndADimmerChosenOne) {
    Crenderer& r = gEngine->renderer;
    CbackgroundStyle flat;   // a panel whose highlight is its rest (perk rows)
    flat.highlightFill = flat.fill;
    flat.highlightFrame = flat.frame;
    CbackgroundStyle lit;    // a button style with its own highlight
    const CbackgroundStyle* styles[] = {&flat, &lit, nullptr};
    for (const CbackgroundStyle* style : styles) {
        Cwidget w;
        w.selectable = true;
        w.background = style;
        w.x = 300;
        w.y = 200;
        auto look = [&](bool highlighted, bool chosen) {
            w.highlighted = highlighted;
            w.chosen = chosen;
            r.beginFrame();
            w.render();
            std::vector<Ccolour> colours;
            for (const CquadRecord& q : r.quads()) colours.push_back(q.colour);
            return colours;
        };
        const auto rest = look(false, false), selected = look(true, false), chosen = look(false, true);
        const char* name = style == &flat ? "flat" : style == &lit ? "lit" : "none";
        EXPECT_NE(selected, rest) << name;
        EXPECT_NE(chosen, rest) << name;
        EXPECT_NE(chosen, selected) << name;
    }
}
