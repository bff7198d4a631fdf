// Instruction storage: the size-class pools.
#include "opcode.h"

#include "pool.h"

namespace Kel {

void* OpCode::operator new(std::size_t size) {
    return pool::allocate(size);
}

void OpCode::operator delete(void* slot, std::size_t size) {
    pool::release(slot, size);
}

} // namespace Kel
