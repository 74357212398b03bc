#include "screens/missionEditor.h"

#include <algorithm>
#include <cmath>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/format.h"
#include "game/gameTypes.h"
#include "game/progress/shipEditParams.h"

namespace {

int clampIndex(int row, int index) {
    return std::clamp(index, 0, std::max(CshipEditParams::itemCount(row) - 1, 0));
}

// Nearest item, so a stored value between two items shows the nearer one.
int roundIndex(float at) { return std::isfinite(at) && at > 0 ? (int)std::lround(at) : 0; }

bool usesCommonRows(uint32_t type) { return type != MissionType_None && type != MissionType_ObtainShipRank; }

std::string quoted(const std::string& text) { return CbString::format("'%s'", text.c_str()).str(); }

}  // namespace

std::string fitUtf8(const std::string& text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    while (end > 0 && ((unsigned char)text[end] & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

int CmissionEditor::indexOfDifficulty(uint32_t difficulty) {
    return clampIndex(ROW_DIFFICULTY, difficulty == 0 ? 0 : (int)difficulty - 1);
}

int CmissionEditor::indexOfScore(uint32_t score) {
    // By millions: each item covers the scores up to the next one's.
    static const uint32_t kBelow[] = {2, 3, 6, 11, 16, 21, 31, 41, 51};
    if (score == 0) return 0;
    double millions = score / 1000000.0;
    for (int i = 0; i < 9; ++i)
        if (millions < kBelow[i]) return i + 1;
    return 9;
}

int CmissionEditor::indexOfMinLength(float seconds) {
    return clampIndex(ROW_MIN_LENGTH, roundIndex((seconds / 60.0f - 2.0f) * 2.0f));
}

int CmissionEditor::indexOfSurvival(float seconds) {
    return clampIndex(ROW_SURVIVAL, roundIndex((seconds / 60.0f - 5.0f) / 5.0f));
}

int CmissionEditor::indexOfWave(uint16_t wave) { return clampIndex(ROW_WAVE, wave / 5 - 1); }
int CmissionEditor::indexOfRank(uint16_t rank) { return clampIndex(ROW_RANK, (int)rank - 1); }

uint32_t CmissionEditor::typeOf(const CshipEditMenus& menus) { return (uint32_t)menus.clampedSelection(ROW_TYPE); }

bool CmissionEditor::rowShown(int row) const {
    if (row < kFirstRow || row > kLastRow) return false;
    return shown_[row - kFirstRow];
}

void CmissionEditor::showMission(const CshipMission& m, CshipEditMenus& menus) {
    shown_.fill(false);
    auto show = [&](int row, int index) {
        shown_[row - kFirstRow] = true;
        menus.setSelection(row, clampIndex(row, index));
    };
    show(ROW_NUMBER, menus.clampedSelection(ROW_NUMBER));
    show(ROW_TYPE, (int)m.type);
    if (m.type != MissionType_None) show(ROW_DESCRIPTION, 0);
    switch (m.type) {
        case MissionType_CompleteTrack:
            show(ROW_CONDITION, (int)m.condition);
            show(ROW_CONDITION_TEXT, 0);
            show(ROW_DIFFICULTY, indexOfDifficulty(m.difficulty));
            show(ROW_MIN_LENGTH, indexOfMinLength(m.minTrackLength));
            break;
        case MissionType_PlayBossRush: show(ROW_WAVE, indexOfWave(m.bossRushWave)); break;
        case MissionType_PlaySurvival: show(ROW_SURVIVAL, indexOfSurvival(m.survivalTime)); break;
        case MissionType_ObtainShipRank: show(ROW_RANK, indexOfRank(m.rank)); break;
        default: break;
    }
    if (usesCommonRows(m.type)) {
        show(ROW_SCORE, indexOfScore(m.score));
        show(ROW_NO_EXTRA_LIVES, m.noExtraLives ? 1 : 0);
        show(ROW_WEAPON_A, (int)m.weaponRestriction[0]);
        show(ROW_WEAPON_B, (int)m.weaponRestriction[1]);
    }
    for (int row = kFirstRow; row <= kLastRow; ++row) menus.markSet(row);
}

void CmissionEditor::writeRecord(CshipMission& m, const CshipEditMenus& menus) const {
    auto at = [&](int row) { return menus.clampedSelection(row); };
    CshipMission out;
    out.type = m.type;
    out.name = m.name;
    if (m.type == MissionType_CompleteTrack) {
        out.condition = (uint32_t)at(ROW_CONDITION);
        out.conditionText = m.conditionText;
        out.difficulty = difficultyOfIndex(at(ROW_DIFFICULTY));
        out.minTrackLength = ((float)at(ROW_MIN_LENGTH) * 0.5f + 2.0f) * 60.0f;
    } else if (m.type == MissionType_PlayBossRush) {
        out.bossRushWave = (uint16_t)((at(ROW_WAVE) + 1) * 5);
    } else if (m.type == MissionType_PlaySurvival) {
        const std::vector<float>& minutes = CshipEditParams::itemValues(ROW_SURVIVAL);
        out.survivalTime = minutes.empty() ? 0 : minutes[(size_t)at(ROW_SURVIVAL)] * 60.0f;
    } else if (m.type == MissionType_ObtainShipRank) {
        out.rank = (uint16_t)(at(ROW_RANK) + 1);
    }
    if (usesCommonRows(m.type)) {
        out.score = kScores[(size_t)std::clamp(at(ROW_SCORE), 0, 9)];
        out.noExtraLives = at(ROW_NO_EXTRA_LIVES) != 0;
        out.weaponRestriction[0] = (uint32_t)at(ROW_WEAPON_A);
        out.weaponRestriction[1] = (uint32_t)at(ROW_WEAPON_B);
    }
    m = out;
}

std::string CmissionEditor::itemText(int row, int index, const CshipMission& m) {
    const CshipEditParam& p = CshipEditParams::table()[(size_t)row];
    if (p.isNumeric()) {
        const std::vector<float>& values = CshipEditParams::itemValues(row);
        if (values.empty()) return {};
        return CshipEditParams::formatValue(p, values[(size_t)clampIndex(row, index)]);
    }
    switch (row) {
        case ROW_TYPE: return getStringFromMissionType(index);
        case ROW_DESCRIPTION: return quoted(m.name);
        case ROW_CONDITION: return getStringFromTrackCondition(index);
        case ROW_CONDITION_TEXT: return quoted(m.conditionText);
        case ROW_DIFFICULTY:
            return index <= 0 ? gEngine->text("MissionAnyDifficulty") : difficultyName((int)difficultyOfIndex(index));
        case ROW_SCORE: {
            uint32_t score = kScores[(size_t)std::clamp(index, 0, 9)];
            return score == 0 ? gEngine->text("MissionAnyScore") : formatThousands64((int64_t)score);
        }
        case ROW_NO_EXTRA_LIVES: return gEngine->text(index ? "Yes" : "No");
        case ROW_WEAPON_A:
        case ROW_WEAPON_B: return getStringFromWeaponRestriction(index);
        default: return {};
    }
}
