#include "platform/data/DBTables.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vesk {
namespace {

namespace fs = std::filesystem;

class SQLiteFile : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("vesk-data-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        Path = (Dir / "book.db").string();
        SQLite::Database db(Path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        db.exec("CREATE TABLE Customer (CustNo INTEGER PRIMARY KEY, Company VARCHAR(30) NOT "
                "NULL, Balance NUMERIC(10,2), Rate REAL, Active BOOLEAN, Since DATE, "
                "Opens TIME, Seen TIMESTAMP, Notes TEXT, Photo BLOB, Code CHAR(4), Odd)");
        db.exec("INSERT INTO Customer (CustNo, Company, Balance, Active, Since, Odd) VALUES "
                "(1, 'Acme', 10.5, 1, '2020-01-02', 7), (2, 'Bolt', NULL, 0, NULL, 8)");
        db.exec("CREATE TABLE \"My \"\"odd\"\" table\" (\"a b\" INTEGER)");
        db.exec("INSERT INTO \"My \"\"odd\"\" table\" VALUES (42)");
        db.exec("CREATE VIEW Names AS SELECT Company FROM Customer");
    }
    void TearDown() override { fs::remove_all(Dir); }

    int CountRows(const std::string& table) {
        SQLite::Database db(Path);
        return db.execAndGet("SELECT count(*) FROM " + table).getInt();
    }

    fs::path Dir;
    std::string Path;
};

TEST_F(SQLiteFile, TableFieldsComeFromTheDeclaredTypes) {
    TTable table;
    table.SetDatabaseName(Path);
    table.SetTableName("customer");
    table.Open();
    const struct {
        const char* Name;
        TFieldType Type;
        int Size;
    } expected[] = {{"CustNo", ftInteger, 0}, {"Company", ftString, 30}, {"Balance", ftBCD, 0},
                    {"Rate", ftFloat, 0},     {"Active", ftBoolean, 0},  {"Since", ftDate, 0},
                    {"Opens", ftTime, 0},     {"Seen", ftDateTime, 0},   {"Notes", ftMemo, 0},
                    {"Photo", ftBlob, 0},     {"Code", ftString, 4},     {"Odd", ftInteger, 0}};
    ASSERT_EQ(table.FieldCount(), 12);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(expected[i].Name);
        EXPECT_EQ(table.Fields(i)->FieldName(), expected[i].Name);
        EXPECT_EQ(table.Fields(i)->DataType(), expected[i].Type);
        EXPECT_EQ(table.Fields(i)->Size(), expected[i].Size);
    }
    EXPECT_EQ(table.FieldByName("Company")->DisplayWidth(), 30);
    EXPECT_EQ(table.FieldByName("Company")->AsString(), "Acme");
    EXPECT_EQ(table.FieldByName("Balance")->AsString(), "10.5");
    EXPECT_EQ(table.FieldByName("Active")->AsString(), "True");
    EXPECT_EQ(table.FieldByName("Since")->AsString(), "2020-01-02");
    table.Next();
    EXPECT_TRUE(table.FieldByName("Balance")->IsNull());
    EXPECT_EQ(table.FieldByName("Balance")->AsInteger(), 0);
    table.Next();
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.FieldByName("CustNo")->AsInteger(), 2);
}

TEST_F(SQLiteFile, ClosedTableOffersItsFieldNames) {
    TTable table;
    table.SetDatabaseName(Path);
    table.SetTableName("Customer");
    TStringList names;
    table.GetFieldNames(names);
    EXPECT_EQ(names.Count(), 12);
    EXPECT_EQ(names[1], "Company");
    EXPECT_FALSE(table.Active());
    table.SetTableName("Names"); // another table (a view) while closed
    names.Clear();
    table.GetFieldNames(names);
    EXPECT_EQ(names.Text(), "Company\n");
}

TEST_F(SQLiteFile, MissingDatabaseTableOrBadFileIsAClearErrorAtOpen) {
    TTable table;
    table.SetDatabaseName((Dir / "none.db").string());
    table.SetTableName("Customer");
    EXPECT_THROW(table.Open(), EDatabaseError);
    EXPECT_FALSE(fs::exists(Dir / "none.db")); // never created

    table.SetDatabaseName(Path);
    table.SetTableName("Customer; DROP TABLE Customer");
    try {
        table.Open();
        FAIL() << "opened";
    } catch (const EDatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("not found"), std::string::npos);
    }
    EXPECT_EQ(CountRows("Customer"), 2);

    std::ofstream(Dir / "text.db") << "this is not a database, just some text that is long";
    table.SetDatabaseName((Dir / "text.db").string());
    table.SetTableName("Customer");
    EXPECT_THROW(table.Open(), EDatabaseError);
    EXPECT_FALSE(table.Active());

    TQuery query;
    query.SetDatabaseName(Path);
    query.SQL().Add("SELECT Nope FROM Customer");
    EXPECT_THROW(query.Open(), EDatabaseError);
    query.SQL().Clear();
    query.SQL().Add("UPDATE Customer SET Rate = 1");
    EXPECT_THROW(query.Open(), EDatabaseError);
}

TEST_F(SQLiteFile, IdentifiersAreQuoted) {
    TTable table;
    table.SetDatabaseName(Path);
    table.SetTableName("My \"odd\" table");
    table.Open();
    EXPECT_EQ(table.FieldByName("a b")->AsInteger(), 42);
    table.Edit();
    table.FieldByName("a b")->SetAsInteger(43);
    table.Post();
    EXPECT_EQ(CountRows("\"My \"\"odd\"\" table\" WHERE \"a b\" = 43"), 1);
    EXPECT_THROW(table.SetTableName("Other"), EDatabaseError); // open
}

TEST_F(SQLiteFile, EditsReachTheFileAndAFailedPostLosesNothing) {
    TTable table;
    table.SetDatabaseName(Path);
    table.SetTableName("Customer");
    table.Open();
    table.Append();
    table.FieldByName("Company")->SetAsString("Cirrus");
    table.Post();
    EXPECT_EQ(table.FieldByName("CustNo")->AsInteger(), 3); // read back from the file
    EXPECT_EQ(table.RecNo(), 3);
    EXPECT_EQ(CountRows("Customer"), 3);

    table.First();
    table.Edit();
    table.FieldByName("Company")->Clear(); // NOT NULL
    EXPECT_THROW(table.Post(), EDatabaseError);
    EXPECT_EQ(table.State(), dsEdit);
    table.Cancel();
    EXPECT_EQ(table.FieldByName("Company")->AsString(), "Acme");
    EXPECT_EQ(CountRows("Customer WHERE Company = 'Acme'"), 1);

    table.Delete();
    EXPECT_EQ(table.FieldByName("Company")->AsString(), "Bolt");
    EXPECT_EQ(CountRows("Customer"), 2);

    {
        SQLite::Database other(Path, SQLite::OPEN_READWRITE);
        other.exec("UPDATE Customer SET Company = 'Bolts' WHERE CustNo = 2");
        other.exec("INSERT INTO Customer (CustNo, Company) VALUES (0, 'Zero')");
    }
    table.Refresh();
    EXPECT_EQ(table.FieldByName("Company")->AsString(), "Bolts"); // still on its record
    EXPECT_EQ(table.RecordCount(), 3);
}

TEST_F(SQLiteFile, EveryKindOfValueSurvivesPostAndRefresh) {
    using namespace std::string_literals;
    TTable table;
    table.SetDatabaseName(Path);
    table.SetTableName("Customer");
    table.Open();
    const std::string photo = "\x89PNG\0\0\xff"s;
    auto expect = [&](const TFieldValue& rate, const TFieldValue& notes,
                      const TFieldValue& pictured) {
        EXPECT_EQ(table.FieldByName("Company")->Value(), TFieldValue("Dot"s));
        EXPECT_EQ(table.FieldByName("Rate")->Value(), rate);
        EXPECT_EQ(table.FieldByName("Notes")->Value(), notes);
        EXPECT_EQ(table.FieldByName("Photo")->Value(), pictured);
        EXPECT_TRUE(table.FieldByName("Balance")->IsNull());
        EXPECT_EQ(table.FieldByName("Odd")->Value(), TFieldValue(std::int64_t{-5}));
    };
    table.Append();
    table.FieldByName("Company")->SetAsString("Dot");
    table.FieldByName("Rate")->SetAsFloat(0.1);
    table.FieldByName("Notes")->SetAsString(""); // empty, not null
    table.FieldByName("Photo")->SetValue(photo);
    table.FieldByName("Odd")->SetAsInteger(-5);
    table.Post();
    expect(0.1, ""s, photo);
    EXPECT_FALSE(table.FieldByName("Notes")->IsNull());
    table.Refresh();
    expect(0.1, ""s, photo);

    // Longer text, shorter bytes, a null where a number was: the neighbours keep theirs.
    table.Edit();
    table.FieldByName("Notes")->SetAsString("A customer since the very beginning");
    table.FieldByName("Photo")->SetValue("\0"s);
    table.FieldByName("Rate")->Clear();
    table.Post();
    expect(std::monostate{}, "A customer since the very beginning"s, "\0"s);
    table.Prior();
    EXPECT_EQ(table.FieldByName("Company")->AsString(), "Bolt");
    table.Refresh();
    table.Next();
    expect(std::monostate{}, "A customer since the very beginning"s, "\0"s);
    table.Close();
    table.Open();
    table.Last();
    expect(std::monostate{}, "A customer since the very beginning"s, "\0"s);
}

TEST_F(SQLiteFile, ViewsAndQueriesAreReadOnly) {
    TTable view;
    view.SetDatabaseName(Path);
    view.SetTableName("Names");
    view.Open();
    EXPECT_EQ(view.RecordCount(), 2);
    EXPECT_THROW(view.Edit(), EDatabaseError);

    TQuery query;
    query.SetDatabaseName(Path);
    query.SQL().Add("SELECT Company, CustNo * 2 AS Twice, Rate + 0.5 AS Half, 'x' AS Tag");
    query.SQL().Add("FROM Customer ORDER BY CustNo DESC");
    query.Open();
    EXPECT_TRUE(dynamic_cast<TDBDataSet*>(static_cast<TDataSet*>(&query)));
    EXPECT_EQ(query.FieldByName("Company")->DataType(), ftString);
    EXPECT_EQ(query.FieldByName("Twice")->DataType(), ftInteger);
    EXPECT_EQ(query.FieldByName("Tag")->DataType(), ftString);
    EXPECT_EQ(query.FieldByName("Twice")->AsInteger(), 4);
    EXPECT_THROW(query.Append(), EDatabaseError);
    EXPECT_THROW(query.Delete(), EDatabaseError);
    query.Close();

    query.SQL().Clear();
    query.SQL().Add("DELETE FROM Customer WHERE CustNo = 2");
    EXPECT_EQ(query.ExecSQL(), 1);
    EXPECT_EQ(CountRows("Customer"), 1);
}

TEST(FieldTypes, DeclaredTypeNamesMapAsSQLiteWouldReadThem) {
    EXPECT_EQ(FieldDefFromDeclaredType("a", "varchar ( 12 )").Size, 12);
    EXPECT_EQ(FieldDefFromDeclaredType("a", "VARCHAR").DataType, ftString);
    EXPECT_EQ(FieldDefFromDeclaredType("a", "UNSIGNED BIG INT").DataType, ftInteger);
    EXPECT_EQ(FieldDefFromDeclaredType("a", "NVARCHAR2(7)").Size, 7); // by affinity
    EXPECT_EQ(FieldDefFromDeclaredType("a", "LONGBLOB").DataType, ftBlob);
    EXPECT_EQ(FieldDefFromDeclaredType("a", "FLOATING").DataType, ftFloat);
    EXPECT_EQ(FieldDefFromDeclaredType("a", "WHATEVER").DataType, ftBCD);
    EXPECT_EQ(FieldDefFromDeclaredType("a", "").DataType, ftUnknown);
    EXPECT_EQ(QuoteIdentifier("a\"b"), "\"a\"\"b\"");
}

} // namespace
} // namespace vesk
