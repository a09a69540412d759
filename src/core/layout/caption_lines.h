// How the design face breaks a label's caption into lines. The layout was drawn with a
// monospaced Japanese gothic in which a full-width character (kanji, kana, full-width
// signs) is one em wide and every other character half an em; a label wraps its caption
// at its width and shows the lines its height holds. Knowing those lines lets the
// window show the same lines with whatever face is installed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// Width of one character in half ems: 2 for full-width ones, 1 for the others.
int halfEms(char16_t c);

// The lines of `caption` as the design face shows them in a box `widthHalfEms` half ems
// wide that holds `maxLines` lines (at least one). A line breaks at a space (which is
// dropped), between full-width characters, and between a full-width and a half-width
// one, but never before closing punctuation nor after an opening bracket; a word
// longer than a line breaks where the line ends.
std::vector<std::u16string> designLines(std::u16string_view caption, int widthHalfEms, int maxLines);

}  // namespace kalvo
