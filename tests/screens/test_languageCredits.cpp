// Language tables with English beneath every translation.
#include <gtest/gtest.h>

#include "engine/languages.h"
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
