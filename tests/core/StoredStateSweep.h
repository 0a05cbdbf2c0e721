#pragma once
// The proof that nothing stored is lost: a writer runs over the fault wrappers once whole,
// then once for every platform call it makes, first with that call failing alone and then
// with the process ending just before it. After each run the writer's invariant is checked
// on what the platform then holds, the way a freshly started program would find it.
#include <gtest/gtest.h>

#include <functional>

#include "core/TestPlatform.h"
#include "platform/fault/FaultInjection.h"

namespace qm::test {

struct StoredStateWriter {
    std::function<void()> prepare;                        // lays down the old state, from scratch
    std::function<void(IRegistry&, IFileSystem&)> write;  // the operation, through the wrappers
    // The invariant, read from the platform itself: after the whole write (`whole`) exactly
    // the new state; otherwise the old state or the new one, as the writer defines them.
    std::function<void(bool whole)> check;
};

// Returns how many calls the whole write made (each was struck in turn).
inline int SweepEveryCall(TestPlatform& platform, const StoredStateWriter& writer) {
    FaultInjector faults;
    FaultyRegistry registry(platform.Registry(), faults);
    FaultyFileSystem files(platform.Files(), faults);
    writer.prepare();
    writer.write(registry, files);
    const int calls = faults.TotalCalls();
    {
        SCOPED_TRACE("the whole write");
        writer.check(true);
    }
    EXPECT_GT(calls, 0);
    for (Strike strike : {Strike::fail, Strike::die}) {
        for (int call = 1; call <= calls && !::testing::Test::HasFailure(); ++call) {
            SCOPED_TRACE(::testing::Message() << (strike == Strike::die ? "ended before" : "failed at") << " call "
                                              << call << " of " << calls);
            writer.prepare();
            faults.Reset();
            faults.StrikeCall(call, strike);
            writer.write(registry, files);
            writer.check(false);
        }
    }
    return calls;
}

}  // namespace qm::test
