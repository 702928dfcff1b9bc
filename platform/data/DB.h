// The data-access layer the components and the add-in build on: data sets with a
// record cursor, their fields, data sources and the data links through which
// data-aware controls follow a data set. The kinds of data set (database tables and
// queries, in-memory data) derive from TDataSet and supply its records.
#pragma once

#include "platform/data/RecordStore.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vesk {

// Every error of the data-access layer: an unknown field, a missing database or table,
// an operation the data set's state does not allow.
class EDatabaseError : public Exception {
    using Exception::Exception;
};

enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor
};

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

struct TFieldDef {
    std::string Name;
    TFieldType DataType = ftUnknown;
    int Size = 0; // characters of a string field; 0 for the other types
};

// The description of a data set's fields, available also while it is closed.
class TFieldDefs {
public:
    void Add(std::string name, TFieldType dataType, int size = 0);
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    const TFieldDef& Items(int index) const;
    const TFieldDef& operator[](int index) const { return Items(index); }
    // Index of the definition named Name (ASCII case ignored), or -1.
    int IndexOf(std::string_view name) const;

private:
    std::vector<TFieldDef> FItems;
};

class TDataSet;
class TDataSource;
class TDataLink;

// A column of an open data set; its value is that of the data set's current record
// (or of the record being edited).
class TField : public TObject {
public:
    TField(TDataSet& dataSet, int index, const TFieldDef& def);

    TDataSet* DataSet() const { return FDataSet; }
    int Index() const { return FIndex; }
    const std::string& FieldName() const { return FFieldName; }
    TFieldType DataType() const { return FDataType; }
    int Size() const { return FSize; }

    // The caption of the field: its name unless set.
    const std::string& DisplayLabel() const;
    void SetDisplayLabel(std::string value) { FDisplayLabel = std::move(value); }
    // Width in characters: the type's default (a string field's size) unless set.
    int DisplayWidth() const;
    void SetDisplayWidth(int value) { FDisplayWidth = value; }

    TFieldValue Value() const;
    bool IsNull() const;
    // Conversions follow the field's type; a value that does not convert raises
    // EConvertError, an integer outside 32 bits ERangeError. Null reads as "" or 0.
    std::string AsString() const;
    std::int32_t AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;

    // Setting a value needs the data set in edit or insert mode.
    void SetValue(TFieldValue value);
    void SetAsString(const std::string& value);
    void SetAsInteger(std::int32_t value) { SetValue(std::int64_t{value}); }
    void SetAsFloat(double value) { SetValue(value); }
    void SetAsBoolean(bool value) { SetValue(std::int64_t{value ? 1 : 0}); }
    void Clear() { SetValue(std::monostate{}); }

private:
    TDataSet* FDataSet;
    int FIndex;
    std::string FFieldName;
    TFieldType FDataType;
    int FSize;
    std::string FDisplayLabel;
    int FDisplayWidth = -1;
};

// Receives the notice that a component it asked about is being destroyed.
class TFreeNotifyClient {
public:
    virtual ~TFreeNotifyClient() = default;
    virtual void FreeNotification(TObject* component) = 0;
};

// A cursor over records with named fields. Opening loads the records through the
// kind's InternalOpen; editing goes through the kind's InternalPost / InternalDelete,
// so a failed write leaves both the store and the cursor as they were.
class TDataSet : public TObject {
public:
    TDataSet();
    ~TDataSet() override;
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    void Open();
    void Close();
    bool Active() const { return FState != dsInactive; }
    void SetActive(bool value);
    TDataSetState State() const { return FState; }

    void First();
    void Next();
    void Prior();
    void Last();
    // At the end after Next on the last record (or when empty); the cursor stays
    // on the last record.
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    bool IsEmpty() const { return FRecords.Count() == 0; }
    int RecordCount() const;
    // The current record counted from 1; 0 when there is none.
    int RecNo() const;
    // Moves to the record counted from 1; EDatabaseError for one the data set lacks.
    void SetRecNo(int value);

    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField* Fields(int index) const;
    TField* FindField(std::string_view name) const;
    // Raises EDatabaseError "Field 'NAME' not found".
    TField* FieldByName(std::string_view name) const;
    // A number no other set of field objects had, taken each time this data set makes
    // its fields (at every Open): a TField* kept from before is good while it stays.
    std::uint64_t FieldsStamp() const { return FFieldsStamp; }
    // The definitions as the data set last described its fields.
    const TFieldDefs& FieldDefs() const { return FFieldDefs; }
    // Describes the fields again (reading the database while closed).
    void UpdateFieldDefs();
    // Adds the field names: of the field objects when open, else of the definitions
    // as the data set describes them now.
    void GetFieldNames(TStringList& list);

    // Nested: notifications are held back until the last EnableControls, which then
    // tells the links once that the data set changed.
    void DisableControls() { ++FDisableCount; }
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Reads the records again, staying on the current record when it is still there.
    void Refresh();
    // Appends a record with the given values in field order and posts it.
    void AppendRecord(const std::vector<TFieldValue>& values);
    virtual bool CanModify() const { return true; }

protected:
    // Describes the fields; may be called while closed.
    virtual void InternalInitFieldDefs(TFieldDefs& defs) = 0;
    // Fills the store with the records (its FieldCount set from Defs).
    virtual void InternalOpen(const TFieldDefs& defs, TRecordStore& records) = 0;
    virtual void InternalClose(TRecordStore& /*records*/) {}
    // Writes a posted record to the backing store; may replace Values with what the
    // store now holds (defaults, computed columns) and sets Key of a new record.
    virtual void InternalPost(std::vector<TFieldValue>& /*values*/,
                              const std::vector<bool>& /*modified*/, bool /*inserting*/,
                              std::int64_t& /*key*/) {}
    virtual void InternalDelete(std::int64_t /*key*/) {}
    // Reads the records again into Records (empty, its FieldCount set); false when
    // the kind keeps the records it has, as by default.
    virtual bool InternalRefresh(const TFieldDefs& /*defs*/, TRecordStore& /*records*/) {
        return false;
    }

private:
    friend class TField;
    friend class TDataSource;
    enum class TDataEvent {
        ActiveChange,
        DataSetChange,
        DataSetScroll,
        RecordChange,
        EditingChange
    };

    TFieldValueRef CurrentValue(int field) const;
    void SetFieldValue(int field, TFieldValue value);
    void CheckActive() const;
    void CheckBrowseMode();
    void CheckCanModify() const;
    void CreateFields();
    void DataEvent(TDataEvent event, TField* field = nullptr);
    void Scrolled(int oldRecord);

    TDataSetState FState = dsInactive;
    TFieldDefs FFieldDefs;
    std::vector<std::unique_ptr<TField>> FFields;
    std::uint64_t FFieldsStamp = 0;
    TRecordStore FRecords;
    int FRecord = 0; // index of the current record
    bool FEof = true;
    bool FBof = true;
    std::vector<TFieldValue> FEditBuffer;
    std::vector<bool> FModified;
    bool FRecordModified = false;
    int FDisableCount = 0;
    std::vector<TDataSource*> FDataSources;
};

// Connects data-aware controls (through their links) to a data set.
class TDataSource : public TObject {
public:
    explicit TDataSource(TDataSet* dataSet = nullptr);
    ~TDataSource() override;
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TDataSetState State() const;

    // Asks to be told (FreeNotification) when this data source is destroyed.
    void FreeNotification(TFreeNotifyClient* client);
    void RemoveFreeNotification(TFreeNotifyClient* client);

private:
    friend class TDataSet;
    friend class TDataLink;
    void UpdateLinks();

    TDataSet* FDataSet = nullptr;
    bool FEnabled = true;
    std::vector<TDataLink*> FDataLinks;
    std::vector<TFreeNotifyClient*> FFreeNotifies;
};

// A control's connection to a data source; descendants override the notifications.
class TDataLink : public TObject {
public:
    TDataLink() = default;
    ~TDataLink() override;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* value);
    TDataSet* DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }
    // The data source is enabled and its data set open.
    bool Active() const { return FActive; }

protected:
    virtual void ActiveChanged() {}
    virtual void DataSetChanged() {}
    virtual void DataSetScrolled(int /*distance*/) {}
    virtual void RecordChanged(TField* /*field*/) {}
    // The data set entered or left edit or insert mode.
    virtual void EditingChanged() {}

private:
    friend class TDataSet;
    friend class TDataSource;
    void UpdateActive();

    TDataSource* FDataSource = nullptr;
    bool FActive = false;
};

// Inline: every field read passes here.
inline TFieldValueRef TDataSet::CurrentValue(int field) const {
    if (FState == dsEdit || FState == dsInsert)
        return TFieldValueRef::Of(FEditBuffer[static_cast<std::size_t>(field)]);
    if (FState == dsInactive || FRecords.Count() == 0)
        return {};
    return FRecords.Get(FRecord, field);
}

} // namespace vesk
