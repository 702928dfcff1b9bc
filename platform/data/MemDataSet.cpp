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
    if (FSaved.Count() > 0) {
        std::vector<TFieldValue> widened;
        widened.reserve(FSaved.Values.size() + FSaved.Count());
        for (int r = 0; r < FSaved.Count(); ++r) {
            const auto begin =
                FSaved.Values.begin() + static_cast<std::ptrdiff_t>(r) * FDefs.Count();
            widened.insert(widened.end(), std::make_move_iterator(begin),
                           std::make_move_iterator(begin + FDefs.Count()));
            widened.emplace_back();
        }
        FSaved.Values = std::move(widened);
    }
    FDefs.Add(std::move(name), dataType, size);
    FSaved.FieldCount = FDefs.Count();
}

void TMemoryDataSet::InternalInitFieldDefs(TFieldDefs& defs) {
    defs = FDefs;
}

void TMemoryDataSet::InternalOpen(const TFieldDefs&, TRecordStore& records) {
    records = std::move(FSaved);
    records.FieldCount = FDefs.Count();
    FSaved = TRecordStore{};
}

void TMemoryDataSet::InternalClose(TRecordStore& records) {
    FSaved = std::move(records);
    FSaved.FieldCount = FDefs.Count();
}

void TMemoryDataSet::InternalPost(std::vector<TFieldValue>&, const std::vector<bool>&,
                                  bool inserting, std::int64_t& key) {
    if (inserting)
        key = FNextKey++;
}

} // namespace vesk
