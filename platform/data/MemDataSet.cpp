#include "platform/data/MemDataSet.h"

namespace vesk {

TMemoryDataSet::~TMemoryDataSet() {
    Close();
}

void TMemoryDataSet::AddFieldDef(std::string name, TFieldType dataType, int size) {
    if (Active())
        throw EDatabaseError("Cannot change the fields of an open dataset");
    if (FDefs.IndexOf(name) >= 0)
        throw EDatabaseError("Duplicate field name '" + name + "'");
    // Records kept from before get a null value for the new field.
    FSaved.AddField();
    FDefs.Add(std::move(name), dataType, size);
}

void TMemoryDataSet::InternalInitFieldDefs(TFieldDefs& defs) {
    defs = FDefs;
}

void TMemoryDataSet::InternalOpen(const TFieldDefs&, TRecordStore& records) {
    records = std::move(FSaved);
    FSaved = TRecordStore(FDefs.Count());
}

void TMemoryDataSet::InternalClose(TRecordStore& records) {
    FSaved = std::move(records);
}

void TMemoryDataSet::InternalPost(std::vector<TFieldValue>&, const std::vector<bool>&,
                                  bool inserting, std::int64_t& key) {
    if (inserting)
        key = FNextKey++;
}

} // namespace vesk
