// The database engine's data sets, on SQLite: a table by name and a query by its SQL
// text. DatabaseName is the SQLite database file; it is never created. Identifiers are
// quoted and values bound, never pasted into SQL.
#pragma once

#include "platform/data/DB.h"

#include <memory>
#include <string>

namespace SQLite {
class Database;
}

namespace vesk {

// A data set of the database engine, as opposed to data held in memory.
class TDBDataSet : public TDataSet {
public:
    TDBDataSet();
    ~TDBDataSet() override;

    const std::string& DatabaseName() const { return FDatabaseName; }
    // Raises EDatabaseError while the data set is open.
    void SetDatabaseName(std::string value);

protected:
    // The open database; opened on first use, read-write when the file allows it.
    SQLite::Database& Database();
    void CloseDatabase();
    void CheckInactive(const char* property) const;
    // Reads the records again as opening does.
    bool InternalRefresh(const TFieldDefs& defs, TRecordStore& records) override;

private:
    std::string FDatabaseName;
    std::unique_ptr<SQLite::Database> FDatabase;
};

// Every record of one table (or view) in the order of its rows. A table's records
// can be edited; a view's are read-only.
class TTable : public TDBDataSet {
public:
    TTable() = default;
    ~TTable() override;

    const std::string& TableName() const { return FTableName; }
    void SetTableName(std::string value);
    bool CanModify() const override { return Active() && FHasRowId; }

protected:
    void InternalInitFieldDefs(TFieldDefs& defs) override;
    void InternalOpen(const TFieldDefs& defs, TRecordStore& records) override;
    void InternalClose(TRecordStore& records) override;
    void InternalPost(std::vector<TFieldValue>& values, const std::vector<bool>& modified,
                      bool inserting, std::int64_t& key) override;
    void InternalDelete(std::int64_t key) override;

private:
    void CheckTable();
    void ReadRecords(const TFieldDefs& defs, TRecordStore& records);
    void ReadRecord(const TFieldDefs& defs, std::int64_t key, std::vector<TFieldValue>& values);
    std::string ColumnList(const TFieldDefs& defs) const;

    std::string FTableName;
    std::string FQuotedTable;
    bool FHasRowId = false;
};

// The rows an SQL statement returns; read-only. ExecSQL runs a statement that
// returns no rows.
class TQuery : public TDBDataSet {
public:
    TQuery() = default;
    ~TQuery() override;

    TStringList& SQL() { return FSQL; }
    const TStringList& SQL() const { return FSQL; }
    bool CanModify() const override { return false; }
    // Runs the SQL text; returns the number of rows it changed.
    int ExecSQL();

protected:
    void InternalInitFieldDefs(TFieldDefs& defs) override;
    void InternalOpen(const TFieldDefs& defs, TRecordStore& records) override;
    void InternalClose(TRecordStore& records) override;

private:
    std::string SQLText() const;
    TStringList FSQL;
};

// The field type and size a declared SQLite column type stands for: VARCHAR(n) and
// CHAR(n) are strings of n characters, TEXT a memo, and so on; an unknown name gets
// the type SQLite's own affinity rules give it.
TFieldDef FieldDefFromDeclaredType(std::string name, std::string_view declaredType);

// An identifier in double quotes, inner quotes doubled.
std::string QuoteIdentifier(std::string_view name);

} // namespace vesk
