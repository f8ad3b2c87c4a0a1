#include "growth.h"

namespace petcalc {

double growthQuotient(float hp, float lv, float tz, float tl, int s1, int s2) {
    const double L = lv;
    const double a = (L * double(tl)) * (L * 1.5 + 1025) / 147000;
    double b = double(hp) - a - 51.1;
    b = b - ((L + L) + 25) * s1;
    b = b - (L * 3 + 50) * s2;
    return b / 5 / double(tz);
}

float snapGrowth(float cz) {
    const auto& g = kGrowthLadder;
    if (cz > g[1]) return g[0];
    for (std::size_t i = 2; i < g.size(); ++i)
        if (g[i] < cz && cz < g[i - 1]) return g[i - 1];
    if (cz < g.back()) return g.back();
    return cz;  // exactly a ladder value
}

}  // namespace petcalc
