#pragma once
// CmissionEditor: the mission pages of the ship editor. It shows one of the
// ship's four missions in the editor's mission rows (rows 57 to 70 of the
// parameter table), decides which of those rows the mission's type uses, and
// writes the rows back into the mission.
//
// Only the fields of the chosen type are written: the others are cleared, so
// that a track mission never keeps a boss-rush wave or a survival time from
// rows that were hidden.
#include <array>
#include <cstdint>
#include <string>

#include "game/progress/shipMission.h"

class CshipEditMenus;

class CmissionEditor {
public:
    static constexpr int kFirstRow = 57;
    static constexpr int kLastRow = 70;
    enum Erow {
        ROW_NUMBER = 57, ROW_TYPE, ROW_DESCRIPTION, ROW_CONDITION, ROW_CONDITION_TEXT, ROW_DIFFICULTY,
        ROW_MIN_LENGTH, ROW_RANK, ROW_WAVE, ROW_SURVIVAL, ROW_SCORE, ROW_NO_EXTRA_LIVES, ROW_WEAPON_A, ROW_WEAPON_B
    };
    // The score items, in points.
    static constexpr std::array<uint32_t, 10> kScores = {0,        1000000,  2000000,  5000000,  10000000,
                                                         15000000, 20000000, 30000000, 40000000, 50000000};

    // Shows the mission in the rows: which rows its type uses, and their
    // selections. The rows are marked as set, so showing is no change.
    void showMission(const CshipMission& mission, CshipEditMenus& menus);
    // The rows' selections into the mission: the type's fields from their
    // rows, every other field cleared (the name and the type are kept).
    void writeRecord(CshipMission& mission, const CshipEditMenus& menus) const;
    // Whether a mission row is shown for the mission last shown.
    bool rowShown(int row) const;

    // The menu index that shows a field's value, and the field's value of a menu index.
    static int indexOfDifficulty(uint32_t difficulty);
    // Item 0 sets no minimum; items 1.. are the difficulties from Hard up.
    static uint32_t difficultyOfIndex(int index) { return index <= 0 ? 0 : (uint32_t)index + 1; }
    static int indexOfScore(uint32_t score);
    static int indexOfMinLength(float seconds);
    static int indexOfSurvival(float seconds);
    static int indexOfWave(uint16_t wave);
    static int indexOfRank(uint16_t rank);

    // The text of a mission row's item (the action rows show the record's texts).
    static std::string itemText(int row, int index, const CshipMission& mission);

    // The type chosen in the rows (the type row's selection).
    static uint32_t typeOf(const CshipEditMenus& menus);

private:
    std::array<bool, kLastRow - kFirstRow + 1> shown_{};
};

// A copy of text cut at a character boundary so that it fits maxBytes bytes.
std::string fitUtf8(const std::string& text, size_t maxBytes);
