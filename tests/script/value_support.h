// Shared by the value suites: makers for the kinds of value they use, and a
// fixture that fails a test whose values leave holders or value slots behind
// in the pools.
#pragma once

#include "env.h"
#include "holder.h"
#include "natives.h"
#include "numbers.h"
#include "object.h"
#include "pointer.h"
#include "pool.h"
#include "string_value.h"
#include "tuple.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace valuetest {

using namespace Kel;
using namespace Kel::variable::Variable;

inline Ref integer(int32_t value) {
    return Ref(new vInt(value));
}
inline Ref text(std::string_view value) {
    return Ref(new vString(SharedString(value)));
}
inline Ref pointerTo(const Ref& target) {
    return Ref(new vPointer(target.get()));
}

inline Ref tuple(TupleElements elements) {
    return Ref(new vRArray(std::move(elements)));
}

// An object with the given elements (copies) and no members.
inline Ref list(std::vector<Ref> elements) {
    Ref object = makeEmpty();
    for (const Ref& element : elements)
        object.value()->append(element);
    return object;
}

inline std::string str(const Ref& value) {
    return value.value()->toString().str();
}
inline int type(const Ref& value) {
    return value.value()->typeCode();
}

inline Ref member(const Ref& object, std::string_view name) {
    return Ref(object.value()->member(name));
}
inline Ref element(const Ref& object, int index) {
    return Ref(object.value()->elementAt(index));
}

// Member names of `object` in iteration order, joined with spaces.
inline std::string keyOrder(const Ref& object) {
    Ref names = object.value()->keys();
    std::string joined;
    for (int i = 0; i < names.value()->count(); ++i) {
        if (i) joined += ' ';
        joined += str(element(names, i));
    }
    return joined;
}

// Counts holders and values in the pools around each test: whatever a test
// makes must be gone when its last reference is.
class ValueTest : public testing::Test {
protected:
    void SetUp() override {
        Env::global(); // made once for the process, not a leak of this test
        m_holders = pool::holders().inUse();
        m_objects = pool::forSize(sizeof(vObject))->inUse();
    }
    void TearDown() override {
        EXPECT_EQ(pool::holders().inUse(), m_holders) << "holders left behind";
        EXPECT_EQ(pool::forSize(sizeof(vObject))->inUse(), m_objects) << "objects left behind";
    }

private:
    size_t m_holders = 0;
    size_t m_objects = 0;
};

} // namespace valuetest
