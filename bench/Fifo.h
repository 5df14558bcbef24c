#pragma once

#include <string>

// A named pipe that exists for the lifetime of this object: created (mode
// 0600) by the constructor, removed by the destructor.
class Fifo {
public:
    explicit Fifo(std::string path);
    ~Fifo();
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
