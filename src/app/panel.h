#pragma once
// The parameter panel: what each box and bank button means, and what it shows
// at start-up.

#include <array>

#include "sim/impulse.h"

namespace korvel {

// txt_masses indices.
enum Box : int {
    kBoxPlanetMass = 0,
    kBoxPlanetRadius = 1,
    kBoxTimeFactor = 2,
    kBoxScreenScale = 3,
    kBoxInitDistance = 4,
    kBoxInitAngle = 5,
    kBoxBurn = 6,
    kBoxDirection = 7,
    kBoxClockTime = 8,
    kBoxCircleRadius = 9,
    kBoxRealtimeInterval = 10,
    kBoxSpeed = 11,
    kBoxSecondPlanetMass = 12,
    kBoxSecondPlanetDist = 13,
};

// cmd_color indices.
enum Bank : int {
    kBankForward = 0,
    kBankBackward = 1,
    kBankToRight = 2,
    kBankToLeft = 3,
    kBankImpulse1000 = 4,
    kBankImpulse1 = 7,
    kBankSecondPlanet = 8,
    kBankDistance = 9,
};

// The burn that cmd_color(0..3) fire, in the same order.
constexpr Burn burnOfBank(int index) { return static_cast<Burn>(index - kBankForward); }

// Captions of lbl_mass_id(0..11), beside the box of the same index.
inline constexpr std::array<const char*, 12> kLabelCaptions = {
    "planet mass",       "planet radius",  "time factor", "screen scale",  "init distance",     "init ang pos",
    "impulse of 'burn'", "dir of impulse", "clock time",  "circle radius", "realtime interval", "speed",
};

// What boxes 12 and 13, which have no label, are called in messages.
inline constexpr const char* kSecondPlanetMassName = "second planet mass";
inline constexpr const char* kSecondPlanetDistName = "second planet dist";

// Default texts of txt_masses(0..13).
inline constexpr std::array<const char*, 14> kDefaultTexts = {
    "1",
    "1",
    "1000",
    "3",
    "1.02",
    "0",
    "8000",
    "1.57",
    "",
    "0",
    "",
    "",
    "second planet mass as multiple of Earth mass (Moon = .0123)",
    "second planet dist as multiple of Earth radius (Moon = 60.2)",
};

// Captions of cmd_color(0..8); cmd_color(9) is the distance readout.
inline constexpr std::array<const char*, 9> kBankCaptions = {
    "forward", "backward", "to right", "to left", "impulse 1000", "impulse 100", "impulse 10", "impulse 1", "2d planet",
};

// What cmd_color(4..7) set the impulse size to, m/s.
inline constexpr std::array<int, 4> kImpulseSizes = {1000, 100, 10, 1};

inline constexpr const char* kDistancePrefix = "dist ";

}  // namespace korvel
