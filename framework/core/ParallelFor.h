#pragma once

// A parallel loop over a range of row indices. The calling thread works
// along with up to WorkerCount() - 1 helper threads; each takes the next
// unprocessed index until the range is exhausted, so uneven rows balance
// themselves. A range of one index runs inline on the calling thread.
//
// The body must not throw, and different indices must touch disjoint data.

#include <functional>

namespace Thread {

class cParallelFor
{
public:
    // Calls body(i) once for every i in [first, last).
    static void Run(int first, int last, const std::function<void(int)>& body);

    // How many threads (the caller included) a loop may use; 0 restores the
    // default, the number of hardware threads.
    static void SetWorkerCount(int count);
    static int WorkerCount();
};

} // namespace Thread
