// The in-app price table "steamIAPPrices.txt": store items with their prices
// in several currencies, and the currency of each country. An item's price
// block comes before its "name" line:
//
//     CountryToCurrency GB = GBP
//     prices {
//         USD = 199        ; hundredths of the main unit
//         GBP = 149
//     }
//     name = Coins1
#include <cstdlib>
#include <string>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/resourceFile.h"
#include "services/platformSteam.h"

bool CplatformSteam::loadIAPPrices() {
    CresourceFile file;
    if (!file.open("textFiles/steamIAPPrices.txt", RF_DATA)) return false;
    parseIAPPrices(file.text());
    file.release();
    if (loadingTick) loadingTick();
    return true;
}

void CplatformSteam::parseIAPPrices(const char* text) {
    const char* c = text;
    std::string token, skip, value;
    std::vector<CiapPrice> pending;
    bool inPrices = false;
    while (Cengine::readToken(token, c)) {
        if (equalsIgnoreCase(token, "EndFile")) break;
        if (inPrices) {
            if (token == "}") {
                inPrices = false;
                continue;
            }
            CiapPrice price{};
            copyToField(price.currency, sizeof price.currency, token);
            if (!Cengine::readToken(skip, c) || !Cengine::readToken(value, c)) break;
            price.amount = (float)(atoi(value.c_str()) / 100.0);
            pending.push_back(price);
        } else if (equalsIgnoreCase(token, "CountryToCurrency")) {
            std::string country;
            if (!Cengine::readToken(country, c) || !Cengine::readToken(skip, c) || !Cengine::readToken(value, c)) break;
            CcountryCurrency row{};
            copyToField(row.country, sizeof row.country, country);
            copyToField(row.currency, sizeof row.currency, value);
            countryToCurrency.push_back(row);
        } else if (equalsIgnoreCase(token, "prices")) {
            inPrices = true;
            while (*c && *c != '\r' && *c != '\n') ++c;   // "{" and whatever follows it
        } else if (equalsIgnoreCase(token, "name")) {
            if (!Cengine::readToken(skip, c) || !Cengine::readToken(value, c)) break;
            if (equalsIgnoreCase(value, "def_index")) continue;
            CiapItem item;
            copyToField(item.name, sizeof item.name, value);
            item.prices = pending;
            items.push_back(std::move(item));
            pending.clear();
        }
    }
}
