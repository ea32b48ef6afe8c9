// The game's one pseudo-random generator. Our own linear congruential
// generator rather than std::rand, so every platform draws the same values.
#pragma once

#include <cstdint>

namespace lanterra {

class PseudoRandom {
 public:
  void Seed(uint32_t seed) { state = seed; }
  // The whole state: seeding with it later continues the same sequence.
  uint32_t State() const { return state; }
  // A value in 0..32767.
  int Next() {
    state = state * 214013u + 2531011u;
    return int((state >> 16) & 0x7FFF);
  }

 private:
  uint32_t state = 1;
};

}  // namespace lanterra
