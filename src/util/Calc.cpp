// Grid index arithmetic and colour packing; checks go to the assertion report.
#include "util/Calc.h"

#include "util/AssertReport.h"

namespace Kura::Calc {

namespace {
constexpr const char* SOURCE_NAME = "src\\Util\\Calc";
constexpr uint32_t ALPHA_SHIFT = 24;
constexpr uint32_t COLOR_MASK = 0x00FFFFFF;
constexpr uint32_t ALPHA_MASK = 0xFF;
} // namespace

uint32_t Get1dIndexFrom2dIndex(uint32_t row, uint32_t column, uint32_t colSize) {
    KURA_CHECK(colSize != 0, "colSize", SOURCE_NAME, "Kura::Calc::Get1dIndexFrom2dIndex", __LINE__);
    return row * colSize + column;
}

uint32_t MakeAlphaColor(uint32_t alpha, uint32_t color) {
    return ((alpha & ALPHA_MASK) << ALPHA_SHIFT) | (color & COLOR_MASK);
}

} // namespace Kura::Calc
