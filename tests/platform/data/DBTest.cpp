#include "platform/data/DB.h"
#include "platform/data/DBTables.h"
#include "platform/data/MemDataSet.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

struct CountingLink : TDataLink {
    int Activated = 0, Deactivated = 0, Changed = 0, Scrolled = 0;
    void ActiveChanged() override { ++(Active() ? Activated : Deactivated); }
    void DataSetChanged() override { ++Changed; }
    void DataSetScrolled(int) override { ++Scrolled; }
};

struct FreeWatcher : TFreeNotifyClient {
    TObject* Freed = nullptr;
    void FreeNotification(TObject* component) override { Freed = component; }
};

void MakePeople(TMemoryDataSet& people) {
    people.AddFieldDef("ID", ftInteger);
    people.AddFieldDef("Name", ftString, 20);
    people.Open();
    people.AppendRecord({std::int64_t{1}, std::string("Ann")});
    people.AppendRecord({std::int64_t{2}, std::string("Bob")});
    people.AppendRecord({std::int64_t{3}, std::monostate{}});
}

TEST(DataSet, WalksRecordsAndStaysOnTheLastAtTheEnd) {
    TMemoryDataSet people;
    MakePeople(people);
    std::string names;
    for (people.First(); !people.Eof(); people.Next())
        names += people.FieldByName("name")->AsString() + ",";
    EXPECT_EQ(names, "Ann,Bob,,");
    EXPECT_EQ(people.RecNo(), 3);
    EXPECT_TRUE(people.FieldByName("Name")->IsNull());
    EXPECT_EQ(people.FieldByName("ID")->AsInteger(), 3);
    people.Prior();
    EXPECT_FALSE(people.Eof());
    EXPECT_EQ(people.Fields(1)->AsString(), "Bob");
    try {
        people.FieldByName("Missing");
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "Field 'Missing' not found");
    }
    EXPECT_EQ(people.FindField("Missing"), nullptr);
    EXPECT_THROW(people.Fields(2), EListError);
}

TEST(DataSet, KeepsMemoryRecordsWhileClosedAndIsNoEngineDataSet) {
    TMemoryDataSet people;
    MakePeople(people);
    people.Close();
    EXPECT_EQ(people.FieldCount(), 0);
    TStringList names;
    people.GetFieldNames(names); // from the definitions while closed
    EXPECT_EQ(names.Text(), "ID\nName\n");
    people.Open();
    EXPECT_EQ(people.RecordCount(), 3);
    EXPECT_EQ(dynamic_cast<TDBDataSet*>(static_cast<TDataSet*>(&people)), nullptr);
    EXPECT_THROW(people.AddFieldDef("Other", ftInteger), EDatabaseError);
}

TEST(DataSet, EditingNeedsEditModeAndCancelKeepsTheRecord) {
    TMemoryDataSet people;
    MakePeople(people);
    people.First();
    EXPECT_THROW(people.FieldByName("Name")->SetAsString("X"), EDatabaseError);
    people.Edit();
    people.FieldByName("Name")->SetAsString("Zed");
    EXPECT_EQ(people.FieldByName("Name")->AsString(), "Zed");
    people.Cancel();
    EXPECT_EQ(people.FieldByName("Name")->AsString(), "Ann");
    people.Edit();
    people.FieldByName("Name")->SetAsString("Amy");
    people.Next(); // moving posts the edit
    people.First();
    EXPECT_EQ(people.FieldByName("Name")->AsString(), "Amy");
    people.Delete();
    EXPECT_EQ(people.RecordCount(), 2);
    EXPECT_EQ(people.FieldByName("Name")->AsString(), "Bob");
    people.Edit();
    EXPECT_THROW(people.FieldByName("ID")->SetAsString("x"), EConvertError);
    people.Cancel();
    EXPECT_THROW(people.AppendRecord({std::int64_t{1}, std::string("a"), std::int64_t{2}}),
                 EDatabaseError);
    EXPECT_EQ(people.State(), dsBrowse);
}

TEST(Field, ConvertsByTypeAndRefusesWhatDoesNotFit) {
    TMemoryDataSet values;
    values.AddFieldDef("I", ftInteger);
    values.AddFieldDef("F", ftFloat);
    values.AddFieldDef("B", ftBoolean);
    values.AddFieldDef("S", ftString, 12);
    values.AddFieldDef("D", ftDate);
    values.Open();
    values.AppendRecord({std::int64_t{5000000000}, 2.5, std::int64_t{1}, std::string("12x"),
                         std::string("2024-02-29")});
    EXPECT_THROW(values.Fields(0)->AsInteger(), ERangeError);
    EXPECT_EQ(values.Fields(0)->AsString(), "5000000000");
    EXPECT_EQ(values.Fields(1)->AsString(), "2.5");
    EXPECT_EQ(values.Fields(1)->AsInteger(), 3);
    EXPECT_EQ(values.Fields(2)->AsString(), "True");
    EXPECT_THROW(values.Fields(3)->AsInteger(), EConvertError);
    EXPECT_THROW(values.Fields(3)->AsFloat(), EConvertError);
    EXPECT_EQ(values.Fields(4)->AsString(), "2024-02-29");
    // Display defaults by type; a string field's width is its size.
    EXPECT_EQ(values.Fields(0)->DisplayWidth(), 11);
    EXPECT_EQ(values.Fields(3)->DisplayWidth(), 12);
    EXPECT_EQ(values.Fields(4)->DisplayWidth(), 10);
    EXPECT_EQ(values.Fields(3)->DisplayLabel(), "S");
    values.Fields(3)->SetDisplayLabel("Street");
    values.Fields(3)->SetDisplayWidth(30);
    EXPECT_EQ(values.Fields(3)->DisplayLabel(), "Street");
    EXPECT_EQ(values.Fields(3)->DisplayWidth(), 30);
}

TEST(DataLink, FollowsOpenCloseScrollAndChanges) {
    TMemoryDataSet people;
    MakePeople(people);
    people.Close();
    TDataSource source(&people);
    CountingLink link;
    link.SetDataSource(&source);
    EXPECT_FALSE(link.Active());
    people.Open();
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.Activated, 1);
    people.Next();
    people.Next();
    EXPECT_EQ(link.Scrolled, 2);
    // Nested: only the outermost EnableControls tells the links, once.
    people.DisableControls();
    people.DisableControls();
    people.First();
    people.AppendRecord({std::int64_t{4}, std::string("Cy")});
    people.EnableControls();
    EXPECT_EQ(link.Changed, 0);
    people.EnableControls();
    EXPECT_EQ(link.Changed, 1);
    EXPECT_EQ(link.Scrolled, 2);
    people.Refresh();
    EXPECT_EQ(link.Changed, 2);
    source.SetEnabled(false);
    EXPECT_FALSE(link.Active());
    source.SetEnabled(true);
    people.Close();
    EXPECT_EQ(link.Deactivated, 2);
    EXPECT_EQ(link.DataSet(), &people);
}

TEST(DataLink, SurvivesTheDestructionOfItsSourceAndDataSet) {
    CountingLink link;
    FreeWatcher watcher;
    auto people = std::make_unique<TMemoryDataSet>();
    MakePeople(*people);
    {
        TDataSource source(people.get());
        source.FreeNotification(&watcher);
        link.SetDataSource(&source);
        EXPECT_TRUE(link.Active());
    }
    EXPECT_NE(watcher.Freed, nullptr);
    EXPECT_EQ(link.DataSource(), nullptr);
    EXPECT_FALSE(link.Active());

    TDataSource source(people.get());
    link.SetDataSource(&source);
    EXPECT_TRUE(link.Active());
    people.reset();
    EXPECT_EQ(source.DataSet(), nullptr);
    EXPECT_EQ(link.DataSet(), nullptr);
    EXPECT_FALSE(link.Active());
}

} // namespace
} // namespace vesk
