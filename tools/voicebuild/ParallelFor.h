// Runs a body for indices 0…count-1 on a few worker threads (the builder's
// passes over utterances are independent of each other).
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace vox::voicebuild {

template <class Body>
void ParallelFor(size_t count, unsigned jobs, Body&& body) {
    if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());
    jobs = unsigned(std::min<size_t>(jobs, std::max<size_t>(count, 1)));
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) body(i);
    };
    std::vector<std::thread> workers;
    for (unsigned j = 1; j < jobs; ++j) workers.emplace_back(work);
    work();
    for (std::thread& t : workers) t.join();
}

}  // namespace vox::voicebuild
