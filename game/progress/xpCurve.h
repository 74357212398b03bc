#pragma once
// The rank curve shared by the player and every ship:
//   rank(xp)        = integer part of pow((xp + 1 + A) / A, 1 / B)
//   start of rank r = pow(r, B) * A - A
// B is the single-precision 2.8 widened to double (2.7999999523...), which
// fixes where every boundary falls.
#include <cstdint>

constexpr double kXpCurveA = 10000.0;
constexpr double kXpCurveB = (double)2.8f;

// The rank that xp reaches; 1 from 0 XP on.
int rankFromXP(uint64_t xp);
// The XP at which rank r begins (0 for rank 1 and below).
uint64_t xpAtRankStart(int rank);
// How far xp has come through its rank, 0..1.
float rankFraction(uint64_t xp);
