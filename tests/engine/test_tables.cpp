#include <gtest/gtest.h>

#include "engine/languages.h"
#include "engine/stringTable.h"
#include "support/testEngine.h"

TEST(StringTable, FindMissAndOverlay) {
    CtestEngine eng;
    CstringTable t;
    ASSERT_TRUE(t.loadFromText("Hello \"Hello, %s\" ; greeting\nBye Bye\nEndFile\nIgnored \"after end\""));
    EXPECT_STREQ(t.find("hello"), "Hello, %s");   // tags ignore case
    EXPECT_STREQ(t.find("Bye"), "Bye");
    EXPECT_EQ(t.find("Ignored"), nullptr);
    EXPECT_TRUE(gEngine->log.contains("can't find tag 'Ignored'"));
    gEngine->log.clearRecent();
    EXPECT_EQ(t.find("Quiet", false), nullptr);
    EXPECT_FALSE(gEngine->log.containsPart("Quiet"));
    ASSERT_TRUE(t.loadFromText("Bye \"Au revoir\" EndFile", true));
    EXPECT_STREQ(t.find("Bye"), "Au revoir");
    EXPECT_STREQ(t.find("Hello"), "Hello, %s");   // kept from the base table
    EXPECT_STREQ(t.text("Missing"), "Missing");
}

TEST(Language, EnglishUnderneathFontsAndWidgetTexts) {
    CtestEngine eng;
    Cscreen* s = gUi->loadScreenFromText("lang", "Widget W Use Label Text TextName Key OK EndText EndWidget EndFile");
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(gEngine->setLanguage(9));   // no Czech table in the data: English stays
    EXPECT_EQ(gEngine->languageNumber, 9);
    EXPECT_TRUE(gEngine->log.contains("Language Czech: no translation, English stays"));
    EXPECT_STREQ(gEngine->language().find("OK"), "OK");
    EXPECT_FALSE(gEngine->fonts.cjk());
    ASSERT_TRUE(gEngine->setLanguage(13));   // Japanese needs the CJK fonts
    EXPECT_TRUE(gEngine->fonts.cjk());
    // Texts shown from tags follow the table.
    gEngine->language().set("OK", "D'accord");
    gUi->refreshTexts();
    EXPECT_EQ(s->findWidget("W")->getText(), "D'accord");
    ASSERT_TRUE(gEngine->setLanguage(99));   // out of range reads as none chosen
    EXPECT_EQ(gEngine->languageNumber, 0);
    EXPECT_FALSE(gEngine->fonts.cjk());
    EXPECT_EQ(s->findWidget("W")->getText(), "OK");
}
