#pragma once
// CwaveMgr: brings the enemies in with the music. A kick in the bass band is
// a beat; the spawn budget grows with the intensity; on a beat with budget
// enough a wave comes whose kind follows the balance of the bands and whose
// size follows the intensity. Treble spikes send dashers, quiet passages
// asteroids, and a long loud passage a boss. Every wave is kept in the wave
// record.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/random.h"

class CgameWorld;

enum Eformation { FORMATION_RING = 0, FORMATION_LINE = 1, FORMATION_CORNERS = 2, FORMATION_CLUSTER = 3,
                  FORMATION_SCATTER = 4, FORMATION_COUNT = 5 };

struct CwaveRecord {
    float time = 0;
    std::string defName;
    int count = 0;        // planned
    int spawned = 0;      // made (caps and the ship limit may cut it)
    int formation = 0;
    float intensity = 0;
};

class CwaveMgr {
public:
    static constexpr int kMaxEnemies = 220;
    static constexpr float kTrebleThreshold = 0.6f;

    explicit CwaveMgr(CgameWorld& world) : world_(world) {}

    // A new run: empty record, seeded generator.
    void start(uint32_t seed);
    void reseed(uint32_t seed) { random.seed(seed); }
    // One step: reads the world's music feed.
    void update(float dt);
    // Writes the wave record to the log.
    void logWaveRecord() const;

    // Brings a wave in now (also the boss-rush escorts); the number made.
    int spawnWave(const std::string& defName, int count, int formation);
    // How many enemies may be about before waves hold back.
    int crowdLimit() const;
    const std::vector<CwaveRecord>& record() const { return record_; }
    int beats() const { return beats_; }

    bool enabled = true;
    bool bossesEnabled = true;   // a long loud passage brings a boss
    float rate = 1.0f;           // multiplies the budget's growth
    Crandom random{1};

private:
    bool capReached(int kind) const;
    const char* chooseKind();
    void placeFormation(int formation, int index, int count, float& x, float& y);

    CgameWorld& world_;
    std::vector<CwaveRecord> record_;
    float budget_ = 0;
    float prevBass_ = 0, prevTreble_ = 0;
    float bassAvg_ = 0;
    float beatCooldown_ = 0, trebleCooldown_ = 0;
    float avgBands_[3] = {0, 0, 0};
    float loudTime_ = 0;
    float bossCooldown_ = 0;
    float quietTime_ = 0;
    int beats_ = 0;
    int aiEdge_ = 0;                 // this wave's edge (lines)
    float clusterX_ = 0, clusterY_ = 0;   // this wave's point (clusters)
};
