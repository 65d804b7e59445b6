#include "core/muldiv.h"

#include <cstdint>
#include <limits>

namespace core {

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t{a} * b;
  const bool negative = (product < 0) != (c < 0);
  // Work on magnitudes so that the halfway case rounds away from zero for
  // either sign; |a*b| <= 2^62 and |c| <= 2^31 leave the sum far from overflow.
  const std::uint64_t magnitude =
      product < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(product)
                  : static_cast<std::uint64_t>(product);
  const std::uint64_t divisor =
      c < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(std::int64_t{c})
            : static_cast<std::uint64_t>(c);
  const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
  const std::int64_t result =
      negative ? -static_cast<std::int64_t>(quotient) : static_cast<std::int64_t>(quotient);
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
    return -1;
  return static_cast<int>(result);
}

}  // namespace core
