#pragma once
// CshipDef: an enemy or player ship definition, read from "shipProperties.txt".
//
//   ShipDef "Grunt"
//     Type 0                  ; 0 enemy, 1 player, 2 boss, 16 music-generated
//     Kind 1                  ; see EshipKind
//     Behaviour Seek          ; None Drift Seek Weave Orbit Dash Mine Boss Player Turret Wingman Decoy Ball
//     Sprite "ss_enemy_01.png"
//     Colour 0.2 1.0 1.0      ; red green blue (0..1), or a colour name
//     Sides 4                 ; the neon outline's corners (0: a circle)
//     Radius 3                ; scene units at scale 1
//     Scale 1
//     Health 10
//     Speed 30                ; units a second
//     Turn 4                  ; radians a second
//     Score 100
//     Drops 1                 ; multiplier pickups left behind
//     SplitInto "Shard" 3     ; ships made when it dies
//     Acceleration 2.5        ; player ships: the hangar's handling values
//     Deceleration 0.9
//     TopSpeed 16
//     BulletSpeed 1
//     BulletDamage 1
//     PickupForce 0
//     Element Turret 0 -2     ; kind, x, y, then keyword values up to EndElement
//       Angle 0 HitPoints 20 FireRate 0.5 BulletSpeed 60 Aim Target Shots 1 Spread 0
//     EndElement
//     Element Engine 0 3 Angle 180 Scale 1 EndElement
//   EndShipDef
//   EndFile
#include <string>
#include <vector>

#include "engine/maths.h"

enum EshipType { SHIPTYPE_ENEMY = 0, SHIPTYPE_PLAYER = 1, SHIPTYPE_BOSS = 2, SHIPTYPE_MUSIC_GENERATED = 16 };

// The kinds the ship counts and the spawner know.
enum EshipKind {
    SHIPKIND_PLAYER = 0,
    SHIPKIND_GRUNT = 1,
    SHIPKIND_WEAVER = 2,
    SHIPKIND_GUNNER = 3,
    SHIPKIND_SPLITTER = 4,
    SHIPKIND_DASHER = 5,   // capped at twice the difficulty plus 5
    SHIPKIND_MINE = 6,     // capped at twice the difficulty plus 4
    SHIPKIND_BOSS = 7,
    SHIPKIND_SHARD = 8,
    SHIPKIND_ASTEROID = 9,   // not an enemy ship
    SHIPKIND_HELPER = 10,    // a player's turret, decoy or wingman
    SHIPKIND_BALL = 11,      // the football
    SHIPKIND_COUNT = 12
};

enum EshipBehaviour {
    BEHAVE_NONE = 0,
    BEHAVE_DRIFT,
    BEHAVE_SEEK,
    BEHAVE_WEAVE,
    BEHAVE_ORBIT,
    BEHAVE_DASH,
    BEHAVE_MINE,
    BEHAVE_BOSS,
    BEHAVE_PLAYER,
    BEHAVE_TURRET,
    BEHAVE_WINGMAN,
    BEHAVE_DECOY,
    BEHAVE_BALL,
    BEHAVE_COUNT
};

enum EelementKind { ELEMENT_HULL = 0, ELEMENT_TURRET = 1, ELEMENT_ENGINE = 2, ELEMENT_ARMOUR = 3 };
enum EturretAim { AIM_FIXED = 0, AIM_TARGET = 1, AIM_SPIN = 2 };

struct CelementDef {
    int kind = ELEMENT_TURRET;
    float x = 0, y = 0;
    float angle = 0;         // degrees, 0 along the ship's heading
    float scale = 1;
    float radius = 0;        // hit radius (armour and turrets of bosses); 0: not hit alone
    float hitPoints = 0;
    float fireRate = 0;      // shots a second
    float bulletSpeed = 60;
    int aim = AIM_FIXED;
    int shots = 1;
    float spread = 0;        // degrees between shots
    std::string sprite;
};

struct CshipDef {
    std::string name;
    int type = SHIPTYPE_ENEMY;
    int kind = SHIPKIND_GRUNT;
    int behaviour = BEHAVE_SEEK;
    std::string sprite;
    Ccolour colour{0.3f, 1.0f, 1.0f, 1.0f};
    int sides = 4;
    float radius = 3;
    float scale = 1;
    float health = 10;
    float speed = 30;
    float turn = 4;
    int score = 100;
    int drops = 1;
    std::string splitInto;
    int splitCount = 0;
    // Player handling.
    float acceleration = 2.5f, deceleration = 0.9f, topSpeed = 16;
    float bulletSpeed = 1, bulletDamage = 1, pickupForce = 0;
    int manufacturer = -1;
    std::vector<CelementDef> elements;

    int countElements(int kind) const;
};

const char* behaviourName(int behaviour);
int findBehaviour(const std::string& name);   // -1 when unknown
int findElementKind(const std::string& name); // -1 when unknown

// Reads ship definitions from keyword text. Unknown keywords are logged and
// skipped; a block without a name is dropped. Returns the number read.
int parseShipDefs(const char* text, std::vector<CshipDef>& out, const std::string& fileName);
