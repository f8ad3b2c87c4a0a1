#pragma once
// Growth estimation: the HP formula solved for the growth, then snapped onto
// the ladder of the 55 growth values pets can have.

#include <array>

namespace petcalc {

// Descending; held as singles, compared as singles.
inline constexpr std::array<float, 55> kGrowthLadder = {
    1.264f, 1.254f, 1.252f, 1.244f, 1.242f, 1.24f,  1.234f, 1.232f, 1.23f,  1.227f, 1.224f,
    1.222f, 1.22f,  1.217f, 1.215f, 1.212f, 1.21f,  1.207f, 1.205f, 1.203f, 1.2f,   1.197f,
    1.195f, 1.191f, 1.188f, 1.185f, 1.183f, 1.18f,  1.176f, 1.173f, 1.171f, 1.168f, 1.161f,
    1.16f,  1.156f, 1.152f, 1.15f,  1.148f, 1.142f, 1.141f, 1.138f, 1.137f, 1.131f, 1.13f,
    1.127f, 1.122f, 1.12f,  1.118f, 1.111f, 1.11f,  1.108f, 1.107f, 1.097f, 1.089f, 1.076f};

// (hp - A - 51.1 - Strong I term - Strong II term) / 5 / tz, where A is the
// stamina term of the HP formula. s1, s2: check values of Strong I and II.
double growthQuotient(float hp, float lv, float tz, float tl, int s1, int s2);

// The smallest ladder value not below cz; anything above the top rung
// becomes the top rung. A value that is exactly on the ladder stays.
// Every bound is strict, as the rungs are tested from the top.
float snapGrowth(float cz);

}  // namespace petcalc
