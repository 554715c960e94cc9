// The board of records under load: verified submissions a second with many clients at once
// against a running vinkla-server, with p50 and p99 latency, beside what the proof itself costs
// in this process (the ceiling).
//   vinkla_board_bench URL CLIENTS SUBMISSIONS KEY_FOLDER LEVEL.vkl...
// Each level's shipped mouse run is made a run of at least 10 s by frames at rest before it
// (the marble lies still on its start until the first tilt, so it still wins), one frame more
// for each submission on the same board, so every run is new to the board.
#include <httplib.h>

#include <sodium.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "board/board_api.h"
#include "field/field.h"
#include "field/level_file.h"
#include "records/player_key.h"
#include "records/run_replay.h"
#include "rules/run_file.h"

namespace {

using clock_type = std::chrono::steady_clock;

std::string file_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

double seconds_since(clock_type::time_point t)
{
    return std::chrono::duration<double>(clock_type::now() - t).count();
}

struct prepared {
    std::string level, level_text, run_bytes, body;
};

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: vinkla_board_bench URL CLIENTS SUBMISSIONS KEY_FOLDER LEVEL.vkl...\n");
        return 2;
    }
    const std::string url = argv[1];
    const int clients = std::max(1, std::atoi(argv[2]));
    const int total = std::max(1, std::atoi(argv[3]));
    const std::string keys = argv[4];
    std::vector<std::string> levels(argv + 5, argv + argc);

    std::vector<player_key> players(static_cast<size_t>(clients));
    for (int c = 0; c < clients; c++) {
        const std::string folder = keys + "/" + std::to_string(c);
        std::string why;
        std::system(("mkdir -p '" + folder + "'").c_str());
        if (!load_or_make_key(folder, players[static_cast<size_t>(c)], why)) {
            std::fprintf(stderr, "%s\n", why.c_str());
            return 1;
        }
    }

    // The submissions, made and signed before the clock starts.
    std::vector<prepared> work(static_cast<size_t>(total));
    long frames_total = 0;
    for (int i = 0; i < total; i++) {
        const std::string &path = levels[static_cast<size_t>(i) % levels.size()];
        prepared &p = work[static_cast<size_t>(i)];
        p.level = file_bytes(path);
        p.level_text = level_text_of(p.level);
        run_record run;
        std::string why;
        if (!read_run(file_bytes(path + ".mouse.run"), run, why)) {
            std::fprintf(stderr, "%s.mouse.run: %s\n", path.c_str(), why.c_str());
            return 1;
        }
        const size_t rest = (run.tilts.size() < 1000 ? 1000 - run.tilts.size() : 0) +
                            static_cast<size_t>(i) / levels.size() + 1;
        run.tilts.insert(run.tilts.begin(), rest, run_tilt{0, 0});
        frames_total += static_cast<long>(run.tilts.size());
        p.run_bytes = write_run(run);
        const int c = i % clients;
        submission s;
        s.level = p.level;
        s.run = p.run_bytes;
        s.name = "Kuormittaja " + std::to_string(c);
        s.key = players[static_cast<size_t>(c)].public_hex;
        s.signature = sign_message(players[static_cast<size_t>(c)], submit_message(board_key(p.level_text), s.name, s.run));
        p.body = submission_json(s);
    }

    // What the proof costs here, one core: signature, run file, board, stepping.
    {
        const int rounds = std::min(total, 2000);
        double sig = 0, read = 0, build = 0, step = 0;
        long frames = 0;
        for (int i = 0; i < rounds; i++) {
            const prepared &p = work[static_cast<size_t>(i)];
            submission s;
            std::string why;
            read_submission(p.body, s, why);
            auto t = clock_type::now();
            signature_holds(s.key, submit_message(board_key(p.level_text), s.name, s.run), s.signature);
            sig += seconds_since(t);
            t = clock_type::now();
            run_record run;
            read_run(p.run_bytes, run, why);
            read += seconds_since(t);
            t = clock_type::now();
            field *board = field::from_text(p.level_text);
            build += seconds_since(t);
            t = clock_type::now();
            const replay_result r = replay_run(board, run);
            step += seconds_since(t);
            frames += r.frames;
        }
        const double us = 1e6 / rounds;
        std::printf("proof, one core: signature %.0f us, run file %.0f us, board %.0f us, stepping %.0f us "
                    "(%.0f frames, %.0f ns a frame): %.0f proofs a second\n",
                    sig * us, read * us, build * us, step * us, static_cast<double>(frames) / rounds,
                    step * 1e9 / static_cast<double>(frames), rounds / (sig + read + build + step));
    }

    std::vector<std::vector<double>> latencies(static_cast<size_t>(clients));
    std::atomic<int> next{0}, accepted{0}, refused{0}, retried{0};
    const auto start = clock_type::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; c++)
        threads.emplace_back([&, c] {
            httplib::Client client(url);
            client.set_keep_alive(true);
            client.set_tcp_nodelay(true);
            client.set_read_timeout(60);
            for (int i = next++; i < total; i = next++) {
                const auto t = clock_type::now();
                auto res = client.Post("/api/v1/runs", work[static_cast<size_t>(i)].body, "application/json");
                if (!res) {
                    // A kept-alive connection the server had just closed: sent again on a new one,
                    // as a client does (a run that did arrive is then refused as already there).
                    retried++;
                    res = client.Post("/api/v1/runs", work[static_cast<size_t>(i)].body, "application/json");
                }
                latencies[static_cast<size_t>(c)].push_back(seconds_since(t));
                if (res && res->status == 201)
                    accepted++;
                else {
                    if (refused++ < 3)
                        std::fprintf(stderr, "refused: %d %s\n", res ? res->status : 0,
                                     res ? res->body.c_str() : httplib::to_string(res.error()).c_str());
                }
            }
        });
    for (std::thread &t : threads)
        t.join();
    const double wall = seconds_since(start);
    std::vector<double> all;
    for (const auto &l : latencies)
        all.insert(all.end(), l.begin(), l.end());
    std::sort(all.begin(), all.end());
    const auto at = [&](double q) { return all[std::min(all.size() - 1, static_cast<size_t>(q * all.size()))] * 1e3; };
    std::printf("%d clients, %d submissions of %.1f s runs: %d accepted, %d refused, %d sent again, in %.2f s: "
                "%.0f accepted a second; latency p50 %.1f ms, p99 %.1f ms, max %.1f ms\n",
                clients, total, static_cast<double>(frames_total) / total / 100, accepted.load(), refused.load(),
                retried.load(), wall,
                accepted / wall, at(0.5), at(0.99), all.back() * 1e3);
    return accepted + retried >= total ? 0 : 1;
}
