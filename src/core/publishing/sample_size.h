// How many addresses a sampled mailing run draws.
#pragma once

#include <cstdint>

namespace quorvant {

// records × (percent × 0.01) in 80-bit extended arithmetic (0.01 as the
// nearest extended value, each product rounded to a 64-bit mantissa), then
// rounded to the nearest whole number with an exact half going to the even
// neighbour; at least 1. So 50 records at 1 % give one draw (0.5 rounds to
// 0) and 10 records at 15 % give 1 (the product lies just below 1.5).
int64_t SampleDrawCount(uint32_t records, int percent);

}  // namespace quorvant
