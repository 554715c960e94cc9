#pragma once
#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

// How often one client may ask: a bucket of `burst` tokens per client, filled again at `rate`
// a second; a request takes one, and none left means 429. A rate of 0 sets no limit.
class rate_limit {
public:
    using clock = std::chrono::steady_clock;

    rate_limit(double rate, double burst) : rate(rate), burst(burst) {}

    // Whether `who` may go on at `now`; when not, `wait` is the seconds until it may.
    bool allow(const std::string &who, clock::time_point now, int &wait);

private:
    struct bucket {
        double tokens;
        clock::time_point seen;
    };
    // Beyond this many clients the ones whose buckets have filled up again are forgotten, so a
    // flood of addresses cannot grow the table without end.
    static constexpr size_t clients_max = 100000;

    const double rate, burst;
    std::mutex m;
    std::unordered_map<std::string, bucket> buckets;
};
