#pragma once
// CprocShipGen: player ships grown from a seed (the music-generated ships a
// track earns), made by one of nine manufacturers. Each candidate is weighed
// by the ship editor's point balance; a candidate at -10 or less is grown
// again from the next seed, at most 100 times.
#include <cstdint>
#include <functional>
#include <string>

#include "game/enemies/shipDef.h"

class CprocShipGen {
public:
    static constexpr int kNumManufacturers = 9;
    static constexpr int kMaxAttempts = 100;
    static constexpr int kWorstBalance = -10;

    // "brute", "mosquito", ... by index 0..8 ("" outside).
    static const char* manufacturerKey(int index);
    // Sprite names: "ui_man_%s.png" and "ui_man_%s_noText.png".
    static std::string getManufacturerIconName(int index);
    static std::string getManufacturerIconNoTextName(int index);
    // The manufacturer's tag ("Manu_Brute"), display name and description ("Manu_BruteDesc").
    static std::string getManufacturerTag(int index);
    static std::string getManufacturerName(int index);
    static std::string getManufacturerDesc(int index);

    // A ship of type 16 grown from the seed and the track's energy.
    CshipDef generate(uint32_t seed, float energy, const std::string& name);
    // The candidate of one seed, unweighed.
    static CshipDef grow(uint32_t seed, float energy, const std::string& name);

    // The ship editor's point balance of a candidate (none yet: every ship balances).
    std::function<int(const CshipDef&)> pointBalance;
    int lastAttempts = 0;
};
