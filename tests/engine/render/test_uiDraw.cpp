// The UI's drawing calls land in the renderer.
#include "engine/ui/uiDraw.h"
#include "engine/ui/uiStyles.h"
#include "renderFixture.h"

TEST_F(CrenderTest, UiDrawingGoesThroughTheRenderer) {
    Crenderer& r = gEngine->renderer;
    Csprite* missing = uiDraw::findSprite("ui_not_drawn_yet.png");
    ASSERT_NE(missing, nullptr);
    EXPECT_TRUE(missing->placeholder);
    EXPECT_TRUE(gEngine->log.contains("Can't find sprite: ui_not_drawn_yet.png"));
    EXPECT_EQ(uiDraw::findSprite(""), nullptr);
    uiDraw::sprite(missing, 100, 100, 32, 32, Ccolour(), 0);
    uiDraw::fillRect(Crect{10, 20, 30, 40}, Ccolour(1, 0, 0, 1));
    uiDraw::frame(Crect{10, 20, 30, 40}, 2, Ccolour());
    uiDraw::darken(0.5f);
    ASSERT_EQ(r.quads().size(), 1u + 1u + 4u + 1u);
    EXPECT_FLOAT_EQ(r.quads()[1].x, 25);
    EXPECT_FLOAT_EQ(r.quads()[1].height, 40);
    EXPECT_EQ(r.quads().back().colour, Ccolour(0, 0, 0, 0.5f));

    // Text is centred on y; an outline style draws the outline under it.
    r.beginFrame();
    CshadowStyle outline;
    outline.outline = 2;
    Cvec2 size = uiDraw::measureText("FontMedium", "Play", 1);
    EXPECT_FLOAT_EQ(size.x, gEngine->fonts.findFont("FontMedium")->measure("Play").x);
    uiDraw::text("FontMedium", "Play", 640, 300, 1, Ccolour(1, 1, 1, 1), ALIGN_CENTRE, &outline);
    ASSERT_EQ(r.quads().size(), 2u);
    EXPECT_NEAR(r.quads()[1].x, 640, 1.0f);
    EXPECT_NEAR(r.quads()[1].y, 300, size.y * 0.2f);
    EXPECT_EQ(gEngine->fonts.findFont("FontMedium")->style, FONT_PLAIN);   // the font's own style is kept
    uiDraw::text("NoSuchFont", "Play", 0, 0, 1, Ccolour(), ALIGN_LEFT, nullptr);
    EXPECT_TRUE(gEngine->log.contains("Can't find font: NoSuchFont"));

    uiDraw::pushClip(Crect{0, 0, 100, 100});
    EXPECT_EQ(r.scissorDepth(), 1);
    uiDraw::popClip();
    EXPECT_EQ(r.scissorDepth(), 0);
}
