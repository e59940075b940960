// A bound on a scenario that a deadlock would never let end: past it, the test program stops with
// a message that says what did not end, since no thread of a deadlock can be freed from outside.
#ifndef SCANLINK_TESTS_DEADLINE_H
#define SCANLINK_TESTS_DEADLINE_H

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class Deadline {
  public:
    explicit Deadline(std::string what, std::chrono::seconds bound = std::chrono::seconds(20));
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

  private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread watchdog_;
};

#endif
