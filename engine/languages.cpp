#include "engine/languages.h"

namespace {
const Clanguage kLanguages[kLanguageCount] = {
    {"EnglishNone", "stringsGameEnglish.txt", "gb", false},
    {"English", "stringsGameEnglish.txt", "gb", false},
    {"German", "stringsGameGerman.txt", "de", false},
    {"French", "stringsGameFrench.txt", "fr", false},
    {"Spanish", "stringsGameSpanish.txt", "es", false},
    {"Italian", "stringsGameItalian.txt", "it", false},
    {"Russian", "stringsGameRussian.txt", "ru", false},
    {"SimpChinese", "stringsGameSChinese.txt", "cn", true},
    {"TradChinese", "stringsGameTChinese.txt", "hk", true},
    {"Czech", "stringsGameCzech.txt", "cz", false},
    {"Polish", "stringsGamePolish.txt", "pl", false},
    {"Portuguese", "stringsGamePortuguese.txt", "pt", false},
    {"Swedish", "stringsGameSwedish.txt", "se", false},
    {"Japanese", "stringsGameJapanese.txt", "jp", true},
    {"Dutch", "stringsGameDutch.txt", "nl", false},
    {"Hungarian", "stringsGameHungarian.txt", "hu", false},
    {"Danish", "stringsGameDanish.txt", "dk", false},
};
}  // namespace

const Clanguage& languageRow(int number) {
    return number >= 0 && number < kLanguageCount ? kLanguages[number] : kLanguages[0];
}

const std::vector<int>& offeredLanguages() {
    static const std::vector<int> order = {1, 2, 3, 4, 5, 6, 13, 7, 8, 14, 11, 12, 10, 15, 16};
    return order;
}
