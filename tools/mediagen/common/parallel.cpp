#include "common/parallel.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace mediagen {

bool runJobs(const std::vector<Job>& jobs, int workers) {
    std::atomic<std::size_t> nextJob{0};
    std::atomic<bool> allGood{true};
    auto work = [&] {
        for (std::size_t i = nextJob++; i < jobs.size(); i = nextJob++) {
            if (!jobs[i]())
                allGood = false;
        }
    };
    const int count = std::max(1, std::min<int>(workers, static_cast<int>(jobs.size())));
    std::vector<std::thread> threads;
    for (int t = 1; t < count; ++t)
        threads.emplace_back(work);
    work();
    for (auto& thread : threads)
        thread.join();
    return allGood;
}

}  // namespace mediagen
