#include "core/publishing/sample_size.h"

#include <cmath>

namespace quorvant {

int64_t SampleDrawCount(uint32_t records, int percent) {
  // volatile keeps each product in a long double of its own, so that the
  // compiler cannot fold the two multiplications into one.
  volatile long double fraction = static_cast<long double>(percent) * 0.01L;
  volatile long double product = static_cast<long double>(records) * fraction;
  // The default rounding mode rounds halves to even.
  int64_t k = static_cast<int64_t>(std::nearbyintl(product));
  return k < 1 ? 1 : k;
}

}  // namespace quorvant
