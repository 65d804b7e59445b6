#pragma once

namespace core {

// The Windows MulDiv: a * b in 64 bits, divided by c, rounded to nearest with
// halves away from zero. Like the original, -1 when c is 0 or the result
// does not fit an int.
int MulDiv(int a, int b, int c);

}  // namespace core
