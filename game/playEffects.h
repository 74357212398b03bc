#pragma once
// Particles of play, in play-plane units: the particle kinds of
// "particles.txt" sized for the game camera. Layer 2 is drawn under the
// ships, layer 3 over them; both through the game camera.
#include "engine/maths.h"

class Cship;

enum EplayLayer { PLAY_LAYER_BACK = 2, PLAY_LAYER_FRONT = 3 };

// Sparks flying out at a speed (units a second), each about size units long.
void playSparks(int count, const Cvec2& at, float speed, const Ccolour& colour, float size, int layer = PLAY_LAYER_FRONT);
// A ring that grows to about size units across.
void playShockwave(const Cvec2& at, const Ccolour& colour, float size, int layer = PLAY_LAYER_BACK);
// A soft glow puff about size units across.
void playPuff(const Cvec2& at, const Ccolour& colour, float size, int layer = PLAY_LAYER_BACK);
// A ship's end: sparks, a ring and a puff in its colour, scaled by its size.
void playExplosion(const Cship& ship);
