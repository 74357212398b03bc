// Language tables with English beneath every translation, and the credits list.
#include <gtest/gtest.h>

#include "engine/languages.h"
#include "engine/stringTable.h"
#include "screens/creditsList.h"
#include "support/testEngine.h"

TEST(Languages, EveryOfferedLanguageLoadsOverEnglish) {
    CtestEngine eng;
    ASSERT_TRUE(eng.initOk());
    const size_t english = eng->language().size();
    for (int n : offeredLanguages()) {
        ASSERT_TRUE(eng->setLanguage(n)) << n;
        EXPECT_EQ(eng->languageNumber, n);
        // Every language names the options; a tag it lacks reads in English.
        EXPECT_TRUE(eng->language().has("Options")) << languageRow(n).tag;
        EXPECT_GE(eng->language().size(), english) << languageRow(n).tag;
        EXPECT_FALSE(eng->log.containsPart(std::string("Language ") + languageRow(n).tag + ": no translation"))
            << languageRow(n).tag;
    }
    eng->setLanguage(2);
    EXPECT_STREQ(eng->language().text("BACK"), "ZURÜCK");
    eng->setLanguage(13);
    EXPECT_STREQ(eng->language().text("Microphone"), "マイク");
    eng->setLanguage(1);
    EXPECT_STREQ(eng->language().text("BACK"), "BACK");   // nothing of German stays
    EXPECT_STREQ(eng->language().text("Microphone"), "Microphone");
}

TEST(Credits, LinesFollowTheTagsLastCharacter) {
    CtestEngine eng(false);
    CstringTable t;
    ASSERT_TRUE(t.loadFromText("Sect1t \"Section\"\nBig1b \"Big\"\nGap- \"\"\nPlain \"Plain text\"\n"
                               "SimpChinese \"简体中文\"\nEndFile\n"));
    auto l = credits::linesForTag("Sect1t", t);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].widgetTemplate, "NormalText");
    EXPECT_EQ(l[2].widgetTemplate, "MediumTextWhiteWithShadow");
    EXPECT_EQ(l[2].text, "Section");
    EXPECT_EQ(l[2].colour, "Credits");
    EXPECT_EQ(credits::linesForTag("Big1b", t)[0].widgetTemplate, "ScreenTitleCentered");
    EXPECT_EQ(credits::linesForTag("Gap-", t)[0].text, "");
    EXPECT_EQ(credits::linesForTag("Plain", t)[0].text, "Plain text");

    const char* file =
        "Sprite ui_ZRLogo.png 0.6\nTag Plain\nLanguage SimpChinese\nTranslator \"Li Wei\"\nTranslator Plain\n"
        "Bogus x\nEndFile\n";
    auto lines = credits::parse(file, t);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0].kind, CcreditLine::SPRITE);
    EXPECT_FLOAT_EQ(lines[0].scale, 0.6f);
    EXPECT_EQ(lines[4].widgetTemplate, "UniNormalText");   // the CJK section title
    EXPECT_EQ(lines[4].text, "简体中文");
    EXPECT_EQ(lines[5].text, "Li Wei");
    EXPECT_EQ(lines[6].text, "Plain text");   // a tag is translated
    EXPECT_TRUE(eng->log.containsPart("Credits: unknown entry Bogus"));
}
