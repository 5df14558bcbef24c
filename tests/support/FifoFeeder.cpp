#include "support/FifoFeeder.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace testutil {

FifoFeeder::FifoFeeder(std::string p, std::string t)
    : path(std::move(p)), text(std::move(t)), worker([this] { Feed(); })
{
}

void FifoFeeder::Stop()
{
    stop = true;
    if (worker.joinable())
        worker.join();
}

void FifoFeeder::Feed()
{
    // A reader that closes early gives this thread an EPIPE, not the whole
    // test a SIGPIPE.
    sigset_t pipeSet;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, nullptr);
    int fd = -1;
    while (!stop) {
        fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0 || errno != ENXIO)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (fd < 0)
        return;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    close(fd);
    const timespec zero{0, 0};
    while (sigtimedwait(&pipeSet, nullptr, &zero) > 0) {
    }
}

} // namespace testutil
