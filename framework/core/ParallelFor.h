#pragma once

// A parallel loop over a range of row indices. The calling thread works
// along with up to WorkerCount() - 1 helpers of a small pool that lives for
// the whole process (its threads are created when a loop first needs them
// and then wait for the next loop). Each thread takes the next unprocessed
// index until the range is exhausted, so uneven rows balance themselves. A
// range of one index runs inline on the calling thread.
//
// No exception leaves Run: when helper threads cannot be created (out of
// memory or threads), the rows nobody else takes run on the caller. A loop
// started while another one uses the pool (from another thread, or from
// inside a body) runs on its caller alone.
//
// Different indices must touch disjoint data. A body should not throw; one
// that does loses only its own row, and Run then answers false.

#include <functional>

namespace Thread {

class cParallelFor
{
public:
    // Calls body(i) once for every i in [first, last). False when a body
    // threw.
    static bool Run(int first, int last, const std::function<void(int)>& body);

    // How many threads (the caller included) a loop may use; 0 restores the
    // default, the number of hardware threads (at most 64).
    static void SetWorkerCount(int count);
    static int WorkerCount();
};

} // namespace Thread
