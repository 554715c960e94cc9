// vinkla-server --db PATH|postgresql://... --listen HOST:PORT: the board of records shared
// between players. Every run it is sent is stepped again with the game's rules before it is
// stored. SIGTERM (or SIGINT) finishes the requests in flight and exits 0.
#include <httplib.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <sys/socket.h>
#include <string>
#include <thread>

#include "board/board_api.h"
#include "server/board_service.h"
#include "server/board_store.h"

namespace {

const char *const usage =
    "usage: vinkla-server --db PATH|postgresql://URI --listen HOST:PORT\n"
    "                     [--address-rate N] [--key-rate N]\n"
    "  --address-rate  requests a second from one address (default 50, 0 for no limit)\n"
    "  --key-rate      submissions a second signed by one key (default 2, 0 for no limit)\n";

bool split_listen(const std::string &listen, std::string &host, int &port)
{
    const size_t colon = listen.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    host = listen.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    const std::string digits = listen.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::atoi(digits.c_str());
    return port <= 65535;
}

bool rate(const char *text, double &out)
{
    char *end = nullptr;
    out = std::strtod(text, &end);
    return end != text && *end == '\0' && out >= 0 && out <= 1e9;
}

const char *reason_of(int status)
{
    switch (status) {
    case 400: return "the request cannot be read";
    case 404: return "nothing here";
    case 405: return "not answered for this method";
    case 413: return "the request is too large";
    case 414: return "the address is too long";
    default: return "the request cannot be answered";
    }
}

}  // namespace

int main(int argc, char **argv)
{
    std::string db, listen;
    board_limits limits;
    for (int i = 1; i < argc; i++) {
        const std::string a = argv[i];
        const bool has_value = i + 1 < argc;
        if (a == "--db" && has_value) {
            db = argv[++i];
        } else if (a == "--listen" && has_value) {
            listen = argv[++i];
        } else if (a == "--address-rate" && has_value && rate(argv[i + 1], limits.address_rate)) {
            limits.address_burst = 2 * limits.address_rate;
            i++;
        } else if (a == "--key-rate" && has_value && rate(argv[i + 1], limits.key_rate)) {
            limits.key_burst = 10 * limits.key_rate;
            i++;
        } else {
            std::fputs(usage, stderr);
            return 2;
        }
    }
    std::string host;
    int port = 0;
    if (db.empty() || !split_listen(listen, host, port)) {
        std::fputs(usage, stderr);
        return 2;
    }

    // The signals are taken by one thread of their own; every thread made after this keeps
    // them blocked, so none is ever cut off in the middle of a request or a commit.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGINT);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::unique_ptr<board_store> store;
    try {
        store = open_store(db);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vinkla-server: %s\n", e.what());
        return 1;
    }
    board_service service(*store, limits);

    httplib::Server server;
    // Proof is quick and commits are grouped, so a request seldom holds a thread for long; the
    // pool is wide enough for every kept-alive client of a busy moment.
    server.new_task_queue = [] { return new httplib::ThreadPool(64); };
    server.set_payload_max_length(body_max);
    server.set_read_timeout(10);
    server.set_write_timeout(10);
    server.set_keep_alive_max_count(1000);
    server.set_keep_alive_timeout(2);
    // An answer goes out at once: with Nagle's rule its last part would wait for the client's
    // delayed acknowledgement, 40 ms.
    server.set_tcp_nodelay(true);
    const auto answer = [&service](const httplib::Request &req, httplib::Response &res) {
        board_request r;
        r.method = req.method;
        r.path = req.path;
        r.body = req.body;
        r.address = req.remote_addr;
        const board_response a = service.handle(r);
        res.status = a.status;
        res.set_content(a.body, a.type.c_str());
        if (!a.file_name.empty())
            res.set_header("Content-Disposition", "attachment; filename=\"" + a.file_name + "\"");
        if (a.retry_after > 0)
            res.set_header("Retry-After", std::to_string(a.retry_after));
    };
    server.Get(".*", answer);
    server.Post(".*", answer);
    server.Put(".*", answer);
    server.Delete(".*", answer);
    server.Patch(".*", answer);
    server.Options(".*", answer);
    server.set_error_handler([](const httplib::Request &, httplib::Response &res) {
        if (res.body.empty()) {
            const board_response a = refusal(res.status, reason_of(res.status));
            res.set_content(a.body, a.type.c_str());
        }
    });

    // The library listens with a backlog of 5, so clients connecting at once would wait for
    // the kernel's SYN retry, a second; the socket is asked to listen again with a longer one.
    // SO_REUSEADDR alone, so a second server on the same port fails rather than shares it.
    int listening = -1;
    server.set_socket_options([&listening](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        listening = sock;
    });
    if (port == 0)
        port = server.bind_to_any_port(host.c_str());
    else if (!server.bind_to_port(host.c_str(), port))
        port = -1;
    if (port <= 0) {
        std::fprintf(stderr, "vinkla-server: cannot listen on %s\n", listen.c_str());
        return 1;
    }
    ::listen(listening, 1024);
    std::printf("vinkla-server: listening on %s:%d, boards in %s\n", host.c_str(), port,
                db.rfind("postgres", 0) == 0 ? "PostgreSQL" : db.c_str());
    std::fflush(stdout);

    std::atomic<bool> asked_to_end{false};
    std::thread signals([&server, &asked_to_end, ending] {
        int signal = 0;
        sigwait(&ending, &signal);
        asked_to_end = true;
        server.stop();
    });
    server.listen_after_bind();
    const bool failed = !asked_to_end;
    if (failed) {
        // listen failed by itself: the signal thread is woken so it can be joined.
        pthread_kill(signals.native_handle(), SIGTERM);
    }
    signals.join();
    store.reset();  // the writer finishes what it was given
    if (failed)
        std::fprintf(stderr, "vinkla-server: stopped serving on %s\n", listen.c_str());
    return failed ? 1 : 0;
}
