// The window's colours by name, each value written once here.
#pragma once

#include <cstdint>

namespace kalvo {

// Colour values as stored by the program: red in the low byte, then green, then blue;
// with the top bit set, the low byte names a system colour (5 window background,
// 7 menu text, 8 window text, 15 button face), taken from the window's fixed light
// palette, so that a dark desktop theme cannot turn them dark.
using ColorValue = std::uint32_t;
inline constexpr ColorValue kSystemColor = 0x80000000u;

// The colour value of red, green and blue, each 0 to 255.
constexpr ColorValue bgr(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColorValue{red} | ColorValue{green} << 8 | ColorValue{blue} << 16;
}

// A system colour by its index.
constexpr ColorValue systemColor(std::uint8_t index) { return kSystemColor | index; }

inline constexpr ColorValue kBlack = bgr(0, 0, 0);
inline constexpr ColorValue kWhite = bgr(255, 255, 255);
inline constexpr ColorValue kRed = bgr(255, 0, 0);
inline constexpr ColorValue kBlue = bgr(0, 0, 255);
inline constexpr ColorValue kDarkBlue = bgr(0, 0, 128);
inline constexpr ColorValue kGrey = bgr(128, 128, 128);
inline constexpr ColorValue kYellow = bgr(255, 255, 0);
inline constexpr ColorValue kPaleYellow = bgr(255, 255, 128);
inline constexpr ColorValue kCyan = bgr(0, 255, 255);
inline constexpr ColorValue kPaleAqua = bgr(128, 255, 255);
inline constexpr ColorValue kPaleCyan = bgr(192, 255, 255);

inline constexpr ColorValue kSystemWindow = systemColor(5);  // the window background
inline constexpr ColorValue kSystemMenuText = systemColor(7);
inline constexpr ColorValue kSystemWindowText = systemColor(8);
inline constexpr ColorValue kSystemButtonFace = systemColor(15);

// The program's own background: the window's, and that of the labels and check boxes
// that stand on it with a face of their own.
inline constexpr ColorValue kProgramBack = kPaleCyan;

}  // namespace kalvo
