// Grid index arithmetic; checks go to the assertion report.
#include "util/Calc.h"

#include "util/AssertReport.h"

namespace Kura::Calc {

namespace {
constexpr const char* SOURCE_NAME = "src\\Util\\Calc";
} // namespace

uint32_t Get1dIndexFrom2dIndex(uint32_t row, uint32_t column, uint32_t colSize) {
    KURA_CHECK(colSize != 0, "colSize", SOURCE_NAME, "Kura::Calc::Get1dIndexFrom2dIndex", __LINE__);
    return row * colSize + column;
}

} // namespace Kura::Calc
