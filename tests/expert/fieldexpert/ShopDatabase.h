// The database of the Field Expert's tests: a table "orders" of five fields, one of
// each kind the generation tells apart, in a file "shop.db".
#pragma once

#include <SQLiteCpp/SQLiteCpp.h>

#include <string>

namespace vesk::test {

inline void CreateShopDatabase(const std::string& path) {
    SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec("CREATE TABLE orders (SaleDate DATE, CustNo INTEGER, Company VARCHAR(30),"
            " Amount FLOAT, Paid BOOLEAN)");
}

} // namespace vesk::test
