#include "server/board_service.h"

#include <ctime>
#include <memory>

#include <nlohmann/json.hpp>

#include "board/board_api.h"
#include "field/field.h"
#include "field/level_check.h"
#include "field/level_file.h"
#include "platform/grid.h"
#include "records/player_key.h"
#include "records/record_table.h"
#include "records/run_replay.h"
#include "records/run_time.h"
#include "rules/run_file.h"
#include "server/board_page.h"

namespace {

const int table_rows_max = 100;
const int boards_max = 200;

std::string today_utc()
{
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    gmtime_r(&now, &t);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", (t.tm_year + 1900) % 10000, t.tm_mon + 1, t.tm_mday);
    return text;
}

board_response json_answer(int status, const nlohmann::json &j)
{
    board_response r;
    r.status = status;
    // Names are checked UTF-8 and titles cleaned, but nothing may make the answer throw.
    r.body = j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return r;
}

bool hex_key(const std::string &text, size_t size)
{
    if (text.size() != size)
        return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

// Why a level cannot stand on the board, or "" when it can be played to the end.
std::string level_fault(const std::string &text)
{
    switch (check_level(text.c_str()).problem) {
    case level_problem::none:
        return "";
    case level_problem::no_start:
        return "the level has no start";
    case level_problem::many_starts:
        return "the level has more than one start";
    case level_problem::no_flag:
        return "the level has no flag";
    case level_problem::unknown_code:
        return "the level holds a code the game has no tile for";
    default:
        return "the level cannot be played to the end";
    }
}

}  // namespace

board_response refusal(int status, const std::string &why)
{
    board_response r = json_answer(status, nlohmann::json{{"error", why}});
    return r;
}

board_service::board_service(board_store &s, const board_limits &limits)
    : store(s), per_address(limits.address_rate, limits.address_burst), per_key(limits.key_rate, limits.key_burst)
{
}

board_response board_service::handle(const board_request &request)
{
    int wait = 0;
    if (!per_address.allow(request.address, rate_limit::clock::now(), wait)) {
        board_response r = refusal(429, "too many requests from this address; try again in a moment");
        r.retry_after = wait;
        return r;
    }
    const std::string &p = request.path;
    const std::string boards_path = "/api/v1/boards/", runs_path = "/api/v1/runs";
    try {
        if (p == runs_path) {
            if (request.method != "POST")
                return refusal(405, "a run is sent with POST");
            return submit(request);
        }
        if (request.method != "GET")
            return refusal(405, "only GET is answered here");
        if (p == "/")
        {
            board_response r;
            r.type = "text/html; charset=utf-8";
            r.body = page_html(store);
            return r;
        }
        if (p == "/api/v1/boards")
            return boards();
        if (p.rfind(boards_path, 0) == 0) {
            const std::string rest = p.substr(boards_path.size());
            const size_t slash = rest.find('/');
            if (slash == std::string::npos)
                return board(rest, false);
            if (rest.substr(slash) == "/level")
                return board(rest.substr(0, slash), true);
        }
        if (p.rfind(runs_path + "/", 0) == 0)
            return run(p.substr(runs_path.size() + 1));
        return refusal(404, "nothing here");
    } catch (const std::exception &) {
        return refusal(503, "the board cannot be read or written now; try again later");
    }
}

board_response board_service::submit(const board_request &request)
{
    submission s;
    std::string why;
    if (!read_submission(request.body, s, why))
        return refusal(request.body.size() > body_max ? 413 : 400, why);
    if (!name_allowed(s.name, why))
        return refusal(400, why);
    if (!hex_key(s.key, 64) || !hex_key(s.signature, 128))
        return refusal(400, "the key or the signature is not in lower-case hex of its length");

    const std::string text = level_text_of(s.level);
    why = level_fault(text);
    if (!why.empty())
        return refusal(422, why);
    const std::string key = board_key(text);
    if (!signature_holds(s.key, submit_message(key, s.name, s.run), s.signature))
        return refusal(403, "the signature does not hold: not signed by this key, or for another run, board or name");
    int wait = 0;
    if (!per_key.allow(s.key, rate_limit::clock::now(), wait)) {
        board_response r = refusal(429, "too many runs signed by this key; try again in a moment");
        r.retry_after = wait;
        return r;
    }

    run_record run;
    if (!read_run(s.run, run, why))
        return refusal(422, "the run file: " + why);
    if (static_cast<long>(run.tilts.size()) > run_frames_limit)
        return refusal(422, "the run is longer than ten minutes of play");
    std::unique_ptr<field> board(field::from_text(text));
    if (!board)
        return refusal(422, "the level cannot be played");
    const replay_result proof = replay_run(board.release(), run);
    if (!proof.won)
        return refusal(422, proof.why);

    proven_run p;
    p.board = key;
    p.short_key = level_key(text);
    p.level = level_board(text);
    p.title = s.title;
    p.name = s.name;
    p.fold = name_fold(s.name);
    p.key = s.key;
    p.run = s.run;
    p.run_hash = sha256_hex(s.run);
    p.time = proof.time();
    p.frames = proof.frames;
    p.falls = proof.falls;
    p.date = today_utc();
    const store_result stored = store.add_run(p);
    switch (stored.outcome) {
    case store_outcome::stored:
        break;
    case store_outcome::name_taken:
        return refusal(403, "the name \"" + s.name + "\" belongs to another player's key");
    case store_outcome::duplicate:
        return refusal(409, "this run is already on the board");
    case store_outcome::failed:
        return refusal(503, "the run could not be stored; try again later");
    }
    return json_answer(201, {{"id", stored.id},
                             {"run", "/api/v1/runs/" + std::to_string(stored.id)},
                             {"board", key},
                             {"short_key", p.short_key},
                             {"place", stored.place},
                             {"time", p.time},
                             {"time_text", time_text(static_cast<int>(p.time))},
                             {"frames", p.frames},
                             {"falls", p.falls}});
}

board_response board_service::board(const std::string &key, bool level_file)
{
    if (!hex_key(key, 64) && !hex_key(key, 16))
        return refusal(400, "a board's key is 64 hex digits (or its short key, 16)");
    board_info info;
    bool several = false;
    if (!store.find_board(key, info, several))
        return several ? refusal(409, "more than one board has this short key; ask by the long one")
                       : refusal(404, "no run has been proven on this board");
    if (level_file) {
        board_response r;
        r.type = "text/plain; charset=utf-8";
        r.body = level_file_bytes(info.level.c_str());
        r.file_name = info.short_key + ".vkl";
        return r;
    }
    nlohmann::json rows = nlohmann::json::array();
    for (const board_row &row : store.table(info.board, table_rows_max))
        rows.push_back({{"place", row.place},
                        {"name", row.name},
                        {"time", row.time},
                        {"time_text", time_text(static_cast<int>(row.time))},
                        {"falls", row.falls},
                        {"date", row.date},
                        {"run", "/api/v1/runs/" + std::to_string(row.id)}});
    return json_answer(200, {{"board", info.board},
                             {"short_key", info.short_key},
                             {"title", info.title},
                             {"level", info.level},
                             {"rows", rows}});
}

board_response board_service::run(const std::string &id)
{
    if (id.empty() || id.size() > 18 || id.find_first_not_of("0123456789") != std::string::npos || id[0] == '0')
        return refusal(400, "a run's number is a whole number");
    stored_run found;
    if (!store.find_run(std::stol(id), found))
        return refusal(404, "no such run");
    board_response r;
    r.type = "application/octet-stream";
    r.body = found.run;
    r.file_name = id + ".run";
    return r;
}

board_response board_service::boards()
{
    nlohmann::json list = nlohmann::json::array();
    for (const board_info &b : store.boards(boards_max))
        list.push_back({{"board", b.board},
                        {"short_key", b.short_key},
                        {"title", b.title},
                        {"players", b.players},
                        {"table", "/api/v1/boards/" + b.board}});
    return json_answer(200, {{"boards", list}});
}
