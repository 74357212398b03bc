#pragma once
// CprocShipGen: player ships grown from a seed and the track's energy (the
// music-generated ships a track earns), made by one of nine manufacturers.
// Each candidate is weighed by the ship editor's point balance; a candidate
// at -10 or less is grown again from the next seed, at most 100 times.
#include <cstdint>
#include <functional>
#include <string>

class CplayerShipDef;
class Csprite;

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
    // The sprites themselves (the placeholder when missing).
    static Csprite* getManufacturerIcon(int index);
    static Csprite* getManufacturerIconNoText(int index);
    // The manufacturer's tag ("Manu_Brute"), display name and description ("Manu_BruteDesc").
    static std::string getManufacturerTag(int index);
    static std::string getManufacturerName(int index);
    static std::string getManufacturerDesc(int index);

    // Grows the ship's look and handling (its name, missions and progress
    // stay). True when a candidate balanced; false when the last of 100 was kept.
    bool generate(uint32_t seed, float energy, CplayerShipDef& ship);
    // One candidate of one seed, unweighed.
    static void grow(uint32_t seed, float energy, CplayerShipDef& ship);

    // The ship editor's point balance of a candidate (the world sets it;
    // left empty, every ship balances).
    std::function<int(const CplayerShipDef&)> pointBalance;
    int lastAttempts = 0;
};
