#pragma once
// Rows of an image shared out to several threads, while the calling thread alone hears about
// them in order, as a single-threaded render would report them.
#include <cstdint>
#include <functional>

#include "formula/render_threads.h"

namespace lumen::formula {

// The number of threads "all cores" means here (at least 1).
int hardwareThreads();

// Runs renderRow(worker, y) once for every row y in 0..height-1, on up to `threads` threads:
// worker 0 is the calling thread, the others are helpers 1.. of `helpers` (none when null), all
// finished before returning. beforeRow(y) is called on the calling thread for every row in
// order, before row y may start; answering false stops the run: the rows it had already allowed
// are finished, no later row starts. False when stopped. With one thread, each beforeRow comes
// just before its row.
bool runRows(int32_t height, int threads, const std::function<bool(int32_t)>& beforeRow,
             const std::function<void(int worker, int32_t y)>& renderRow, RenderThreads* helpers);

}  // namespace lumen::formula
