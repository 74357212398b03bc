#include "game/namedColours.h"

#include "engine/engine.h"

bool CnamedColours::load() {
    const struct {
        const char* name;
        Ccolour* colour;
    } table[] = {
        {"White", &white}, {"Black", &black}, {"Grey", &grey}, {"DarkGrey", &darkGrey}, {"LightGrey", &lightGrey},
        {"Red", &red}, {"Green", &green}, {"Blue", &blue}, {"ReallyLightRed", &reallyLightRed},
        {"LightRed", &lightRed}, {"DarkRed", &darkRed}, {"ReallyLightGreen", &reallyLightGreen},
        {"LightGreen", &lightGreen}, {"DarkGreen", &darkGreen}, {"LightBlue", &lightBlue}, {"DarkBlue", &darkBlue},
        {"Cyan", &cyan}, {"Yellow", &yellow}, {"DarkYellow", &darkYellow}, {"LightYellow", &lightYellow},
        {"Orange", &orange}, {"Purple", &purple}, {"HUDText", &hudText}, {"HUDTextGreen", &hudTextGreen},
        {"ButtonBrush", &buttonBrush}, {"ButtonBrushDark", &buttonBrushDark}, {"TagBoxGreen", &tagBoxGreen},
        {"TagBoxRed", &tagBoxRed}, {"TagBoxOrange", &tagBoxOrange}, {"TagBoxGrey", &tagBoxGrey},
        {"TagBoxBlack", &tagBoxBlack}, {"ModUncommon", &modUncommon}, {"ModRare", &modRare},
        {"ModLegendary", &modLegendary},
    };
    bool all = true;
    for (const auto& row : table) {
        const CcolourTable::Centry* e = gEngine->colours.find(row.name);
        if (e) *row.colour = e->colour;
        else {
            *row.colour = Ccolour(1, 0, 1, 1);
            all = false;
        }
        gEngine->loadStep();
    }
    valueNormal = white;
    valueBad = lightRed;
    valueGood = lightGreen;
    rarity[0] = modUncommon;
    rarity[1] = modRare;
    rarity[2] = modLegendary;
    listFavourite = red;
    listPlain = white;
    return all;
}
