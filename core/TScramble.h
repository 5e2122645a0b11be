#pragma once

#include <QString>

// Scrambles a configuration value: character j XOR (code of key character (j+1) mod 10 of
// "brindosyte") mod 10. The same call unscrambles. The operation works on UTF-16 code units: for
// ASCII text it is the byte operation itself, and because the mask only touches the lowest four
// bits, any text (Chinese, surrogate pairs) comes back exactly.
QString ScrambleText(const QString& text);
