#pragma once
#include <string>

// One request to a board of records server at `url` ("http://HOST:PORT"): the answer's status
// and body, which is read no further than `body_max_bytes` (a server is untrusted too). False
// with the reason in `why` when no answer came.
struct board_reply {
    int status = 0;
    std::string body;
};

bool board_get(const std::string &url, const std::string &path, board_reply &out, std::string &why,
               size_t body_max_bytes = 4 * 1024 * 1024);
bool board_post(const std::string &url, const std::string &path, const std::string &json, board_reply &out,
                std::string &why, size_t body_max_bytes = 64 * 1024);
