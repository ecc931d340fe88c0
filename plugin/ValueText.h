// The number a host shows for a parameter value: eight characters and the terminator.
#pragma once

constexpr int kValueTextWidth = 8;
constexpr int kValueTextSize = kValueTextWidth + 1;
// What a value the text cannot hold shows.
inline constexpr char kOverflowText[] = " Huge!  ";

// text must hold kValueTextSize bytes.
void floatToText(float value, char* text);
