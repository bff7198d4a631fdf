// Index arithmetic for grids kept in one row-major list, and colour packing.
#pragma once

#include <cstdint>

namespace Kura::Calc {

// row * colSize + column; a zero colSize is reported and the sum still computed.
uint32_t Get1dIndexFrom2dIndex(uint32_t row, uint32_t column, uint32_t colSize);

// The colour's low 24 bits under alpha (0 to 255) in the top byte.
uint32_t MakeAlphaColor(uint32_t alpha, uint32_t color);

} // namespace Kura::Calc
