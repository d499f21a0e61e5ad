#include "tray/tray_icon.h"

#include <cmath>

namespace {

// Colours as 0xRRGGBB; the shapes are laid out on a grid of 32 units, as the
// product's icon is.
struct Palette {
    std::uint32_t rim;
    std::uint32_t fill;
    std::uint32_t lines;
};
constexpr Palette kOn{0x0A2850, 0x1E64C8, 0x8CC8FF};
constexpr Palette kOff{0x404040, 0xA8A8A8, 0xE8E8E8};
constexpr std::uint32_t kShieldRim = 0x202020;
constexpr std::uint32_t kShieldFill = 0xFFD200;
constexpr std::uint32_t kCheck = 0x107010;

constexpr double kGlobeX = 13.5;
constexpr double kGlobeY = 13.5;
constexpr double kGlobeRadius = 12.5;
constexpr double kShieldLeft = 16.5;
constexpr double kShieldTop = 13.5;
constexpr double kShieldWidth = 15.0;
constexpr double kShieldHeight = 18.0;

// The colour at a point of the grid; false where nothing is.
bool ColourAt(double x, double y, bool proxyOn, std::uint32_t* colour) {
    if (proxyOn) {
        const double across = (y - kShieldTop) / kShieldHeight;  // 0 at the top, 1 at the tip
        const double inset = std::fmax(0.0, across - 0.45) * kShieldWidth * 0.9;
        const double left = kShieldLeft + inset;
        const double right = kShieldLeft + kShieldWidth - inset;
        if (across >= 0 && across <= 1 && x >= left && x <= right) {
            const double edge =
                std::fmin(std::fmin(x - left, right - x),
                          std::fmin(y - kShieldTop, kShieldTop + kShieldHeight - y));
            // A check mark: down to the right, then up.
            const double u = x - kShieldLeft;
            const double v = y - kShieldTop;
            const bool check = (std::fabs(v - (u + 3.5)) < 1.6 && u > 3.5 && u < 7.5) ||
                               (std::fabs(v - (18.5 - u)) < 1.6 && u >= 7.5 && u < 12.0);
            *colour = edge < 1.8 ? kShieldRim : check ? kCheck : kShieldFill;
            return true;
        }
    }
    const Palette& palette = proxyOn ? kOn : kOff;
    const double dx = x - kGlobeX;
    const double dy = y - kGlobeY;
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance > kGlobeRadius) {
        return false;
    }
    const bool line = std::fabs(dx) < 1.0 || std::fabs(dy) < 1.0 ||
                      std::fabs(distance - kGlobeRadius * 0.6) < 0.9;
    *colour = distance > kGlobeRadius - 2.2 ? palette.rim : line ? palette.lines : palette.fill;
    return true;
}

}  // namespace

std::vector<std::uint32_t> DrawTrayIcon(int size, bool proxyOn) {
    // Each pixel from 4 x 4 samples, so edges are smooth at any size.
    constexpr int kSamples = 4;
    const double unitsPerPixel = 32.0 / size;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            unsigned covered = 0;
            unsigned red = 0;
            unsigned green = 0;
            unsigned blue = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    std::uint32_t colour = 0;
                    if (ColourAt((px + (sx + 0.5) / kSamples) * unitsPerPixel,
                                 (py + (sy + 0.5) / kSamples) * unitsPerPixel, proxyOn, &colour)) {
                        ++covered;
                        red += (colour >> 16) & 0xFF;
                        green += (colour >> 8) & 0xFF;
                        blue += colour & 0xFF;
                    }
                }
            }
            if (covered != 0) {
                const unsigned alpha = covered * 255 / (kSamples * kSamples);
                pixels[static_cast<std::size_t>(py) * size + px] =
                    (alpha << 24) | ((red / covered) << 16) | ((green / covered) << 8) |
                    (blue / covered);
            }
        }
    }
    return pixels;
}
