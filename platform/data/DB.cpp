#include "platform/data/DB.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vesk {

namespace {

template <typename T>
bool Contains(const std::vector<T*>& list, const T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

template <typename T>
void Remove(std::vector<T*>& list, const T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

std::string FloatToText(double value) {
    // The shortest text that reads back as the same number.
    char buffer[32];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        if (std::strtod(buffer, nullptr) == value)
            break;
    }
    return buffer;
}

double TextToFloat(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(begin, &end);
    if (text.empty() || end != begin + text.size() || errno == ERANGE)
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return value;
}

bool IsIntegerType(TFieldType type) {
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc;
}

bool IsFloatType(TFieldType type) {
    return type == ftFloat || type == ftCurrency || type == ftBCD;
}

const char* const BooleanTexts[2] = {"False", "True"};

} // namespace

// ---- TFieldDefs

void TFieldDefs::Add(std::string name, TFieldType dataType, int size) {
    FItems.push_back({std::move(name), dataType, size});
}

const TFieldDef& TFieldDefs::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FItems[index];
}

int TFieldDefs::IndexOf(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(FItems[i].Name, name))
            return i;
    return -1;
}

// ---- TField

TField::TField(TDataSet& dataSet, int index, const TFieldDef& def)
    : FDataSet(&dataSet), FIndex(index), FFieldName(def.Name), FDataType(def.DataType),
      FSize(def.Size) {}

const std::string& TField::DisplayLabel() const {
    return FDisplayLabel.empty() ? FFieldName : FDisplayLabel;
}

int TField::DisplayWidth() const {
    if (FDisplayWidth >= 0)
        return FDisplayWidth;
    switch (FDataType) {
    case ftString:
        return FSize;
    case ftSmallint:
        return 6;
    case ftInteger:
    case ftAutoInc:
        return 11;
    case ftWord:
        return 5;
    case ftBoolean:
        return 5;
    case ftDate:
        return 10;
    case ftTime:
        return 8;
    case ftDateTime:
        return 19;
    default:
        return 10;
    }
}

TFieldValue TField::Value() const {
    return FDataSet->CurrentValue(FIndex).ToValue();
}

bool TField::IsNull() const {
    return FDataSet->CurrentValue(FIndex).Kind == TFieldValueKind::Null;
}

std::string TField::AsString() const {
    const TFieldValueRef value = FDataSet->CurrentValue(FIndex);
    switch (value.Kind) {
    case TFieldValueKind::Bytes:
        return std::string(value.Bytes);
    case TFieldValueKind::Integer:
        return FDataType == ftBoolean ? BooleanTexts[value.Integer != 0] : IntToStr(value.Integer);
    case TFieldValueKind::Float:
        return FloatToText(value.Float);
    case TFieldValueKind::Null:
        break;
    }
    return {};
}

std::int32_t TField::AsInteger() const {
    const TFieldValueRef value = FDataSet->CurrentValue(FIndex);
    std::int64_t result = 0;
    switch (value.Kind) {
    case TFieldValueKind::Integer:
        result = value.Integer;
        break;
    case TFieldValueKind::Float:
        if (!(std::fabs(value.Float) < 9.2e18))
            throw ERangeError("Value " + FloatToText(value.Float) + " of field '" + FFieldName +
                              "' is out of the integer range");
        result = std::llround(value.Float);
        break;
    case TFieldValueKind::Bytes:
        return StrToInt(value.Bytes);
    case TFieldValueKind::Null:
        break;
    }
    if (result < std::numeric_limits<std::int32_t>::min() ||
        result > std::numeric_limits<std::int32_t>::max())
        throw ERangeError("Value " + IntToStr(result) + " of field '" + FFieldName +
                          "' is out of the integer range");
    return static_cast<std::int32_t>(result);
}

double TField::AsFloat() const {
    const TFieldValueRef value = FDataSet->CurrentValue(FIndex);
    switch (value.Kind) {
    case TFieldValueKind::Integer:
        return static_cast<double>(value.Integer);
    case TFieldValueKind::Float:
        return value.Float;
    case TFieldValueKind::Bytes:
        return TextToFloat(std::string(value.Bytes));
    case TFieldValueKind::Null:
        break;
    }
    return 0;
}

bool TField::AsBoolean() const {
    const TFieldValueRef value = FDataSet->CurrentValue(FIndex);
    switch (value.Kind) {
    case TFieldValueKind::Integer:
        return value.Integer != 0;
    case TFieldValueKind::Float:
        return value.Float != 0;
    case TFieldValueKind::Bytes:
        if (SameText(value.Bytes, "True") || value.Bytes == "1")
            return true;
        if (SameText(value.Bytes, "False") || value.Bytes == "0")
            return false;
        throw EConvertError("'" + std::string(value.Bytes) + "' is not a valid boolean value");
    case TFieldValueKind::Null:
        break;
    }
    return false;
}

void TField::SetValue(TFieldValue value) {
    FDataSet->SetFieldValue(FIndex, std::move(value));
}

void TField::SetAsString(const std::string& value) {
    if (IsIntegerType(FDataType))
        SetValue(std::int64_t{StrToInt(value)});
    else if (IsFloatType(FDataType))
        SetValue(TextToFloat(value));
    else if (FDataType == ftBoolean)
        SetValue(std::int64_t{[&] {
            if (SameText(value, "True"))
                return 1;
            if (SameText(value, "False"))
                return 0;
            throw EConvertError("'" + value + "' is not a valid boolean value");
        }()});
    else
        SetValue(value);
}

// ---- TDataSet

TDataSet::TDataSet() = default;

TDataSet::~TDataSet() {
    // The kind's part is gone already: only detach, so that the links see no data set.
    while (!FDataSources.empty())
        FDataSources.back()->SetDataSet(nullptr);
}

void TDataSet::Open() {
    if (Active())
        return;
    TFieldDefs defs;
    InternalInitFieldDefs(defs);
    TRecordStore records(defs.Count());
    InternalOpen(defs, records);
    FFieldDefs = std::move(defs);
    FRecords = std::move(records);
    CreateFields();
    FState = dsBrowse;
    FRecord = 0;
    FBof = true;
    FEof = FRecords.Count() == 0;
    DataEvent(TDataEvent::ActiveChange);
}

void TDataSet::Close() {
    if (!Active())
        return;
    FEditBuffer.clear();
    FState = dsInactive;
    InternalClose(FRecords);
    FRecords.Clear();
    FFields.clear();
    FRecord = 0;
    FEof = FBof = true;
    DataEvent(TDataEvent::ActiveChange);
}

void TDataSet::SetActive(bool value) {
    if (value)
        Open();
    else
        Close();
}

void TDataSet::CreateFields() {
    static std::atomic<std::uint64_t> lastStamp{0};
    FFieldsStamp = ++lastStamp;
    FFields.clear();
    for (int i = 0; i < FFieldDefs.Count(); ++i)
        FFields.push_back(std::make_unique<TField>(*this, i, FFieldDefs[i]));
}

void TDataSet::CheckActive() const {
    if (!Active())
        throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    // An edit with changes is posted; one without is dropped, so that moving off a
    // record just appended does not store an empty record.
    if (FState == dsEdit || FState == dsInsert) {
        if (FRecordModified)
            Post();
        else
            Cancel();
    }
}

void TDataSet::CheckCanModify() const {
    CheckActive();
    if (!CanModify())
        throw EDatabaseError("Cannot modify a read-only dataset");
}

void TDataSet::Scrolled(int oldRecord) {
    if (FRecord != oldRecord)
        DataEvent(TDataEvent::DataSetScroll);
}

void TDataSet::First() {
    CheckBrowseMode();
    const int old = FRecord;
    FRecord = 0;
    FBof = true;
    FEof = FRecords.Count() == 0;
    Scrolled(old);
}

void TDataSet::Last() {
    CheckBrowseMode();
    const int old = FRecord;
    FRecord = std::max(0, FRecords.Count() - 1);
    FEof = true;
    FBof = FRecords.Count() == 0;
    Scrolled(old);
}

void TDataSet::Next() {
    CheckBrowseMode();
    const int old = FRecord;
    if (FRecord + 1 < FRecords.Count()) {
        ++FRecord;
        FBof = false;
        FEof = false;
    } else {
        FEof = true;
    }
    Scrolled(old);
}

void TDataSet::Prior() {
    CheckBrowseMode();
    const int old = FRecord;
    if (FRecord > 0) {
        --FRecord;
        FEof = false;
        FBof = false;
    } else {
        FBof = true;
    }
    Scrolled(old);
}

int TDataSet::RecordCount() const {
    CheckActive();
    return FRecords.Count();
}

int TDataSet::RecNo() const {
    if (!Active() || FState == dsInsert || FRecords.Count() == 0)
        return 0;
    return FRecord + 1;
}

void TDataSet::SetRecNo(int value) {
    CheckBrowseMode();
    if (value < 1 || value > FRecords.Count())
        throw EDatabaseError("Record " + IntToStr(value) + " not found");
    const int old = FRecord;
    FRecord = value - 1;
    FBof = FRecord == 0;
    FEof = false;
    Scrolled(old);
}

TField* TDataSet::Fields(int index) const {
    if (index < 0 || index >= FieldCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FFields[index].get();
}

TField* TDataSet::FindField(std::string_view name) const {
    for (const auto& field : FFields)
        if (SameText(field->FieldName(), name))
            return field.get();
    return nullptr;
}

TField* TDataSet::FieldByName(std::string_view name) const {
    if (TField* field = FindField(name))
        return field;
    throw EDatabaseError("Field '" + std::string(name) + "' not found");
}

void TDataSet::UpdateFieldDefs() {
    TFieldDefs defs;
    InternalInitFieldDefs(defs);
    FFieldDefs = std::move(defs);
}

void TDataSet::GetFieldNames(TStringList& list) {
    if (FieldCount() > 0) {
        for (const auto& field : FFields)
            list.Add(field->FieldName());
        return;
    }
    // Described afresh: the table, query or definitions may have changed since.
    UpdateFieldDefs();
    for (int i = 0; i < FFieldDefs.Count(); ++i)
        list.Add(FFieldDefs[i].Name);
}

void TDataSet::EnableControls() {
    if (FDisableCount == 0)
        return;
    if (--FDisableCount == 0 && Active())
        DataEvent(TDataEvent::DataSetChange);
}

void TDataSet::SetFieldValue(int field, TFieldValue value) {
    if (FState != dsEdit && FState != dsInsert)
        throw EDatabaseError("Dataset not in edit or insert mode");
    FEditBuffer[field] = std::move(value);
    FModified[field] = true;
    FRecordModified = true;
    DataEvent(TDataEvent::RecordChange, FFields[field].get());
}

void TDataSet::Append() {
    CheckCanModify();
    CheckBrowseMode();
    FEditBuffer.assign(FieldCount(), TFieldValue{});
    FModified.assign(FieldCount(), false);
    FRecordModified = false;
    FState = dsInsert;
    DataEvent(TDataEvent::EditingChange);
}

void TDataSet::Edit() {
    CheckCanModify();
    if (FState == dsEdit || FState == dsInsert)
        return;
    if (FRecords.Count() == 0) {
        Append();
        return;
    }
    FRecords.ReadRecord(FRecord, FEditBuffer);
    FModified.assign(FieldCount(), false);
    FRecordModified = false;
    FState = dsEdit;
    DataEvent(TDataEvent::EditingChange);
}

void TDataSet::Post() {
    CheckActive();
    if (FState != dsEdit && FState != dsInsert)
        return;
    const bool inserting = FState == dsInsert;
    std::int64_t key = inserting ? 0 : FRecords.Key(FRecord);
    // The write may fail: the record stays in the edit buffer and nothing moves.
    InternalPost(FEditBuffer, FModified, inserting, key);
    if (inserting) {
        FRecords.Append(FEditBuffer, key);
        FRecord = FRecords.Count() - 1;
    } else {
        FRecords.Replace(FRecord, FEditBuffer);
    }
    FEditBuffer.clear();
    FState = dsBrowse;
    FEof = FBof = false;
    DataEvent(TDataEvent::EditingChange);
    DataEvent(TDataEvent::DataSetChange);
}

void TDataSet::Cancel() {
    if (FState != dsEdit && FState != dsInsert)
        return;
    FEditBuffer.clear();
    FState = dsBrowse;
    DataEvent(TDataEvent::EditingChange);
}

void TDataSet::Delete() {
    CheckCanModify();
    if (FState == dsInsert) {
        Cancel();
        return;
    }
    if (FRecords.Count() == 0)
        throw EDatabaseError("Cannot perform this operation on an empty dataset");
    if (FState == dsEdit)
        Cancel();
    InternalDelete(FRecords.Key(FRecord));
    FRecords.Delete(FRecord);
    if (FRecord >= FRecords.Count())
        FRecord = std::max(0, FRecords.Count() - 1);
    FEof = FRecords.Count() == 0;
    FBof = FRecord == 0;
    DataEvent(TDataEvent::DataSetChange);
}

void TDataSet::Refresh() {
    CheckBrowseMode();
    const bool hadRecord = FRecords.Count() > 0;
    const std::int64_t key = hadRecord ? FRecords.Key(FRecord) : 0;
    TRecordStore records(FRecords.FieldCount());
    if (InternalRefresh(FFieldDefs, records))
        FRecords = std::move(records);
    const int found = hadRecord ? FRecords.IndexOfKey(key) : -1;
    if (found >= 0)
        FRecord = found;
    else
        FRecord = std::min(FRecord, std::max(0, FRecords.Count() - 1));
    FEof = FRecords.Count() == 0;
    FBof = FRecord == 0;
    DataEvent(TDataEvent::DataSetChange);
}

void TDataSet::AppendRecord(const std::vector<TFieldValue>& values) {
    if (values.size() > FFields.size())
        throw EDatabaseError("Too many values for the " + IntToStr(FieldCount()) + " fields");
    Append();
    try {
        for (std::size_t i = 0; i < values.size(); ++i)
            FFields[i]->SetValue(values[i]);
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}

void TDataSet::DataEvent(TDataEvent event, TField* field) {
    if (event != TDataEvent::ActiveChange && FDisableCount > 0)
        return;
    // A notification may attach or detach sources and links: walk copies, and skip
    // what has left meanwhile.
    const std::vector<TDataSource*> sources = FDataSources;
    for (TDataSource* source : sources) {
        if (!Contains(FDataSources, source))
            continue;
        if (event == TDataEvent::ActiveChange) {
            source->UpdateLinks();
            continue;
        }
        const std::vector<TDataLink*> links = source->FDataLinks;
        for (TDataLink* link : links) {
            if (!Contains(source->FDataLinks, link) || !link->Active())
                continue;
            switch (event) {
            case TDataEvent::DataSetChange:
                link->DataSetChanged();
                break;
            case TDataEvent::DataSetScroll:
                link->DataSetScrolled(1);
                break;
            case TDataEvent::RecordChange:
                link->RecordChanged(field);
                break;
            case TDataEvent::EditingChange:
                link->EditingChanged();
                break;
            case TDataEvent::ActiveChange:
                break;
            }
        }
    }
}

// ---- TDataSource

TDataSource::TDataSource(TDataSet* dataSet) {
    SetDataSet(dataSet);
}

TDataSource::~TDataSource() {
    const std::vector<TFreeNotifyClient*> clients = FFreeNotifies;
    for (TFreeNotifyClient* client : clients)
        if (Contains(FFreeNotifies, client))
            client->FreeNotification(this);
    while (!FDataLinks.empty())
        FDataLinks.back()->SetDataSource(nullptr);
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* value) {
    if (value == FDataSet)
        return;
    if (FDataSet)
        Remove(FDataSet->FDataSources, this);
    FDataSet = value;
    if (FDataSet)
        FDataSet->FDataSources.push_back(this);
    UpdateLinks();
}

void TDataSource::SetEnabled(bool value) {
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateLinks();
}

TDataSetState TDataSource::State() const {
    return FDataSet && FEnabled ? FDataSet->State() : dsInactive;
}

void TDataSource::FreeNotification(TFreeNotifyClient* client) {
    if (client && !Contains(FFreeNotifies, client))
        FFreeNotifies.push_back(client);
}

void TDataSource::RemoveFreeNotification(TFreeNotifyClient* client) {
    Remove(FFreeNotifies, client);
}

void TDataSource::UpdateLinks() {
    const std::vector<TDataLink*> links = FDataLinks;
    for (TDataLink* link : links)
        if (Contains(FDataLinks, link))
            link->UpdateActive();
}

// ---- TDataLink

TDataLink::~TDataLink() {
    if (FDataSource)
        Remove(FDataSource->FDataLinks, this);
}

void TDataLink::SetDataSource(TDataSource* value) {
    if (value == FDataSource)
        return;
    if (FDataSource)
        Remove(FDataSource->FDataLinks, this);
    FDataSource = value;
    if (FDataSource)
        FDataSource->FDataLinks.push_back(this);
    UpdateActive();
}

void TDataLink::UpdateActive() {
    const bool active = FDataSource && FDataSource->State() != dsInactive;
    if (active == FActive)
        return;
    FActive = active;
    ActiveChanged();
}

} // namespace vesk
