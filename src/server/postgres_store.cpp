// The board kept in PostgreSQL, so that several server processes can share one database. A run
// is answered as stored only after its transaction has committed (synchronous_commit as the
// server is set, on by default). Names, boards, runs and each player's best are written with
// INSERT ... ON CONFLICT, which two servers racing on one row settle in the database.
#include <pqxx/pqxx>

#include <mutex>
#include <stdexcept>

#include "server/board_store.h"

namespace {

const char *const schema = R"(
CREATE TABLE IF NOT EXISTS boards(id BIGSERIAL PRIMARY KEY, key TEXT NOT NULL UNIQUE, short_key TEXT NOT NULL,
  level TEXT NOT NULL, title TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS boards_short ON boards(short_key);
CREATE TABLE IF NOT EXISTS players(fold TEXT PRIMARY KEY, name TEXT NOT NULL, key TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS runs(id BIGSERIAL PRIMARY KEY, board BIGINT NOT NULL, player TEXT NOT NULL,
  time BIGINT NOT NULL, frames BIGINT NOT NULL, falls INTEGER NOT NULL, date TEXT NOT NULL,
  run BYTEA NOT NULL, run_hash TEXT NOT NULL, UNIQUE(board, run_hash));
CREATE TABLE IF NOT EXISTS bests(board BIGINT NOT NULL, player TEXT NOT NULL, run BIGINT NOT NULL,
  time BIGINT NOT NULL, PRIMARY KEY(board, player));
CREATE INDEX IF NOT EXISTS bests_time ON bests(board, time, run);
)";

const char *const board_columns =
    "d.key, d.short_key, d.level, d.title, (SELECT count(*) FROM bests b WHERE b.board = d.id)";

board_info info_at(const pqxx::row &r)
{
    board_info b;
    b.board = r[0].as<std::string>();
    b.short_key = r[1].as<std::string>();
    b.level = r[2].as<std::string>();
    b.title = r[3].as<std::string>();
    b.players = r[4].as<long>();
    return b;
}

class postgres_store : public board_store {
public:
    explicit postgres_store(const std::string &where) : uri(where)
    {
        try {
            auto c = std::make_unique<pqxx::connection>(uri);
            pqxx::work w(*c);
            // Two servers starting at once must not both create the tables.
            w.exec("SELECT pg_advisory_xact_lock(7311)");
            w.exec(schema);
            w.commit();
            pool.push_back(std::move(c));
        } catch (const std::exception &e) {
            throw std::runtime_error(std::string("PostgreSQL: ") + e.what());
        }
    }

    store_result add_run(const proven_run &run) override
    {
        try {
            lease c(*this);
            pqxx::work w(*c.conn);
            store_result r = store(w, run);
            if (r.outcome == store_outcome::stored)
                w.commit();
            return r;
        } catch (const std::exception &) {
            return store_result();
        }
    }

    bool find_board(const std::string &key, board_info &out, bool &several) override
    {
        several = false;
        lease c(*this);
        pqxx::read_transaction w(*c.conn);
        const pqxx::result r =
            key.size() == 64
                ? w.exec_params(std::string("SELECT ") + board_columns + " FROM boards d WHERE key = $1", key)
                : w.exec_params(std::string("SELECT ") + board_columns + " FROM boards d WHERE short_key = $1 LIMIT 2", key);
        if (r.empty())
            return false;
        several = r.size() > 1;
        out = info_at(r[0]);
        return !several;
    }

    std::vector<board_row> table(const std::string &board, int limit) override
    {
        lease c(*this);
        pqxx::read_transaction w(*c.conn);
        const pqxx::result r = w.exec_params(
            "SELECT b.run, p.name, r.time, r.falls, r.date FROM boards d JOIN bests b ON b.board = d.id "
            "JOIN runs r ON r.id = b.run JOIN players p ON p.fold = b.player "
            "WHERE d.key = $1 ORDER BY b.time, b.run LIMIT $2",
            board, limit);
        std::vector<board_row> rows;
        for (const pqxx::row &x : r) {
            board_row row;
            row.place = static_cast<int>(rows.size()) + 1;
            row.id = x[0].as<long>();
            row.name = x[1].as<std::string>();
            row.time = x[2].as<long>();
            row.falls = x[3].as<int>();
            row.date = x[4].as<std::string>();
            rows.push_back(row);
        }
        return rows;
    }

    bool find_run(long id, stored_run &out) override
    {
        lease c(*this);
        pqxx::read_transaction w(*c.conn);
        const pqxx::result r =
            w.exec_params("SELECT d.key, r.run FROM runs r JOIN boards d ON d.id = r.board WHERE r.id = $1", id);
        if (r.empty())
            return false;
        out.board = r[0][0].as<std::string>();
        out.run = pqxx::binarystring(r[0][1]).str();
        return true;
    }

    std::vector<board_info> boards(int limit) override
    {
        lease c(*this);
        pqxx::read_transaction w(*c.conn);
        const pqxx::result r = w.exec_params(
            std::string("SELECT ") + board_columns +
                " FROM boards d ORDER BY (SELECT max(run) FROM bests b WHERE b.board = d.id) DESC LIMIT $1",
            limit);
        std::vector<board_info> out;
        for (const pqxx::row &x : r)
            out.push_back(info_at(x));
        return out;
    }

private:
    // A connection of the pool for one call; one that broke is not given back.
    struct lease {
        explicit lease(postgres_store &s) : store(s)
        {
            {
                std::lock_guard<std::mutex> lock(store.m);
                if (!store.pool.empty()) {
                    conn = std::move(store.pool.back());
                    store.pool.pop_back();
                }
            }
            if (!conn)
                conn = std::make_unique<pqxx::connection>(store.uri);
        }
        ~lease()
        {
            if (!conn->is_open())
                return;
            std::lock_guard<std::mutex> lock(store.m);
            store.pool.push_back(std::move(conn));
        }
        postgres_store &store;
        std::unique_ptr<pqxx::connection> conn;
    };

    static store_result store(pqxx::work &w, const proven_run &run)
    {
        store_result r;
        w.exec_params("INSERT INTO players(fold, name, key) VALUES($1, $2, $3) ON CONFLICT DO NOTHING", run.fold,
                      run.name, run.key);
        const pqxx::result owner = w.exec_params("SELECT key FROM players WHERE fold = $1", run.fold);
        if (owner.empty() || owner[0][0].as<std::string>() != run.key) {
            r.outcome = store_outcome::name_taken;
            return r;
        }
        w.exec_params("INSERT INTO boards(key, short_key, level, title) VALUES($1, $2, $3, $4) ON CONFLICT DO NOTHING",
                      run.board, run.short_key, run.level, run.title);
        const long board = w.exec_params("SELECT id FROM boards WHERE key = $1", run.board).at(0)[0].as<long>();
        const pqxx::result id = w.exec_params(
            "INSERT INTO runs(board, player, time, frames, falls, date, run, run_hash) "
            "VALUES($1, $2, $3, $4, $5, $6, $7, $8) ON CONFLICT DO NOTHING RETURNING id",
            board, run.fold, run.time, run.frames, run.falls, run.date,
            pqxx::binarystring(run.run.data(), run.run.size()), run.run_hash);
        if (id.empty()) {
            r.outcome = store_outcome::duplicate;
            return r;
        }
        r.id = id[0][0].as<long>();
        w.exec_params("INSERT INTO bests(board, player, run, time) VALUES($1, $2, $3, $4) "
                      "ON CONFLICT(board, player) DO UPDATE SET run = excluded.run, time = excluded.time "
                      "WHERE excluded.time < bests.time",
                      board, run.fold, r.id, run.time);
        r.place = static_cast<int>(
                      w.exec_params("SELECT count(*) FROM bests WHERE board = $1 AND player <> $2 AND time <= $3", board,
                                    run.fold, run.time)
                          .at(0)[0]
                          .as<long>()) +
                  1;
        r.outcome = store_outcome::stored;
        return r;
    }

    const std::string uri;
    std::mutex m;
    std::vector<std::unique_ptr<pqxx::connection>> pool;
};

}  // namespace

std::unique_ptr<board_store> open_postgres_store(const std::string &uri)
{
    return std::make_unique<postgres_store>(uri);
}
