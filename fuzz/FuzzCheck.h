#pragma once
// What the fuzz targets of system.ini, the preferences and the event keys share: a violated
// check prints what failed and traps, so that libFuzzer stops and keeps the input. Each
// target defines kFuzzTarget, the name its reports begin with.
#include <cstdio>

namespace qm::fuzz {

extern const char kFuzzTarget[];

inline void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "%s fuzz check failed: %s\n", kFuzzTarget, what);
    __builtin_trap();
}

}  // namespace qm::fuzz

// The sanitizer settings of these targets (ASAN_OPTIONS still overrides them), as for the
// pool-file target: an input makes many small allocations, and a 30-frame stack, a fill
// pattern and a 256 MB quarantine for each would cost most of its time. For whole stacks,
// run the saved input again with ASAN_OPTIONS=malloc_context_size=30.
extern "C" const char* __asan_default_options() {
    return "malloc_context_size=2:max_malloc_fill_size=0:quarantine_size_mb=2";
}
