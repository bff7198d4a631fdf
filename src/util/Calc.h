// Index arithmetic for grids kept in one row-major list.
#pragma once

#include <cstdint>

namespace Kura::Calc {

// row * colSize + column; a zero colSize is reported and the sum still computed.
uint32_t Get1dIndexFrom2dIndex(uint32_t row, uint32_t column, uint32_t colSize);

} // namespace Kura::Calc
