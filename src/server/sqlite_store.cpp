// The board kept in one SQLite file. Durability: WAL with synchronous=FULL, so a run answered
// as stored has reached the disk (a SIGKILL, and a power cut, keep it). One writer thread
// commits every submission waiting at that moment in one transaction, so one sync of the
// log serves them all; readers have connections of their own and never wait for it.
#include <sqlite3.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "server/board_store.h"

// A board's columns as board_info holds them, from `boards d`.
#define BOARD_COLUMNS "d.key, d.short_key, d.level, d.title, (SELECT count(*) FROM bests b WHERE b.board = d.id)"

namespace {

const char *const schema = R"(
CREATE TABLE IF NOT EXISTS boards(id INTEGER PRIMARY KEY, key TEXT NOT NULL UNIQUE, short_key TEXT NOT NULL,
  level TEXT NOT NULL, title TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS boards_short ON boards(short_key);
CREATE TABLE IF NOT EXISTS players(fold TEXT PRIMARY KEY, name TEXT NOT NULL, key TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS runs(id INTEGER PRIMARY KEY, board INTEGER NOT NULL, player TEXT NOT NULL,
  time INTEGER NOT NULL, frames INTEGER NOT NULL, falls INTEGER NOT NULL, date TEXT NOT NULL,
  run BLOB NOT NULL, run_hash TEXT NOT NULL, UNIQUE(board, run_hash));
CREATE TABLE IF NOT EXISTS bests(board INTEGER NOT NULL, player TEXT NOT NULL, run INTEGER NOT NULL,
  time INTEGER NOT NULL, PRIMARY KEY(board, player));
CREATE INDEX IF NOT EXISTS bests_time ON bests(board, time, run);
)";

// A prepared statement with its parameters bound in order; finalised when it goes.
class statement {
public:
    statement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~statement() { sqlite3_finalize(s); }
    statement(const statement &) = delete;
    statement &operator=(const statement &) = delete;

    statement &text(const std::string &v)
    {
        sqlite3_bind_text(s, ++n, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    statement &blob(const std::string &v)
    {
        sqlite3_bind_blob(s, ++n, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    statement &number(long v)
    {
        sqlite3_bind_int64(s, ++n, v);
        return *this;
    }
    // True while there is a row; throws on an error.
    bool step()
    {
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw std::runtime_error(sqlite3_errmsg(sqlite3_db_handle(s)));
    }
    long number_at(int column) { return static_cast<long>(sqlite3_column_int64(s, column)); }
    std::string text_at(int column)
    {
        const void *p = sqlite3_column_blob(s, column);
        return p ? std::string(static_cast<const char *>(p), static_cast<size_t>(sqlite3_column_bytes(s, column)))
                 : std::string();
    }

private:
    sqlite3_stmt *s = nullptr;
    int n = 0;
};

void run_sql(sqlite3 *db, const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string why = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error(why);
    }
}

sqlite3 *open_connection(const std::string &path)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string why = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        throw std::runtime_error(path + ": " + why);
    }
    try {
        sqlite3_busy_timeout(db, 10000);
        run_sql(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    return db;
}

class sqlite_store : public board_store {
public:
    explicit sqlite_store(const std::string &where) : path(where)
    {
        writer_db = open_connection(path);
        try {
            run_sql(writer_db, schema);
        } catch (const std::exception &e) {
            sqlite3_close(writer_db);
            throw std::runtime_error(path + ": " + e.what());
        }
        writer = std::thread([this] { write_loop(); });
    }

    ~sqlite_store() override
    {
        {
            std::lock_guard<std::mutex> lock(m);
            stopping = true;
        }
        work.notify_all();
        writer.join();
        sqlite3_close(writer_db);
        for (sqlite3 *db : readers)
            sqlite3_close(db);
    }

    store_result add_run(const proven_run &run) override
    {
        pending p{&run, store_result(), false};
        std::unique_lock<std::mutex> lock(m);
        queue.push_back(&p);
        work.notify_one();
        done.wait(lock, [&] { return p.finished; });
        return p.result;
    }

    bool find_board(const std::string &key, board_info &out, bool &several) override
    {
        several = false;
        reader r(*this);
        statement s(r.db, key.size() == 64 ? "SELECT " BOARD_COLUMNS " FROM boards d WHERE key = ?"
                                           : "SELECT " BOARD_COLUMNS " FROM boards d WHERE short_key = ? LIMIT 2");
        s.text(key);
        if (!s.step())
            return false;
        out = info_at(s);
        several = s.step();
        return !several;
    }

    std::vector<board_row> table(const std::string &board, int limit) override
    {
        reader r(*this);
        statement s(r.db, "SELECT b.run, p.name, r.time, r.falls, r.date FROM boards d JOIN bests b ON b.board = d.id "
                          "JOIN runs r ON r.id = b.run JOIN players p ON p.fold = b.player "
                          "WHERE d.key = ? ORDER BY b.time, b.run LIMIT ?");
        s.text(board).number(limit);
        std::vector<board_row> rows;
        while (s.step()) {
            board_row row;
            row.place = static_cast<int>(rows.size()) + 1;
            row.id = s.number_at(0);
            row.name = s.text_at(1);
            row.time = s.number_at(2);
            row.falls = static_cast<int>(s.number_at(3));
            row.date = s.text_at(4);
            rows.push_back(row);
        }
        return rows;
    }

    bool find_run(long id, stored_run &out) override
    {
        reader r(*this);
        statement s(r.db, "SELECT d.key, r.run FROM runs r JOIN boards d ON d.id = r.board WHERE r.id = ?");
        s.number(id);
        if (!s.step())
            return false;
        out.board = s.text_at(0);
        out.run = s.text_at(1);
        return true;
    }

    std::vector<board_info> boards(int limit) override
    {
        reader r(*this);
        statement s(r.db, "SELECT " BOARD_COLUMNS " FROM boards d "
                          "ORDER BY (SELECT max(run) FROM bests b WHERE b.board = d.id) DESC LIMIT ?");
        s.number(limit);
        std::vector<board_info> out;
        while (s.step())
            out.push_back(info_at(s));
        return out;
    }

private:
    struct pending {
        const proven_run *run;
        store_result result;
        bool finished;
    };

    // A reading connection of the pool, given back when done.
    struct reader {
        explicit reader(sqlite_store &s) : store(s)
        {
            {
                std::lock_guard<std::mutex> lock(store.pool_m);
                if (!store.readers.empty()) {
                    db = store.readers.back();
                    store.readers.pop_back();
                }
            }
            if (!db)
                db = open_connection(store.path);
        }
        ~reader()
        {
            std::lock_guard<std::mutex> lock(store.pool_m);
            store.readers.push_back(db);
        }
        sqlite_store &store;
        sqlite3 *db = nullptr;
    };

    static board_info info_at(statement &s)
    {
        board_info b;
        b.board = s.text_at(0);
        b.short_key = s.text_at(1);
        b.level = s.text_at(2);
        b.title = s.text_at(3);
        b.players = s.number_at(4);
        return b;
    }

    void write_loop()
    {
        for (;;) {
            std::deque<pending *> batch;
            {
                std::unique_lock<std::mutex> lock(m);
                work.wait(lock, [&] { return stopping || !queue.empty(); });
                if (queue.empty())
                    return;
                batch.swap(queue);
            }
            commit(batch);
            {
                std::lock_guard<std::mutex> lock(m);
                for (pending *p : batch)
                    p->finished = true;
            }
            done.notify_all();
        }
    }

    // Every run of the batch in one transaction, each in a savepoint of its own so that one
    // that fails takes no other with it. Nothing is answered before the commit.
    void commit(std::deque<pending *> &batch)
    {
        try {
            run_sql(writer_db, "BEGIN IMMEDIATE");
        } catch (const std::exception &) {
            return;  // every result stays failed
        }
        for (pending *p : batch) {
            try {
                run_sql(writer_db, "SAVEPOINT one");
                p->result = store(*p->run);
                run_sql(writer_db, "RELEASE one");
            } catch (const std::exception &) {
                p->result = store_result();
                sqlite3_exec(writer_db, "ROLLBACK TO one; RELEASE one", nullptr, nullptr, nullptr);
            }
        }
        if (sqlite3_exec(writer_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            sqlite3_exec(writer_db, "ROLLBACK", nullptr, nullptr, nullptr);
            for (pending *p : batch)
                p->result = store_result();
        }
    }

    store_result store(const proven_run &run)
    {
        store_result r;
        statement(writer_db, "INSERT INTO players(fold, name, key) VALUES(?, ?, ?) ON CONFLICT DO NOTHING")
            .text(run.fold).text(run.name).text(run.key).step();
        {
            statement s(writer_db, "SELECT key FROM players WHERE fold = ?");
            s.text(run.fold);
            if (!s.step() || s.text_at(0) != run.key) {
                r.outcome = store_outcome::name_taken;
                return r;
            }
        }
        statement(writer_db, "INSERT INTO boards(key, short_key, level, title) VALUES(?, ?, ?, ?) ON CONFLICT DO NOTHING")
            .text(run.board).text(run.short_key).text(run.level).text(run.title).step();
        long board = 0;
        {
            statement s(writer_db, "SELECT id FROM boards WHERE key = ?");
            s.text(run.board);
            if (!s.step())
                throw std::runtime_error("the board was not stored");
            board = s.number_at(0);
        }
        {
            statement s(writer_db, "INSERT INTO runs(board, player, time, frames, falls, date, run, run_hash) "
                                   "VALUES(?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING RETURNING id");
            s.number(board).text(run.fold).number(run.time).number(run.frames).number(run.falls).text(run.date)
                .blob(run.run).text(run.run_hash);
            if (!s.step()) {
                r.outcome = store_outcome::duplicate;
                return r;
            }
            r.id = s.number_at(0);
            while (s.step()) {
            }
        }
        statement(writer_db, "INSERT INTO bests(board, player, run, time) VALUES(?, ?, ?, ?) "
                             "ON CONFLICT(board, player) DO UPDATE SET run = excluded.run, time = excluded.time "
                             "WHERE excluded.time < bests.time")
            .number(board).text(run.fold).number(r.id).number(run.time).step();
        statement s(writer_db, "SELECT count(*) FROM bests WHERE board = ? AND player <> ? AND time <= ?");
        s.number(board).text(run.fold).number(run.time);
        s.step();
        r.place = static_cast<int>(s.number_at(0)) + 1;
        r.outcome = store_outcome::stored;
        return r;
    }

    const std::string path;
    sqlite3 *writer_db = nullptr;
    std::thread writer;
    std::mutex m;
    std::condition_variable work, done;
    std::deque<pending *> queue;
    bool stopping = false;
    std::mutex pool_m;
    std::vector<sqlite3 *> readers;
};

}  // namespace

std::unique_ptr<board_store> open_sqlite_store(const std::string &path)
{
    return std::make_unique<sqlite_store>(path);
}
