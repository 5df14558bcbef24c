#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace testutil {

// Writes `text` into the FIFO at `path` once a reader has opened it, on a
// thread of its own, until Stop(). A program that never opens it leaves the
// thread waiting for Stop(); a second open by the reader finds no writer and
// blocks.
class FifoFeeder {
public:
    FifoFeeder(std::string p, std::string t);
    ~FifoFeeder() { Stop(); }
    FifoFeeder(const FifoFeeder&) = delete;
    FifoFeeder& operator=(const FifoFeeder&) = delete;
    void Stop();

private:
    void Feed();

    std::string path, text;
    std::atomic<bool> stop{false};
    std::thread worker;
};

} // namespace testutil
