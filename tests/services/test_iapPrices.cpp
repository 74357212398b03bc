// The in-app price table reader.
#include <gtest/gtest.h>

#include <cstring>

#include "services/platformSteam.h"
#include "support/testEngine.h"

TEST(IapPrices, PriceBlockBelongsToTheNextName) {
    CtestEngine eng;
    CplatformSteam p;
    p.parseIAPPrices(
        "CountryToCurrency GB = GBP\n"
        "prices {\n"
        "    USD = 199\n"
        "    GBP = 149\n"
        "}\n"
        "name = Coins1\n");
    ASSERT_EQ(p.countryToCurrency.size(), 1u);
    EXPECT_STREQ(p.countryToCurrency[0].country, "GB");
    EXPECT_STREQ(p.countryToCurrency[0].currency, "GBP");
    ASSERT_EQ(p.items.size(), 1u);
    EXPECT_STREQ(p.items[0].name, "Coins1");
    ASSERT_EQ(p.items[0].prices.size(), 2u);
    EXPECT_STREQ(p.items[0].prices[0].currency, "USD");
    EXPECT_FLOAT_EQ(p.items[0].prices[0].amount, 1.99f);
    EXPECT_STREQ(p.items[0].prices[1].currency, "GBP");
    EXPECT_FLOAT_EQ(p.items[0].prices[1].amount, 1.49f);
}

TEST(IapPrices, DefIndexKeepsPricesAndTrailingPricesBelongToNothing) {
    CtestEngine eng;
    CplatformSteam p;
    p.parseIAPPrices(
        "PRICES { anything after the brace is skipped, \"even quotes\n"
        "  EUR = 250\n"
        "}\n"
        "NAME = def_index\n"
        "name = Boost\n"
        "prices {\n"
        "  USD = 100\n"
        "}\n");
    ASSERT_EQ(p.items.size(), 1u);
    EXPECT_STREQ(p.items[0].name, "Boost");
    ASSERT_EQ(p.items[0].prices.size(), 1u);
    EXPECT_STREQ(p.items[0].prices[0].currency, "EUR");
    EXPECT_FLOAT_EQ(p.items[0].prices[0].amount, 2.5f);
}

TEST(IapPrices, KeywordsInAnyCaseFieldsBoundedAndEndFileStops) {
    CtestEngine eng;
    CplatformSteam p;
    p.parseIAPPrices(
        "countrytocurrency us = usd ; a comment\n"
        "COUNTRYTOCURRENCY LONGCOUNTRY = LONGCURRENCY\n"
        "Prices {\n"
        "  DOLLARS = 5\n"
        "}\n"
        "Name = AnItemNameThatIsFarTooLong\n"
        "stray tokens are skipped\n"
        "endfile\n"
        "name = After\n");
    ASSERT_EQ(p.countryToCurrency.size(), 2u);
    EXPECT_STREQ(p.countryToCurrency[0].country, "us");
    EXPECT_STREQ(p.countryToCurrency[1].country, "LONG");
    EXPECT_STREQ(p.countryToCurrency[1].currency, "LONG");
    ASSERT_EQ(p.items.size(), 1u);
    EXPECT_EQ(strlen(p.items[0].name), 19u);
    EXPECT_STREQ(p.items[0].prices[0].currency, "DOLL");
    EXPECT_FLOAT_EQ(p.items[0].prices[0].amount, 0.05f);
}

TEST(IapPrices, CutShortFilesEndCleanly) {
    CtestEngine eng;
    CplatformSteam p;
    p.parseIAPPrices("prices {\n USD =");
    p.parseIAPPrices("CountryToCurrency GB =");
    p.parseIAPPrices("name =");
    EXPECT_TRUE(p.items.empty());
    EXPECT_TRUE(p.countryToCurrency.empty());
}

TEST(IapPrices, TheShippedTableReadsAndTicksTheLoadingScreen) {
    CtestEngine eng;
    CplatformSteam p;
    int ticks = 0;
    p.loadingTick = [&ticks] { ++ticks; };
    ASSERT_TRUE(p.loadIAPPrices());
    EXPECT_EQ(ticks, 1);
    bool us = false, gb = false;
    for (const auto& row : p.countryToCurrency) {
        us = us || (!strcmp(row.country, "US") && !strcmp(row.currency, "USD"));
        gb = gb || (!strcmp(row.country, "GB") && !strcmp(row.currency, "GBP"));
    }
    EXPECT_TRUE(us);
    EXPECT_TRUE(gb);
    ASSERT_FALSE(p.items.empty());
    for (const auto& item : p.items) {
        bool usd = false;
        for (const auto& price : item.prices) usd = usd || (!strcmp(price.currency, "USD") && price.amount > 0);
        EXPECT_TRUE(usd) << item.name;
    }
}
