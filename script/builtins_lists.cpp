// lists: sorting, inserting, removing, reversing, searching and copying parts
// of lists (objects used through their elements). Functions that change a list
// change it in place and answer it; a list never grows past MAX_ELEMENTS.
#include "builtins.h"
#include "builtins_support.h"

#include "env.h"
#include "object.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace Kel::builtins {

using namespace variable::Variable;

namespace {

// Without a comparator, numbers come first in numeric order, then strings in
// byte order, then every other value in the order it had.
int rankOf(vBase* value) {
    switch (value->typeCode()) {
    case TYPE_INT:
    case TYPE_HEX:
    case TYPE_FLOAT:
        return 0;
    case TYPE_STRING:
        return 1;
    default:
        return 2;
    }
}

// What the natural order compares of an element, read once before sorting
// rather than at every comparison, and where the element is in the list. The
// text of a string element is kept apart, so the key of a list of numbers
// stays two words.
struct Key {
    double number = 0;
    uint32_t element = 0;
    int32_t rank = 0;
};

struct NaturalLess {
    const std::vector<SharedString>& texts;
    bool operator()(const Key& a, const Key& b) const {
        if (a.rank != b.rank) return a.rank < b.rank;
        if (a.rank == 0) return a.number < b.number;
        return a.rank == 1 && texts[a.element].view() < texts[b.element].view();
    }
};

// Merges the sorted runs [begin, middle) and [middle, end) of `elements` in
// place, with the left run moved out to `buffer` first. Taking from the right
// run only when it is strictly less keeps equal elements in order; once the
// left run is used up, the rest of the right one is already in place.
template <class T, class Less>
void mergeRuns(std::vector<T>& elements, std::vector<T>& buffer, size_t begin, size_t middle,
               size_t end, Less& less) {
    std::move(elements.begin() + static_cast<std::ptrdiff_t>(begin),
              elements.begin() + static_cast<std::ptrdiff_t>(middle), buffer.begin());
    size_t left = 0;
    size_t leftEnd = middle - begin;
    size_t right = middle;
    for (size_t out = begin; left < leftEnd; ++out) {
        bool takeRight = right < end && less(elements[right], buffer[left]);
        elements[out] = std::move(takeRight ? elements[right++] : buffer[left++]);
    }
}

// A stable bottom-up merge sort. It only ever compares elements inside the
// runs it merges, so a comparator that contradicts itself gives some order
// but can never make the sort read outside the list. The buffer holds one
// left run: at most the largest power of two below the length.
template <class T, class Less> void mergeSort(std::vector<T>& elements, Less& less) {
    size_t widest = 1;
    while (widest * 2 < elements.size())
        widest *= 2;
    std::vector<T> buffer(elements.size() > 1 ? widest : 0);
    for (size_t width = 1; width < elements.size(); width *= 2) {
        for (size_t begin = 0; begin + width < elements.size(); begin += 2 * width) {
            size_t middle = begin + width;
            size_t end = std::min(begin + 2 * width, elements.size());
            mergeRuns(elements, buffer, begin, middle, end, less);
        }
    }
}

// The key of an element of a list of ints only, the usual case: half the size.
struct IntKey {
    int32_t number = 0;
    uint32_t element = 0;
};

bool intLess(const IntKey& a, const IntKey& b) {
    return a.number < b.number;
}

// Puts the elements in the order of the sorted keys, each key naming the
// element that belongs at its place: every element moves once, following the
// cycles of the order, and a key is marked done by naming its own place.
template <class Key> void arrange(std::vector<Ref>& elements, std::vector<Key>& keys) {
    for (uint32_t start = 0; start < keys.size(); ++start) {
        if (keys[start].element == start) continue;
        Ref first = std::move(elements[start]);
        for (uint32_t at = start;;) {
            uint32_t from = std::exchange(keys[at].element, at);
            if (from == start) {
                elements[at] = std::move(first);
                break;
            }
            elements[at] = std::move(elements[from]);
            at = from;
        }
    }
}

// A list of ints only sorts on keys of two 32-bit words; false, with nothing
// done, for any other list.
bool sortInts(std::vector<Ref>& elements) {
    std::vector<IntKey> keys(elements.size());
    for (size_t i = 0; i < elements.size(); ++i) {
        vBase* value = elements[i].value();
        if (value->typeCode() != TYPE_INT) return false;
        keys[i] = {value->toInt(), static_cast<uint32_t>(i)};
    }
    mergeSort(keys, intLess);
    arrange(elements, keys);
    return true;
}

// Sorts the list's elements in their natural order where they are: reading
// the keys runs no script code, so nothing can change the list meanwhile.
void sortNaturally(std::vector<Ref>& elements) {
    if (sortInts(elements)) return;
    std::vector<Key> keys(elements.size());
    std::vector<SharedString> texts;
    for (size_t i = 0; i < elements.size(); ++i) {
        vBase* value = elements[i].value();
        Key& key = keys[i];
        key.element = static_cast<uint32_t>(i);
        key.rank = rankOf(value);
        if (key.rank == 0) key.number = value->toFloat();
        if (key.rank != 1) continue;
        if (texts.empty()) texts.resize(elements.size());
        texts[i] = value->toString();
    }
    NaturalLess less{texts};
    mergeSort(keys, less);
    arrange(elements, keys);
}

// A script comparator: f(a, b) true when a goes before b. Once the host's
// instruction budget runs out it stops calling and the sort is abandoned.
struct ScriptLess {
    Ref function;
    bool abandoned = false;
    bool operator()(const Ref& a, const Ref& b) {
        if (abandoned || (abandoned = Env::budgetExhausted())) return false;
        return callScript(function, a, b).value()->toBool();
    }
};

// lists.sort(list[, before]): sorts in place. With a comparator the elements
// are sorted as a copy of the list's element handles and put back at the end,
// so a comparator that changes the list meanwhile cannot pull elements away
// from under the sort (its changes to the order are lost).
Ref sort(const Ref& argument) {
    Ref given = parameter(argument, 0);
    vObject* list = listOf(given);
    if (!list) return failure("lists.sort", "the argument is not a list");
    if (parameterCount(argument) < 2) {
        sortNaturally(list->elements());
        return given;
    }
    ScriptLess less{parameter(argument, 1)};
    if (!isCallable(less.function.value()))
        return failure("lists.sort", "the comparator is not a function");
    ReentryGuard guard;
    if (!guard.allowed()) return makeNil();
    std::vector<Ref> elements = list->elements();
    mergeSort(elements, less);
    if (less.abandoned) return given;
    list = listOf(given);
    if (list) list->elements() = std::move(elements);
    return given;
}

// A position in a list of `size` elements: negative counts from the end.
// Answers -1 when it lies outside 0 .. size - 1 + `pastEnd`.
int64_t position(const Ref& value, size_t size, bool pastEnd) {
    int64_t at = value.value()->toInt();
    if (at < 0) at += static_cast<int64_t>(size);
    bool inside = at >= 0 && at < static_cast<int64_t>(size) + (pastEnd ? 1 : 0);
    return inside ? at : -1;
}

// lists.insert(list, position, value): a copy of value goes before the element
// at position (at the end for the list's length), as push copies it.
Ref insert(const Ref& argument) {
    Ref given = parameter(argument, 0);
    vObject* list = listOf(given);
    if (!list) return failure("lists.insert", "the argument is not a list");
    std::vector<Ref>& elements = list->elements();
    int64_t at = position(parameter(argument, 1), elements.size(), true);
    if (at < 0)
        return failure("lists.insert", "position %d is outside the list",
                       parameter(argument, 1).value()->toInt());
    if (elements.size() >= static_cast<size_t>(MAX_ELEMENTS))
        return failure("lists.insert", "the list already holds %d elements", MAX_ELEMENTS);
    Ref item = parameter(argument, 2);
    elements.insert(elements.begin() + at, Ref::adopt(item->cloneHolder()));
    return given;
}

// lists.remove(list, position): takes the element out and answers it.
Ref remove(const Ref& argument) {
    vObject* list = listOf(parameter(argument, 0));
    if (!list) return failure("lists.remove", "the argument is not a list");
    std::vector<Ref>& elements = list->elements();
    int64_t at = position(parameter(argument, 1), elements.size(), false);
    if (at < 0)
        return failure("lists.remove", "position %d is outside the list",
                       parameter(argument, 1).value()->toInt());
    Ref removed = elements[static_cast<size_t>(at)];
    elements.erase(elements.begin() + at);
    return removed;
}

Ref reverse(const Ref& argument) {
    Ref given = parameter(argument, 0);
    vObject* list = listOf(given);
    if (!list) return failure("lists.reverse", "the argument is not a list");
    std::reverse(list->elements().begin(), list->elements().end());
    return given;
}

// Equality for searching: numbers by value, strings by their bytes, anything
// else only when it is the very same value.
bool sameValue(const Ref& a, const Ref& b) {
    int rank = rankOf(a.value());
    if (rank != rankOf(b.value())) return false;
    if (rank == 0) return a.value()->toFloat() == b.value()->toFloat();
    if (rank == 1) return a.value()->toString().view() == b.value()->toString().view();
    return a.value() == b.value();
}

// lists.indexof(list, value[, start]): the first position at or after start
// holding value, or -1.
Ref indexOf(const Ref& argument) {
    vObject* list = listOf(parameter(argument, 0));
    if (!list) return failure("lists.indexof", "the argument is not a list");
    Ref wanted = parameter(argument, 1);
    const std::vector<Ref>& elements = list->elements();
    int64_t start = parameterCount(argument) > 2 ? parameter(argument, 2).value()->toInt() : 0;
    if (start < 0) start = std::max<int64_t>(start + static_cast<int64_t>(elements.size()), 0);
    for (size_t i = static_cast<size_t>(start); i < elements.size(); ++i)
        if (sameValue(elements[i], wanted)) return makeInt(static_cast<int32_t>(i));
    return makeInt(-1);
}

// lists.slice(list, start[, count]): a new list with copies of count elements
// from start (to the end when count is missing or reaches past it). Unlike
// the index form `list[(start, count)]` it neither shares the elements nor
// grows the list.
Ref slice(const Ref& argument) {
    vObject* list = listOf(parameter(argument, 0));
    if (!list) return failure("lists.slice", "the argument is not a list");
    const std::vector<Ref>& elements = list->elements();
    int64_t size = static_cast<int64_t>(elements.size());
    int64_t start = parameter(argument, 1).value()->toInt();
    if (start < 0) start = std::max<int64_t>(start + size, 0);
    int64_t count = parameterCount(argument) > 2 ? parameter(argument, 2).value()->toInt() : size;
    if (count < 0)
        return failure("lists.slice", "cannot take %lld elements", static_cast<long long>(count));
    int64_t end = std::min(size, start + count);
    Ref copy = makeObject();
    std::vector<Ref>& copied = static_cast<vObject*>(copy.value())->elements();
    for (int64_t i = start; i < end; ++i)
        copied.push_back(Ref::adopt(elements[static_cast<size_t>(i)]->cloneHolder()));
    return copy;
}

} // namespace

void registerLists(const Ref& global) {
    Ref lists = libraryObject(global, "lists");
    setFunction(lists, "sort", sort);
    setFunction(lists, "insert", insert);
    setFunction(lists, "remove", remove);
    setFunction(lists, "reverse", reverse);
    setFunction(lists, "indexof", indexOf);
    setFunction(lists, "slice", slice);
}

} // namespace Kel::builtins
