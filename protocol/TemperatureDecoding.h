#pragma once

#include <cstdint>

// Degrees Celsius from a raw sample: two's-complement sixteenths of a degree, low byte
// first, of whose magnitude only the low 11 bits count. Exact for every input.
float DecodeTemperature(std::uint8_t low, std::uint8_t high);
