#pragma once
// The tray's two icons, drawn at whatever size the system asks for, so they
// are sharp at every DPI: the product's globe, with its shield when the proxy
// is on, and in grey without it when the proxy is off. The shield's shape,
// not only colour, tells them apart; each shape has a dark rim and a light
// fill, legible on a light taskbar and on a dark one.
#include <cstdint>
#include <vector>

// size x size pixels, top row first, each 0xAARRGGBB with straight alpha.
std::vector<std::uint32_t> DrawTrayIcon(int size, bool proxyOn);
