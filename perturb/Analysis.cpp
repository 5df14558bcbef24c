#include "perturb/Analysis.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "perturb/CycleFormat.h"

namespace {

void Write(const AnalysisKind& a, const Candidate& c, const CycleRecord& r, double jprob, std::ostream& outFile,
           std::ostream& mixLog)
{
    mixLog << r.mixLog << std::flush;
    WriteCycle(a.layout, c, r, jprob, outFile);
}

// Cycles finished by the workers, waiting to be written in order.
class Results {
public:
    explicit Results(std::size_t n) : done(n) {}

    void Put(std::size_t i, std::unique_ptr<CycleRecord> r)
    {
        {
            std::lock_guard<std::mutex> lock(m);
            done[i] = std::move(r);
        }
        cv.notify_all();
    }
    void Fail(std::exception_ptr e)
    {
        {
            std::lock_guard<std::mutex> lock(m);
            if (!error)
                error = e;
        }
        cv.notify_all();
    }
    bool Failed()
    {
        std::lock_guard<std::mutex> lock(m);
        return error != nullptr;
    }
    // Waits for cycle i; null when a worker failed.
    std::unique_ptr<CycleRecord> Take(std::size_t i)
    {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [&] { return done[i] != nullptr || error != nullptr; });
        return std::move(done[i]);
    }
    std::exception_ptr Error()
    {
        std::lock_guard<std::mutex> lock(m);
        return error;
    }

private:
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::unique_ptr<CycleRecord>> done;
    std::exception_ptr error;
};

} // namespace

void RunCycles(const AnalysisKind& a, const Trained& t, const std::vector<Candidate>& cands, double jprob,
               std::ostream& outFile, std::ostream& mixLog, int threads, const CycleWatch& watch)
{
    const std::size_t n = cands.size();
    const std::size_t workers = std::min<std::size_t>(threads > 1 ? std::size_t(threads) : 1, n);
    if (workers <= 1) {
        CycleWork work;
        for (std::size_t i = 0; i < n; ++i) {
            Write(a, cands[i], RunCycle(a, t, cands[i], work), jprob, outFile, mixLog);
            if (watch)
                watch(i + 1, n);
        }
        return;
    }

    // Workers take cycles in candidate order; this thread writes them in
    // that order as they become ready.
    Results results(n);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        try {
            CycleWork work;
            for (std::size_t i = next++; i < n && !results.Failed(); i = next++)
                results.Put(i, std::make_unique<CycleRecord>(RunCycle(a, t, cands[i], work)));
        } catch (...) {
            results.Fail(std::current_exception());
        }
    };
    std::vector<std::thread> pool;
    pool.reserve(workers);
    for (std::size_t w = 0; w < workers; ++w)
        pool.emplace_back(work);
    std::exception_ptr error;
    try {
        for (std::size_t i = 0; i < n; ++i) {
            const auto r = results.Take(i);
            if (!r)
                break;
            Write(a, cands[i], *r, jprob, outFile, mixLog);
            if (watch)
                watch(i + 1, n);
        }
    } catch (...) {
        error = std::current_exception();
        results.Fail(error);
    }
    for (auto& th : pool)
        th.join();
    if (!error)
        error = results.Error();
    if (error)
        std::rethrow_exception(error);
}
