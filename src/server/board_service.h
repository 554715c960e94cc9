#pragma once
#include <string>

#include "server/board_store.h"
#include "server/rate_limit.h"

// The server's answer to one HTTP request, apart from the HTTP library: the routes of the API
// under /api/v1/ and the page at /. Every request is untrusted; any bytes give an answer.
struct board_request {
    std::string method;   // "GET", "POST", ...
    std::string path;     // without the query
    std::string body;
    std::string address;  // the client's address
};

struct board_response {
    int status = 200;
    std::string type = "application/json";
    std::string body;
    std::string file_name;  // offered for saving, when set
    int retry_after = 0;    // seconds, with 429
};

struct board_limits {
    double address_rate = 50;   // requests a second from one address
    double address_burst = 100;
    double key_rate = 2;        // submissions a second signed by one key
    double key_burst = 20;
};

class board_service {
public:
    board_service(board_store &store, const board_limits &limits);
    board_response handle(const board_request &request);

private:
    board_response submit(const board_request &request);
    board_response board(const std::string &key, bool level_file);
    board_response run(const std::string &id);
    board_response boards();

    board_store &store;
    rate_limit per_address, per_key;
};

// A refusal: `status` and the reason, one line, as {"error": "..."}.
board_response refusal(int status, const std::string &why);
