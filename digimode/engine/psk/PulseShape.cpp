#include "PulseShape.h"

#include <array>
#include <cmath>
#include <numbers>

namespace digimode {

double pskPulse(double u)
{
    if (std::abs(u) >= 1.0)
        return 0.0;
    const double c = std::cos(std::numbers::pi * u / 2.0);
    return c * c;
}

ReceiveFilter pskReceiveFilter(int samplesPerSymbol)
{
    const int n = samplesPerSymbol;
    const int half = 3 * n;             // the filter spans the pulse and two neighbours each side
    const int length = 2 * half + 1;
    auto pulseAt = [&](int shift) {
        std::vector<double> v(static_cast<std::size_t>(length));
        for (int i = 0; i < length; ++i)
            v[std::size_t(i)] = pskPulse(double(i - half - shift) / n);
        return v;
    };
    auto dot = [](const std::vector<double> &a, const std::vector<double> &b) {
        double s = 0.0;
        for (std::size_t i = 0; i < a.size(); ++i)
            s += a[i] * b[i];
        return s;
    };

    const std::vector<double> centre = pulseAt(0);
    const std::array<int, 4> shifts = {-2 * n, -n, n, 2 * n};
    std::array<std::vector<double>, 4> neighbours;
    for (std::size_t j = 0; j < shifts.size(); ++j)
        neighbours[j] = pulseAt(shifts[j]);

    // Solve Gram * alpha = <centre, neighbour> so that centre - sum alpha*neighbour is
    // orthogonal to every neighbour (Gaussian elimination, the system is 4 x 4).
    double gram[4][5];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            gram[r][c] = dot(neighbours[std::size_t(r)], neighbours[std::size_t(c)]);
        gram[r][4] = dot(centre, neighbours[std::size_t(r)]);
    }
    for (int p = 0; p < 4; ++p) {
        for (int r = p + 1; r < 4; ++r) {
            const double f = gram[r][p] / gram[p][p];
            for (int c = p; c < 5; ++c)
                gram[r][c] -= f * gram[p][c];
        }
    }
    double alpha[4];
    for (int r = 3; r >= 0; --r) {
        double s = gram[r][4];
        for (int c = r + 1; c < 4; ++c)
            s -= gram[r][c] * alpha[c];
        alpha[r] = s / gram[r][r];
    }

    std::vector<double> h = centre;
    for (std::size_t j = 0; j < 4; ++j)
        for (std::size_t i = 0; i < h.size(); ++i)
            h[i] -= alpha[j] * neighbours[j][i];

    const double response = dot(h, centre);
    ReceiveFilter filter;
    filter.taps.resize(h.size());
    for (std::size_t i = 0; i < h.size(); ++i)
        filter.taps[i] = float(h[i] / response);
    filter.efficiency = response * response / (dot(h, h) * dot(centre, centre));
    return filter;
}

} // namespace digimode
