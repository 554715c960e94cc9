#include "server/board_store.h"

std::unique_ptr<board_store> open_store(const std::string &where)
{
    if (where.rfind("postgresql://", 0) == 0 || where.rfind("postgres://", 0) == 0)
        return open_postgres_store(where);
    return open_sqlite_store(where);
}
