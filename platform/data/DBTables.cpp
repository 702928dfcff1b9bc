#include "platform/data/DBTables.h"

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysUtils.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <utility>

namespace vesk {

namespace {

// Runs Action; an SQLite failure becomes an EDatabaseError that says what was tried.
template <typename Action>
auto Guarded(const std::string& context, Action&& action) -> decltype(action()) {
    try {
        return action();
    } catch (const SQLite::Exception& error) {
        throw EDatabaseError(context + ": " + error.what());
    }
}

TFieldValue ColumnValue(const SQLite::Column& column) {
    switch (column.getType()) {
    case SQLITE_INTEGER:
        return column.getInt64();
    case SQLITE_FLOAT:
        return column.getDouble();
    case SQLITE_TEXT:
    case SQLITE_BLOB:
        return std::string(static_cast<const char*>(column.getBlob()),
                           static_cast<std::size_t>(column.getBytes()));
    default:
        return std::monostate{};
    }
}

// A column without a declared type takes its type from the value the first row holds.
void InferUnknownTypes(TFieldDefs& defs, SQLite::Statement& firstRow) {
    TFieldDefs result;
    const bool hasRow = firstRow.executeStep();
    for (int i = 0; i < defs.Count(); ++i) {
        TFieldDef def = defs[i];
        if (def.DataType == ftUnknown) {
            const int type = hasRow ? firstRow.getColumn(i).getType() : SQLite::Null;
            def.DataType = type == SQLite::INTEGER ? ftInteger
                           : type == SQLite::FLOAT ? ftFloat
                           : type == SQLite::BLOB  ? ftBlob
                                                   : ftString;
            def.Size = def.DataType == ftString ? 255 : 0;
        }
        result.Add(def.Name, def.DataType, def.Size);
    }
    defs = std::move(result);
}

// Reads every row of Sql through SQLite's own interface: the bulk of a large table
// passes here, and the wrapper's object per column would cost more than the read.
void ReadRows(SQLite::Database& db, const std::string& sql, int firstField, TRecordStore& records,
              bool keyInFirst) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.getHandle(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw SQLite::Exception(db.getHandle(), sqlite3_errcode(db.getHandle()));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    const int count = records.FieldCount();
    int result;
    while ((result = sqlite3_step(raw)) == SQLITE_ROW) {
        for (int column = firstField; column < firstField + count; ++column) {
            // The column's value object answers type and content without the
            // statement's per-call checks; the connection is this thread's alone.
            sqlite3_value* value = sqlite3_column_value(raw, column);
            switch (sqlite3_value_type(value)) {
            case SQLITE_INTEGER:
                records.AddInteger(sqlite3_value_int64(value));
                break;
            case SQLITE_FLOAT:
                records.AddFloat(sqlite3_value_double(value));
                break;
            case SQLITE_TEXT: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
                records.AddBytes({text, static_cast<std::size_t>(sqlite3_value_bytes(value))});
                break;
            }
            case SQLITE_BLOB: {
                const auto* bytes = static_cast<const char*>(sqlite3_value_blob(value));
                const int size = sqlite3_value_bytes(value);
                records.AddBytes({size ? bytes : "", static_cast<std::size_t>(size)});
                break;
            }
            default:
                records.AddNull();
            }
        }
        records.EndRecord(keyInFirst ? sqlite3_value_int64(sqlite3_column_value(raw, 0))
                                     : records.Count());
    }
    if (result != SQLITE_DONE)
        throw SQLite::Exception(db.getHandle(), result);
}

} // namespace

std::string QuoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (char ch : name) {
        if (ch == '"')
            quoted += '"';
        quoted += ch;
    }
    return quoted + '"';
}

TFieldDef FieldDefFromDeclaredType(std::string name, std::string_view declaredType) {
    TFieldDef def{std::move(name), ftUnknown, 0};
    const std::string type = UpperCase(Trim(declaredType));
    const std::size_t paren = type.find('(');
    const std::string base = Trim(type.substr(0, paren));
    int size = -1;
    if (paren != std::string::npos) {
        const std::string args =
            type.substr(paren + 1, type.find_first_of(",)", paren) - paren - 1);
        try {
            size = StrToInt(Trim(args));
        } catch (const EConvertError&) {
            size = -1;
        }
    }
    auto is = [&](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (base == n)
                return true;
        return false;
    };
    if (base.empty())
        return def;
    if (is({"VARCHAR", "CHAR", "CHARACTER", "NCHAR", "NVARCHAR", "VARYING CHARACTER",
            "NATIVE CHARACTER", "STRING"})) {
        def.DataType = ftString;
        def.Size = size > 0 ? size : 255;
    } else if (is({"TEXT", "CLOB", "MEMO"})) {
        def.DataType = ftMemo;
    } else if (is({"SMALLINT", "TINYINT", "INT2"})) {
        def.DataType = ftSmallint;
    } else if (is({"WORD"})) {
        def.DataType = ftWord;
    } else if (is({"AUTOINC"})) {
        def.DataType = ftAutoInc;
    } else if (is({"INTEGER", "INT", "BIGINT", "MEDIUMINT", "INT4", "INT8", "UNSIGNED BIG INT"})) {
        def.DataType = ftInteger;
    } else if (is({"REAL", "FLOAT", "DOUBLE", "DOUBLE PRECISION"})) {
        def.DataType = ftFloat;
    } else if (is({"CURRENCY", "MONEY"})) {
        def.DataType = ftCurrency;
    } else if (is({"NUMERIC", "DECIMAL"})) {
        def.DataType = ftBCD;
    } else if (is({"BOOLEAN", "BOOL"})) {
        def.DataType = ftBoolean;
    } else if (is({"DATE"})) {
        def.DataType = ftDate;
    } else if (is({"TIME"})) {
        def.DataType = ftTime;
    } else if (is({"DATETIME", "TIMESTAMP"})) {
        def.DataType = ftDateTime;
    } else if (is({"BLOB", "BINARY", "VARBINARY", "GRAPHIC"})) {
        def.DataType = ftBlob;
    } else if (type.find("INT") != std::string::npos) {
        // Other names follow SQLite's affinity rules.
        def.DataType = ftInteger;
    } else if (type.find("CHAR") != std::string::npos || type.find("CLOB") != std::string::npos ||
               type.find("TEXT") != std::string::npos) {
        def.DataType = size > 0 ? ftString : ftMemo;
        def.Size = size > 0 ? size : 0;
    } else if (type.find("BLOB") != std::string::npos) {
        def.DataType = ftBlob;
    } else if (type.find("REAL") != std::string::npos || type.find("FLOA") != std::string::npos ||
               type.find("DOUB") != std::string::npos) {
        def.DataType = ftFloat;
    } else {
        def.DataType = ftBCD;
    }
    return def;
}

// ---- TDBDataSet

TDBDataSet::TDBDataSet() = default;
TDBDataSet::~TDBDataSet() = default;

void TDBDataSet::CheckInactive(const char* property) const {
    if (Active())
        throw EDatabaseError(std::string("Cannot change ") + property + " of an open dataset");
}

void TDBDataSet::SetDatabaseName(std::string value) {
    CheckInactive("DatabaseName");
    FDatabaseName = std::move(value);
    CloseDatabase();
}

SQLite::Database& TDBDataSet::Database() {
    if (FDatabase)
        return *FDatabase;
    if (FDatabaseName.empty())
        throw EDatabaseError("No database name given");
    // A directory, a fifo or a device is named as what it is: SQLite would wait on a
    // fifo, and "not found" would send the user looking for a file that is there.
    struct stat info {};
    if (::stat(FDatabaseName.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw EDatabaseError("Database '" + FDatabaseName + "' not found");
        throw EDatabaseError("Cannot open database '" + FDatabaseName +
                             "': " + std::strerror(errno));
    }
    if (const std::string odd = NotAFileMessage(FDatabaseName, info.st_mode); !odd.empty())
        throw EDatabaseError("Database " + odd);
    const std::string context = "Cannot open database '" + FDatabaseName + "'";
    // The connection is the data set's own and, like the data set, used by one thread
    // at a time: SQLite need not lock it on every call (a read takes several per row).
    auto database = Guarded(context, [&] {
        try {
            return std::make_unique<SQLite::Database>(FDatabaseName, SQLite::OPEN_READWRITE |
                                                                         SQLite::OPEN_NOMUTEX);
        } catch (const SQLite::Exception&) {
            return std::make_unique<SQLite::Database>(FDatabaseName,
                                                      SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX);
        }
    });
    // SQLite reads the file lazily: make it show now whether this is a database.
    Guarded(context, [&] {
        database->setBusyTimeout(2000);
        database->exec("SELECT count(*) FROM sqlite_master");
    });
    FDatabase = std::move(database);
    return *FDatabase;
}

void TDBDataSet::CloseDatabase() {
    FDatabase.reset();
}

bool TDBDataSet::InternalRefresh(const TFieldDefs& defs, TRecordStore& records) {
    InternalOpen(defs, records);
    return true;
}

// ---- TTable

TTable::~TTable() {
    Close();
}

void TTable::SetTableName(std::string value) {
    CheckInactive("TableName");
    FTableName = std::move(value);
}

void TTable::CheckTable() {
    if (FTableName.empty())
        throw EDatabaseError("No table name given");
    SQLite::Database& db = Database();
    const std::string context = "Cannot read table '" + FTableName + "'";
    std::string name;
    std::string type;
    Guarded(context, [&] {
        SQLite::Statement find(db, "SELECT name, type FROM sqlite_master WHERE type IN "
                                   "('table', 'view') AND name = ? COLLATE NOCASE");
        find.bind(1, FTableName);
        if (find.executeStep()) {
            name = find.getColumn(0).getString();
            type = find.getColumn(1).getString();
        }
    });
    if (name.empty())
        throw EDatabaseError("Table '" + FTableName + "' not found in database '" + DatabaseName() +
                             "'");
    FQuotedTable = QuoteIdentifier(name);
    // Views and WITHOUT ROWID tables have no row id to find a record again: read-only.
    FHasRowId = type == "table";
    if (FHasRowId) {
        try {
            SQLite::Statement probe(db, "SELECT rowid FROM " + FQuotedTable + " LIMIT 0");
        } catch (const SQLite::Exception&) {
            FHasRowId = false;
        }
    }
}

void TTable::InternalInitFieldDefs(TFieldDefs& defs) {
    CheckTable();
    SQLite::Database& db = Database();
    bool unknown = false;
    Guarded("Cannot read the columns of table '" + FTableName + "'", [&] {
        SQLite::Statement columns(db, "SELECT name, type FROM pragma_table_info(?)");
        columns.bind(1, FTableName);
        while (columns.executeStep()) {
            const TFieldDef def = FieldDefFromDeclaredType(columns.getColumn(0).getString(),
                                                           columns.getColumn(1).getString());
            unknown = unknown || def.DataType == ftUnknown;
            defs.Add(def.Name, def.DataType, def.Size);
            // A column named like the row id hides it.
            if (SameText(def.Name, "rowid"))
                FHasRowId = false;
        }
    });
    if (unknown)
        Guarded("Cannot read table '" + FTableName + "'", [&] {
            SQLite::Statement first(db, "SELECT " + ColumnList(defs) + " FROM " + FQuotedTable +
                                            " LIMIT 1");
            InferUnknownTypes(defs, first);
        });
}

std::string TTable::ColumnList(const TFieldDefs& defs) const {
    std::string list;
    for (int i = 0; i < defs.Count(); ++i) {
        if (i > 0)
            list += ", ";
        list += QuoteIdentifier(defs[i].Name);
    }
    return list;
}

void TTable::ReadRecords(const TFieldDefs& defs, TRecordStore& records) {
    Guarded("Cannot read table '" + FTableName + "'", [&] {
        const std::string select = "SELECT " + std::string(FHasRowId ? "rowid, " : "") +
                                   ColumnList(defs) + " FROM " + FQuotedTable +
                                   (FHasRowId ? " ORDER BY rowid" : "");
        // Room for every record at once, rather than growing (and moving) the store.
        const std::int64_t count =
            Database().execAndGet("SELECT count(*) FROM " + FQuotedTable).getInt64();
        records.Reserve(static_cast<std::size_t>(count));
        ReadRows(Database(), select, FHasRowId ? 1 : 0, records, FHasRowId);
    });
}

void TTable::InternalOpen(const TFieldDefs& defs, TRecordStore& records) {
    ReadRecords(defs, records);
}

void TTable::InternalClose(TRecordStore&) {
    CloseDatabase();
}

void TTable::ReadRecord(const TFieldDefs& defs, std::int64_t key,
                        std::vector<TFieldValue>& values) {
    SQLite::Statement query(Database(), "SELECT " + ColumnList(defs) + " FROM " + FQuotedTable +
                                            " WHERE rowid = ?");
    query.bind(1, static_cast<std::int64_t>(key));
    if (!query.executeStep())
        throw EDatabaseError("Record not found or changed by another user");
    for (int i = 0; i < defs.Count(); ++i)
        values[i] = ColumnValue(query.getColumn(i));
}

namespace {

void BindValue(SQLite::Statement& statement, int index, const TFieldValue& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value))
        statement.bind(index, static_cast<std::int64_t>(*number));
    else if (const auto* real = std::get_if<double>(&value))
        statement.bind(index, *real);
    else if (const auto* text = std::get_if<std::string>(&value))
        statement.bind(index, *text);
    else
        statement.bind(index);
}

} // namespace

void TTable::InternalPost(std::vector<TFieldValue>& values, const std::vector<bool>& modified,
                          bool inserting, std::int64_t& key) {
    const TFieldDefs& defs = FieldDefs();
    SQLite::Database& db = Database();
    Guarded("Cannot write to table '" + FTableName + "'", [&] {
        std::vector<int> columns;
        for (int i = 0; i < defs.Count(); ++i)
            if (modified[i])
                columns.push_back(i);
        std::string sql;
        if (inserting) {
            if (columns.empty()) {
                sql = "INSERT INTO " + FQuotedTable + " DEFAULT VALUES";
            } else {
                std::string names;
                std::string marks;
                for (std::size_t i = 0; i < columns.size(); ++i) {
                    names += (i ? ", " : "") + QuoteIdentifier(defs[columns[i]].Name);
                    marks += i ? ", ?" : "?";
                }
                sql = "INSERT INTO " + FQuotedTable + " (" + names + ") VALUES (" + marks + ")";
            }
        } else {
            if (columns.empty())
                return;
            std::string assignments;
            for (std::size_t i = 0; i < columns.size(); ++i)
                assignments += (i ? ", " : "") + QuoteIdentifier(defs[columns[i]].Name) + " = ?";
            sql = "UPDATE " + FQuotedTable + " SET " + assignments + " WHERE rowid = ?";
        }
        // Written and read back in one transaction: a failure leaves the table as it was.
        SQLite::Transaction transaction(db);
        SQLite::Statement write(db, sql);
        for (std::size_t i = 0; i < columns.size(); ++i)
            BindValue(write, static_cast<int>(i) + 1, values[columns[i]]);
        if (!inserting)
            write.bind(static_cast<int>(columns.size()) + 1, static_cast<std::int64_t>(key));
        write.exec();
        const std::int64_t written = inserting ? db.getLastInsertRowid() : key;
        std::vector<TFieldValue> stored(values.size());
        ReadRecord(defs, written, stored);
        transaction.commit();
        values = std::move(stored);
        key = written;
    });
}

void TTable::InternalDelete(std::int64_t key) {
    Guarded("Cannot delete from table '" + FTableName + "'", [&] {
        SQLite::Statement erase(Database(), "DELETE FROM " + FQuotedTable + " WHERE rowid = ?");
        erase.bind(1, static_cast<std::int64_t>(key));
        erase.exec();
    });
}

// ---- TQuery

TQuery::~TQuery() {
    Close();
}

std::string TQuery::SQLText() const {
    std::string text = Trim(FSQL.Text());
    if (text.empty())
        throw EDatabaseError("No SQL statement given");
    return text;
}

void TQuery::InternalInitFieldDefs(TFieldDefs& defs) {
    const std::string text = SQLText();
    Guarded("Cannot run query", [&] {
        SQLite::Statement query(Database(), text);
        if (query.getColumnCount() == 0)
            throw EDatabaseError("The query returns no rows: " + text);
        bool unknown = false;
        for (int i = 0; i < query.getColumnCount(); ++i) {
            std::string declared;
            try {
                if (const char* type = query.getColumnDeclaredType(i))
                    declared = type;
            } catch (const SQLite::Exception&) {
                // An expression has no declared type.
            }
            const TFieldDef def = FieldDefFromDeclaredType(query.getColumnName(i), declared);
            unknown = unknown || def.DataType == ftUnknown;
            defs.Add(def.Name, def.DataType, def.Size);
        }
        if (unknown)
            InferUnknownTypes(defs, query);
    });
}

void TQuery::InternalOpen(const TFieldDefs&, TRecordStore& records) {
    const std::string text = SQLText();
    Guarded("Cannot run query", [&] { ReadRows(Database(), text, 0, records, false); });
}

void TQuery::InternalClose(TRecordStore&) {
    CloseDatabase();
}

int TQuery::ExecSQL() {
    const std::string text = SQLText();
    return Guarded("Cannot run query", [&] { return Database().exec(text); });
}

} // namespace vesk
