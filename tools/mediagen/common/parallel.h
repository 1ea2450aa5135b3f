#pragma once

#include <functional>
#include <vector>

namespace mediagen {

using Job = std::function<bool()>;

// Runs independent jobs (each writes its own file) on a few worker threads.
// Returns true when every job succeeded. The order in which jobs finish does
// not matter because no job reads what another one writes.
bool runJobs(const std::vector<Job>& jobs, int workers = 2);

}  // namespace mediagen
