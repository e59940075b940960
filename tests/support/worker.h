// A thread that runs the jobs it is given one after another and otherwise idles, as a thread of
// a pool does; it ends when the object goes.
#ifndef SCANLINK_TESTS_WORKER_H
#define SCANLINK_TESTS_WORKER_H

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

class Worker {
  public:
    Worker();
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Runs `job` on the worker's thread and returns its result once it has run.
    template <class Job>
    auto run(Job job) {
        std::packaged_task<decltype(job())()> task(std::move(job));
        auto result = task.get_future();
        post([&task] { task(); });
        return result.get();
    }

  private:
    void post(std::function<void()> job);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

#endif
