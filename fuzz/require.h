#pragma once
// An invariant the fuzz targets hold whatever the input: a broken one ends
// the run as a crash, which libFuzzer keeps the input of.
inline void Require(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}
