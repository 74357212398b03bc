#pragma once
// CnamedColours: the colours the screens tint widgets, gadgets and quads
// with, looked up once by name in "colours.txt" while loading.
#include "engine/maths.h"

struct CnamedColours {
    Ccolour white, black, grey, darkGrey, lightGrey, red, green, blue;
    Ccolour reallyLightRed, lightRed, darkRed, reallyLightGreen, lightGreen, darkGreen;
    Ccolour lightBlue, darkBlue, cyan, yellow, darkYellow, lightYellow, orange, purple;
    Ccolour hudText, hudTextGreen, buttonBrush, buttonBrushDark;
    Ccolour tagBoxGreen, tagBoxRed, tagBoxOrange, tagBoxGrey, tagBoxBlack;
    Ccolour modUncommon, modRare, modLegendary;
    // Derived from the named ones: ship value texts, module rarity edges
    // (rarities 1..3) and the heart of the music lists.
    Ccolour valueNormal, valueBad, valueGood;
    Ccolour rarity[3];
    Ccolour listFavourite, listPlain;

    // Every name is looked up (one loading step each); a missing one is
    // logged by the colour table and keeps its plainly wrong stand-in.
    // False when any was missing.
    bool load();
};
