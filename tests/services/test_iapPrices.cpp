// The in-app price table reader.
#include <gtest/gtest.h>

#include <cstring>

#include "services/platformSteam.h"
#include "support/testEngine.h"

namespace {
// What the reader kept: "country=currency ..." then "| item: currency amount ...".
std::string kept(const CplatformSteam& p) {
    std::string out;
    char buf[64];
    for (const auto& row : p.countryToCurrency) out += std::string(row.country) + "=" + row.currency + " ";
    for (const auto& item : p.items) {
        out += std::string("| ") + item.name + ":";
        for (const auto& price : item.prices) {
            snprintf(buf, sizeof buf, " %s %.2f", price.currency, price.amount);
            out += buf;
        }
    }
    return out;
}
}  // namespace

TEST(IapPrices, EachTableReadsAsThePricesOfItsItems) {
    CtestEngine eng;
    struct Ccase { const char *text, *expected; } cases[] = {
        // A price block belongs to the next name.
        {"CountryToCurrency GB = GBP\nprices {\n    USD = 199\n    GBP = 149\n}\nname = Coins1\n",
         "GB=GBP | Coins1: USD 1.99 GBP 1.49"},
        // def_index keeps the prices for the next name; trailing prices belong to nothing.
        {"PRICES { anything after the brace is skipped, \"even quotes\n  EUR = 250\n}\nNAME = def_index\n"
         "name = Boost\nprices {\n  USD = 100\n}\n",
         "| Boost: EUR 2.50"},
        // Keywords in any case, fields cut to their size, stray words skipped, endfile stops.
        {"countrytocurrency us = usd ; a comment\nCOUNTRYTOCURRENCY LONGCOUNTRY = LONGCURRENCY\nPrices {\n  DOLLARS = 5\n}\n"
         "Name = AnItemNameThatIsFarTooLong\nstray tokens are skipped\nendfile\nname = After\n",
         "us=usd LONG=LONG | AnItemNameThatIsFar: DOLL 0.05"},
        // Files cut short end cleanly.
        {"prices {\n USD =", ""},
        {"CountryToCurrency GB =", ""},
        {"name =", ""},
    };
    for (const Ccase& c : cases) {
        CplatformSteam p;
        p.parseIAPPrices(c.text);
        std::string got = kept(p);
        while (!got.empty() && got.back() == ' ') got.pop_back();
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

