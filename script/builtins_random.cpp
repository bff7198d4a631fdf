// random: dice, picks and shuffles for scripts. Every draw comes from the one
// process-wide generator of random_source.h, whose state the host records so
// that a replayed scene draws the same numbers again.
#include "builtins.h"
#include "builtins_support.h"

#include "object.h"
#include "random_source.h"

#include <cstdint>
#include <utility>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

// random.seed(n): the same seed gives the same numbers from here on.
Ref seed(const Ref& argument) {
    random::seed(parameter(argument, 0).value()->toInt());
    return argument;
}

// random.int(low, high): an int from low to high, both included.
Ref integer(const Ref& argument) {
    if (parameterCount(argument) < 2)
        return failure("random.int", "needs a lowest and a highest value");
    int64_t low = parameter(argument, 0).value()->toInt();
    int64_t high = parameter(argument, 1).value()->toInt();
    if (low > high)
        return failure("random.int", "the lowest value %lld is above the highest %lld",
                       static_cast<long long>(low), static_cast<long long>(high));
    uint64_t span = static_cast<uint64_t>(high - low) + 1;
    return makeInt(static_cast<int32_t>(low + static_cast<int64_t>(random::below(span))));
}

// random.float(): from 0 up to 1; random.float(low, high): from low up to high.
Ref number(const Ref& argument) {
    if (parameterCount(argument) < 2) return makeFloat(random::unit());
    double low = parameter(argument, 0).value()->toFloat();
    double high = parameter(argument, 1).value()->toFloat();
    if (!(low <= high))
        return failure("random.float", "the lowest value %g is above the highest %g", low, high);
    return makeFloat(low + (high - low) * random::unit());
}

// random.choice(list): one of the list's elements (the element itself, as
// indexing gives it).
Ref choice(const Ref& argument) {
    vObject* list = listOf(parameter(argument, 0));
    if (!list) return failure("random.choice", "the argument is not a list");
    std::vector<Ref>& elements = list->elements();
    if (elements.empty()) return failure("random.choice", "the list is empty");
    return elements[random::below(elements.size())];
}

// random.shuffle(list): puts the elements in a random order in place
// (Fisher-Yates: every order is equally likely) and answers the list.
Ref shuffle(const Ref& argument) {
    Ref given = parameter(argument, 0);
    vObject* list = listOf(given);
    if (!list) return failure("random.shuffle", "the argument is not a list");
    std::vector<Ref>& elements = list->elements();
    for (size_t i = elements.size(); i > 1; --i)
        std::swap(elements[i - 1], elements[random::below(i)]);
    return given;
}

} // namespace

void registerRandom(const Ref& global) {
    Ref random = libraryObject(global, "random");
    setFunction(random, "seed", seed);
    setFunction(random, "int", integer);
    setFunction(random, "float", number);
    setFunction(random, "choice", choice);
    setFunction(random, "shuffle", shuffle);
}

} // namespace Kel::builtins
