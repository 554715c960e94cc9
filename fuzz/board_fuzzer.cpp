// The board server's request handler: any method, path and body, from one address or many. A
// body that reads as a submission is sent again signed by the harness's own key, so that its
// level and run are proven rather than stopped at the signature. Every answer must be a status
// with a JSON reason or content, and a run the handler stores must come back as it was sent.
#include <cstdint>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "board/board_api.h"
#include "field/level_file.h"
#include "fuzz_support.h"
#include "records/player_key.h"
#include "server/board_service.h"

namespace {

std::unique_ptr<board_store> store;
std::unique_ptr<board_service> service;
player_key key;

board_response ask(const board_request &r)
{
    const board_response a = service->handle(r);
    if (a.status < 200 || a.status > 599)
        fuzz::fail("status %d", a.status);
    if (a.type == "application/json" && nlohmann::json::parse(a.body, nullptr, false).is_discarded())
        fuzz::fail("an answer that is not JSON: %.200s", a.body.c_str());
    if (a.status >= 400 && a.body.find("\"error\"") == std::string::npos)
        fuzz::fail("a refusal without its reason: %d", a.status);
    return a;
}

void check_stored(const submission &s, const board_response &a)
{
    if (a.status != 201)
        return;
    const nlohmann::json j = nlohmann::json::parse(a.body);
    const board_response back = ask({"GET", j["run"].get<std::string>(), "", "fuzz"});
    if (back.status != 200 || back.body != s.run)
        fuzz::fail("a stored run does not come back as it was sent");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::setup();
    store = open_sqlite_store(fuzz::temp_path("board.db"));
    service = std::make_unique<board_service>(*store, board_limits{0, 0, 0, 0});
    std::string why;
    if (!load_or_make_key(fuzz::temp_path(""), key, why))
        fuzz::fail("no key: %s", why.c_str());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // METHOD-LETTER PATH\nBODY
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    if (bytes.empty())
        return 0;
    const char *methods[] = {"GET", "POST", "PUT", "DELETE", "HEAD"};
    board_request r;
    r.method = methods[static_cast<unsigned char>(bytes[0]) % 5];
    const size_t line = bytes.find('\n', 1);
    r.path = bytes.substr(1, line == std::string::npos ? std::string::npos : line - 1);
    r.body = line == std::string::npos ? "" : bytes.substr(line + 1);
    r.address = std::to_string(static_cast<unsigned char>(bytes[0]) / 5);
    ask(r);

    submission s;
    std::string why;
    if (r.method == "POST" && read_submission(r.body, s, why)) {
        s.key = key.public_hex;
        s.signature = sign_message(key, submit_message(board_key(level_text_of(s.level)), s.name, s.run));
        r.path = "/api/v1/runs";
        r.body = submission_json(s);
        check_stored(s, ask(r));
    }
    return 0;
}
