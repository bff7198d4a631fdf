// Constant instructions. Each literal is built once, when the instruction is
// made, and pushed shared every time it runs, so evaluating it allocates
// nothing; PUSH_CODE alone copies, because every evaluation of a function
// literal must give a function object of its own.
#include "instructions.h"

#include "code_writer.h"
#include "env.h"
#include "numbers.h"
#include "string_value.h"

namespace Kel {

using namespace variable::Variable;

PUSH_INT::PUSH_INT(int32_t value) : m_holder(new vInt(value)), m_value(value) {}

int PUSH_INT::execute(Env& env) {
    env.push(m_holder);
    return STATUS_CONTINUE;
}

void PUSH_INT::serialize(ByteWriter& out) const {
    out.byte(CODE);
    out.i32(m_value);
}

PUSH_HEX::PUSH_HEX(uint32_t value) : m_holder(new vHex(value)), m_value(value) {}

int PUSH_HEX::execute(Env& env) {
    env.push(m_holder);
    return STATUS_CONTINUE;
}

void PUSH_HEX::serialize(ByteWriter& out) const {
    out.byte(CODE);
    out.u32(m_value);
}

PUSH_FLOAT::PUSH_FLOAT(double value) : m_holder(new vFloat(value)), m_value(value) {}

int PUSH_FLOAT::execute(Env& env) {
    env.push(m_holder);
    return STATUS_CONTINUE;
}

void PUSH_FLOAT::serialize(ByteWriter& out) const {
    out.byte(CODE);
    out.f64(m_value);
}

PUSH_STRING::PUSH_STRING(std::string_view value)
    : m_holder(new vString(SharedString(value))), m_value(value) {}

int PUSH_STRING::execute(Env& env) {
    env.push(m_holder);
    return STATUS_CONTINUE;
}

void PUSH_STRING::serialize(ByteWriter& out) const {
    out.byte(CODE);
    out.text(m_value);
}

int PUSH_NULL::execute(Env& env) {
    env.push(makeEmpty());
    return STATUS_CONTINUE;
}

int PUSH_CODE::execute(Env& env) {
    env.push(Ref::adopt(m_function->cloneHolder()));
    return STATUS_CONTINUE;
}

// The function object follows the byte code directly, anonymous.
void PUSH_CODE::serialize(ByteWriter& out) const {
    out.byte(CODE);
    writeFunction(m_function, "", out);
}

} // namespace Kel
