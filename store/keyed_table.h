#pragma once
// Tables of pairs keyed by an enum or a row number, written out key by key so
// that each entry says what it is for. A table that names every key once, in
// order, can be read by position; the check below, in a static_assert, keeps
// it so.
#include <cstddef>

template <class Pair, std::size_t N>
constexpr bool CoversInOrder(const Pair (&table)[N], std::size_t keys) {
    if (N != keys) {
        return false;
    }
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(table[i].first) != i) {
            return false;
        }
    }
    return true;
}
