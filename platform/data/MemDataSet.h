// A data set whose records live in memory only: its fields are the definitions given
// before opening, and its records stay with it while it is closed. It is not a
// database-engine data set.
#pragma once

#include "platform/data/DB.h"

namespace vesk {

class TMemoryDataSet : public TDataSet {
public:
    TMemoryDataSet() = default;
    ~TMemoryDataSet() override;

    // Adds a field definition; raises EDatabaseError while the data set is open.
    void AddFieldDef(std::string name, TFieldType dataType, int size = 0);

protected:
    void InternalInitFieldDefs(TFieldDefs& defs) override;
    void InternalOpen(const TFieldDefs& defs, TRecordStore& records) override;
    void InternalClose(TRecordStore& records) override;
    void InternalPost(std::vector<TFieldValue>& values, const std::vector<bool>& modified,
                      bool inserting, std::int64_t& key) override;

private:
    TFieldDefs FDefs;
    TRecordStore FSaved;
    std::int64_t FNextKey = 1;
};

} // namespace vesk
