// Sprites, sheets, textures, fonts and props.
#include <SDL.h>
#include <dirent.h>

#include <fstream>

#include "engine/bString.h"
#include "renderFixture.h"

TEST_F(CrenderTest, SpritesFolderNamesSpritesByFileIgnoringCase) {
    ASSERT_TRUE(writeSolidPng(tmp + "/test_rosette.png", 16, 8, 255, 0, 0));
    ASSERT_TRUE(writeSolidPng(tmp + "/test_flag.PNG", 4, 4, 0, 0, 255));
    ASSERT_TRUE(writeSolidPng(tmp + "/notes.txt", 4, 4, 0, 0, 0));   // not a .png: ignored
    std::ofstream(tmp + "/broken.png") << "not an image";
    CspriteMgr& sm = gEngine->sprites;
    EXPECT_EQ(sm.loadFolder(tmp), 2);
    EXPECT_TRUE(gEngine->log.containsPart("broken.png (not a PNG)"));
    Csprite* s = sm.findSprite("TEST_Rosette.png");
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->width == 16 && s->height == 8);
    EXPECT_EQ(sm.loadFolder(tmp) + sm.loadFolder(tmp + "/missing"), 0);   // loading again adds nothing
    EXPECT_TRUE(gEngine->log.contains("Can't find sprite folder: " + tmp + "/missing"));
}

TEST_F(CrenderTest, MissingSpriteIsLoggedAndDrawnAsThePlaceholder) {
    CspriteMgr& sm = gEngine->sprites;
    EXPECT_EQ(sm.findSprite("flag_zz.png"), nullptr);
    EXPECT_TRUE(gEngine->log.contains("Can't find sprite: flag_zz.png"));
    sm.findSprite("quiet.png", false);
    EXPECT_FALSE(gEngine->log.containsPart("quiet.png"));

    Csprite* p = sm.getSprite("ui_missing.png");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->placeholder);
    sm.getSprite("UI_MISSING.png");
    EXPECT_EQ(logCount("Can't find sprite: ui_missing.png"), 1);
    Crenderer& r = gEngine->renderer;
    r.drawSprite(p, 100, 100);
    r.drawSprite(nullptr, 200, 100);   // no sprite at all: the placeholder too
    ASSERT_EQ(r.quads().size(), 2u);
    for (const auto& q : r.quads()) EXPECT_EQ(q.texture, gEngine->textures.placeholder()->id());
}

TEST_F(CrenderTest, SheetsNameRegionsOfOneTexture) {
    ASSERT_TRUE(writeSolidPng(tmp + "/sheet.png", 64, 64, 10, 20, 30));
    CspriteMgr& sm = gEngine->sprites;
    sm.loadFolder(tmp);
    size_t textures = gEngine->textures.count();
    ASSERT_TRUE(sm.loadSheetsFromText(R"(
        Sheet "sheet.png"
          Sprite "a.png" 0 0 32 32
          Sprite "b.png" 32 16 32 48
          Sprite "bad.png" 60 60 10 10
        EndSheet
        Sheet "nosheet.png"
          Sprite "c.png" 0 0 1 1
        EndSheet
        NormalMap "a.png" "b.png"
        EndFile)"));
    EXPECT_EQ(gEngine->textures.count(), textures);
    Csprite* a = sm.findSprite("A.PNG");
    Csprite* b = sm.findSprite("b.png");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->texture, b->texture);
    EXPECT_TRUE(b->u0 == 0.5f && b->v0 == 0.25f && b->v1 == 1.0f && b->height == 48);
    EXPECT_EQ(a->normalMap, b);
    EXPECT_TRUE(sm.findSprite("bad.png", false) == nullptr && sm.findSprite("c.png", false) == nullptr);
    EXPECT_TRUE(gEngine->log.contains("Sprite bad.png lies outside its sheet sheet.png"));
    EXPECT_TRUE(gEngine->log.contains("Can't find sprite: nosheet.png"));

    // Deleting one region keeps the shared texture for the others.
    sm.deleteSprite(b);
    EXPECT_TRUE(a->normalMap == nullptr && gEngine->textures.count() == textures);
    EXPECT_FALSE(sm.loadSheetsFromText("Sheet \"sheet.png\" Wobble EndFile"));
}

TEST_F(CrenderTest, SpritesFromMemoryAndTheirDeletion) {
    ASSERT_TRUE(writeSolidPng(tmp + "/hull.png", 24, 12, 0, 255, 0));
    std::vector<uint8_t> bytes = readFileBytes(tmp + "/hull.png");
    CspriteMgr& sm = gEngine->sprites;
    size_t textures = gEngine->textures.count();
    Csprite* s = sm.createSpriteFromMemory("Ship_42", bytes.data(), bytes.size());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(gEngine->textures.count(), textures + 1);
    CspriteRef kept;
    EXPECT_EQ(kept.find(sm, "SHIP_42"), s);
    // The same name again is the same sprite, whatever the bytes.
    EXPECT_EQ(sm.createSpriteFromMemory("ship_42", "junk", 4), s);
    EXPECT_TRUE(sm.createSpriteFromMemory("Other", "junk", 4) == nullptr && sm.createSpriteFromMemory("Empty", nullptr, 0) == nullptr);
    EXPECT_TRUE(gEngine->log.containsPart("Can't load image: Other"));
    sm.deleteSprite(s);
    EXPECT_TRUE(sm.findSprite("Ship_42", false) == nullptr && gEngine->textures.count() == textures);
    EXPECT_EQ(kept.find(sm, "SHIP_42"), nullptr);   // a kept lookup never outlives its sprite
    sm.deleteSprite(sm.placeholder());   // the built-ins stay
    EXPECT_NE(sm.placeholder(), nullptr);
}

// Images reach the decoder from outside (shared ships' hulls, a modded data
// folder); only PNG is read. Other formats' readers never see the bytes: the
// SVG reader once leaked on the fuzzer's "$\n<svg".
TEST_F(CrenderTest, OnlyPngImagesAreDecoded) {
    ASSERT_TRUE(writeSolidPng(tmp + "/hull.png", 8, 4, 0, 0, 255));
    std::vector<uint8_t> png = readFileBytes(tmp + "/hull.png");
    SDL_Surface* s = CtextureMgr::decode(png.data(), png.size(), "hull");
    ASSERT_NE(s, nullptr);
    SDL_FreeSurface(s);
    const std::pair<std::string, std::string> others[] = {
        {"svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"><rect width=\"4\" height=\"4\"/></svg>"},
        {"found", "$\n<svg"}};
    for (const auto& [name, bytes] : others) {
        EXPECT_EQ(CtextureMgr::decode(bytes.data(), bytes.size(), name), nullptr) << name;
        EXPECT_TRUE(gEngine->log.containsPart("Can't load image: " + name)) << name;
    }
}

TEST_F(CrenderTest, NamedFontsMeasureAndDrawText) {
    CfontMgr& fm = gEngine->fonts;
    Cfont *big = fm.findFont("fontbig"), *medium = fm.findFont("FontMedium"), *uni = fm.findFont("UniFontNormal");
    ASSERT_TRUE(big && medium && uni);
    EXPECT_FALSE(big->isPlaceholder() || uni->isPlaceholder());
    Cvec2 one = big->measure("Zorbex");
    Cvec2 two = big->measure("Zorbex\nZorbex rules");
    EXPECT_FLOAT_EQ(two.y, 2 * one.y);
    EXPECT_GT(two.x, one.x);
    EXPECT_FLOAT_EQ(big->measure("Zorbex", 0.5f).x, one.x * 0.5f);

    Crenderer& r = gEngine->renderer;
    big->setColour(Ccolour(1, 1, 0, 1));
    big->drawText("Zorbex", 640, 100, 1, ALIGN_CENTRE);
    ASSERT_EQ(r.quads().size(), 1u);
    EXPECT_NEAR(r.quads()[0].x, 640, 1.0f);
    big->drawText("Zorbex", 1000, 300, 1, ALIGN_RIGHT | ALIGN_BOTTOM);
    const CquadRecord& right = r.quads().back();
    EXPECT_NEAR(right.x + right.width * 0.5f, 1000, 1.0f);
    EXPECT_NEAR(right.y + right.height * 0.5f, 300, 2.0f);
    big->drawTextf(10, 10, 1, ALIGN_LEFT, "Score %d", 1234);
    EXPECT_NEAR(r.quads().back().x - r.quads().back().width * 0.5f, 10, 1.0f);
    std::string longText(3000, 'x');
    medium->drawTextf(0, 0, 0.1f, ALIGN_LEFT, "%s!", longText.c_str());   // longer than any buffer
    EXPECT_NEAR(r.quads().back().width, medium->measure(longText + "!", 0.1f).x, 1.0f);
}

TEST_F(CrenderTest, MissingFontsAreLoggedAndDrawnAsBoxes) {
    CfontMgr& fm = gEngine->fonts;
    Cfont* p = fm.getFont("FontGone");
    fm.getFont("FontGone");
    EXPECT_EQ(logCount("Can't find font: FontGone"), 1);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isPlaceholder());
    Crenderer& r = gEngine->renderer;
    p->drawText("Hello\nthere", 100, 100);
    ASSERT_EQ(r.quads().size(), 2u);
    EXPECT_GT(p->measure("Hello").x, 0);

    ASSERT_TRUE(fm.loadFromText("Font Broken \"nope.ttf\" 20 EndFile"));
    EXPECT_TRUE(gEngine->log.contains("Can't find font file: nope.ttf (font Broken)"));
    Cfont* broken = fm.findFont("Broken");
    ASSERT_NE(broken, nullptr);
    EXPECT_TRUE(broken->isPlaceholder());
}

// A line with characters its font lacks (a Chinese title in an English
// game) is measured and drawn with the fallback font, not as boxes.
TEST_F(CrenderTest, LinesWithMissingGlyphsFallBackToTheFallbackFont) {
    CfontMgr& fm = gEngine->fonts;
    Cfont *latin = fm.findFont("FontNormal"), *uni = fm.findFont("UniFontNormal");
    ASSERT_TRUE(latin && uni);
    ASSERT_EQ(latin->pixelSize, uni->pixelSize);
    const std::string chinese = "\xE6\x98\x9F\xE7\xA9\xBA";   // two Chinese characters
    EXPECT_TRUE(latin->hasGlyphs("Zorbex \xC3\xA9t\xC3\xA9") && !latin->hasGlyphs(chinese));
    EXPECT_EQ(fm.fallbackFile(), "wqy-microhei.ttc");
    EXPECT_FLOAT_EQ(latin->measure(chinese).x, uni->measure(chinese).x);
    EXPECT_FALSE(gEngine->log.contains("Can't open fallback font"));

    // Without the fallback file the line keeps its own font, said once.
    ASSERT_TRUE(fm.loadFromText("Fallback \"none.ttf\"\nEndFile"));
    EXPECT_GT(latin->measure(chinese).x, 0);
    latin->measure(chinese + "!");
    EXPECT_TRUE(gEngine->log.contains("Can't open fallback font: none.ttf (font FontNormal)"));
}

TEST_F(CrenderTest, PropsCopyTheirTreeAndFindChildrenDepthFirst) {
    ASSERT_TRUE(writeSolidPng(tmp + "/hull.png", 20, 20, 255, 255, 255));
    gEngine->sprites.loadFolder(tmp);
    CpropMgr& pm = gEngine->props;
    ASSERT_TRUE(pm.loadFromText(R"(
        PropDef "Card"
          Element "Frame" Sprite "hull.png" Pos 0 0
          Element "Element_Body" Parent "Frame" Pos 10 0 Scale 2
          Element "Element_Hull" Parent "Element_Body" Sprite "hull.png" Pos 5 0 Colour 255 0 0 255
          Element "Ghost" Parent "Frame" Sprite "hull.png" Hidden true
          Element "Element_Hull" Sprite "missing_part.png" Pos 0 40
          Element "Orphan" Parent "Nobody"
        EndPropDef
        EndFile)"));
    EXPECT_TRUE(gEngine->log.contains("props: Card: can't find parent Nobody of Orphan"));
    CpropInstance *a = pm.createInstance("card"), *b = pm.createInstance("Card");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(pm.createInstance("NoCard"), nullptr);

    // Depth-first: the nested hull comes before the later root of the same name.
    CpropElement* hull = a->findChildByName("element_hull");
    ASSERT_NE(hull, nullptr);
    CpropElement* body = a->findChildByName("Element_Body");
    EXPECT_EQ(a->findChildByName("Element_Hull", body), hull);
    EXPECT_EQ(a->findChildByName("Frame", body), nullptr);

    // Each instance has its own tree.
    Csprite* other = gEngine->sprites.findSprite("builtin_soft");
    hull->sprite = other;
    EXPECT_NE(b->findChildByName("Element_Hull")->sprite, other);

    Crenderer& r = gEngine->renderer;
    a->draw(100, 100);
    ASSERT_EQ(r.quads().size(), 3u);   // frame, hull and the root hull; the ghost is hidden
    const CquadRecord& h = r.quads()[1];
    EXPECT_TRUE(h.x == 100 + 10 + 5 * 2 && h.width == other->width * 2);   // placed and scaled by its parent

    CpropLink link;
    link.set(a);
    link.set(b);   // a new instance frees the old
    EXPECT_EQ(pm.instanceCount(), 1u);
    link.clear();
    EXPECT_EQ(pm.instanceCount(), 0u);
}

TEST_F(CrenderTest, EveryPictureOfTheDataFolderIsASprite) {
    const std::string folder = gEngine->dataPath("sprites/");
    DIR* d = opendir(folder.c_str());
    if (!d) GTEST_SKIP() << "no sprites folder in " << folder;
    int pngs = 0;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n.size() < 5 || !equalsIgnoreCase(n.substr(n.size() - 4), ".png")) continue;
        ++pngs;
        Csprite* s = gEngine->sprites.findSprite(n, false);
        ASSERT_NE(s, nullptr) << n;
        EXPECT_GT(s->width, 0) << n;
        EXPECT_FALSE(s->placeholder) << n;
    }
    closedir(d);
    EXPECT_GT(pngs, 0);
}
