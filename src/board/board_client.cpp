#include "board/board_client.h"

#include <httplib.h>

namespace {

bool send(const std::string &url, httplib::Request &req, board_reply &out, std::string &why, size_t most)
{
    out = board_reply();
    if (url.rfind("http://", 0) != 0) {
        why = "the server's address must begin with http://";
        return false;
    }
    httplib::Client client(url);
    if (!client.is_valid()) {
        why = "the server's address cannot be read: " + url;
        return false;
    }
    client.set_connection_timeout(10);
    client.set_read_timeout(60);
    client.set_write_timeout(30);
    client.set_tcp_nodelay(true);  // a request's body is not held back for the header's acknowledgement
    bool too_long = false;
    req.content_receiver = [&](const char *data, size_t size, uint64_t, uint64_t) {
        if (out.body.size() + size > most) {
            too_long = true;
            return false;
        }
        out.body.append(data, size);
        return true;
    };
    httplib::Response res;
    httplib::Error error = httplib::Error::Success;
    if (!client.send(req, res, error)) {
        why = too_long ? "the server's answer is too long" : "no answer from " + url + ": " + httplib::to_string(error);
        return false;
    }
    out.status = res.status;
    return true;
}

}  // namespace

bool board_get(const std::string &url, const std::string &path, board_reply &out, std::string &why, size_t most)
{
    httplib::Request req;
    req.method = "GET";
    req.path = path;
    return send(url, req, out, why, most);
}

bool board_post(const std::string &url, const std::string &path, const std::string &json, board_reply &out,
                std::string &why, size_t most)
{
    httplib::Request req;
    req.method = "POST";
    req.path = path;
    req.body = json;
    req.set_header("Content-Type", "application/json");
    return send(url, req, out, why, most);
}
