#include "server/rate_limit.h"

#include <algorithm>
#include <cmath>

bool rate_limit::allow(const std::string &who, clock::time_point now, int &wait)
{
    wait = 0;
    if (rate <= 0)
        return true;
    std::lock_guard<std::mutex> lock(m);
    if (buckets.size() >= clients_max) {
        for (auto it = buckets.begin(); it != buckets.end();) {
            const double idle = std::chrono::duration<double>(now - it->second.seen).count();
            it = it->second.tokens + idle * rate >= burst ? buckets.erase(it) : std::next(it);
        }
        if (buckets.size() >= clients_max) {
            wait = 1;
            return false;
        }
    }
    auto found = buckets.find(who);
    if (found == buckets.end())
        found = buckets.emplace(who, bucket{burst, now}).first;
    bucket &b = found->second;
    const double idle = std::max(0.0, std::chrono::duration<double>(now - b.seen).count());
    b.tokens = std::min(burst, b.tokens + idle * rate);
    b.seen = now;
    if (b.tokens >= 1) {
        b.tokens -= 1;
        return true;
    }
    wait = std::max(1, static_cast<int>(std::ceil((1 - b.tokens) / rate)));
    return false;
}
