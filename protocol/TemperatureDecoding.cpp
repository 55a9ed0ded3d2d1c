#include "protocol/TemperatureDecoding.h"

float DecodeTemperature(std::uint8_t low, std::uint8_t high) {
  const bool negative = (high & 0x80) != 0;
  if (negative) {
    const auto magnitude = static_cast<std::uint16_t>(~(high << 8 | low) + 1);
    low = static_cast<std::uint8_t>(magnitude & 0xFF);
    high = static_cast<std::uint8_t>(magnitude >> 8);
  }
  const int whole = (high & 7) << 4 | low >> 4;
  int fraction = 0;  // ten-thousandths of a degree
  if (low & 8) fraction += 5000;
  if (low & 4) fraction += 2500;
  if (low & 2) fraction += 1250;
  if (low & 1) fraction += 625;
  const std::int32_t scaled = whole * 10000 + fraction;
  // The scaling goes through extended precision, so the rounded product is the exact sixteenth.
  const auto result = static_cast<float>(static_cast<float>(scaled) * 0.0001L);
  return negative ? result * -1.0f : result;
}
