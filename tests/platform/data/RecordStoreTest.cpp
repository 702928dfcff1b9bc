#include "platform/data/RecordStore.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

using namespace std::string_literals;

std::vector<TFieldValue> Row(std::int64_t id, TFieldValue text) {
    return {id, std::move(text)};
}

std::string TextOf(const TRecordStore& store, int record) {
    const TFieldValueRef value = store.Get(record, 1);
    EXPECT_EQ(value.Kind, TFieldValueKind::Bytes) << "record " << record;
    return std::string(value.Bytes);
}

TEST(RecordStore, KeepsEveryKindApartNullFromEmptyAndBytesWithNul) {
    TRecordStore store(4);
    const std::string blob = "a\0b\0\xff"s;
    store.Append({std::int64_t{-7}, 2.5, std::string(), blob}, 10);
    store.AddNull();
    store.AddInteger(INT64_MIN);
    store.AddBytes(std::string_view());
    store.AddBytes(blob);
    store.EndRecord(20);
    ASSERT_EQ(store.Count(), 2);

    EXPECT_EQ(store.Get(0, 0).Kind, TFieldValueKind::Integer);
    EXPECT_EQ(store.Get(0, 0).Integer, -7);
    EXPECT_EQ(store.Get(0, 1).Kind, TFieldValueKind::Float);
    EXPECT_EQ(store.Get(0, 1).Float, 2.5);
    EXPECT_EQ(store.Get(0, 2).Kind, TFieldValueKind::Bytes); // empty text is not null
    EXPECT_EQ(store.Get(0, 2).Bytes, "");
    EXPECT_EQ(store.Get(0, 3).Bytes, blob);
    EXPECT_EQ(store.Get(1, 0).Kind, TFieldValueKind::Null);
    EXPECT_EQ(store.Get(1, 1).Integer, INT64_MIN);
    EXPECT_EQ(store.Get(1, 2).Kind, TFieldValueKind::Bytes);
    EXPECT_EQ(store.Get(1, 3).Bytes, blob);
    EXPECT_EQ(store.Key(1), 20);
    EXPECT_EQ(store.IndexOfKey(20), 1);
    EXPECT_EQ(store.IndexOfKey(30), -1);

    std::vector<TFieldValue> values;
    store.ReadRecord(1, values);
    EXPECT_EQ(values, (std::vector<TFieldValue>{std::monostate{}, std::int64_t{INT64_MIN},
                                                std::string(), blob}));

    // Widening keeps every value and gives each record a null at the end.
    store.AddField();
    ASSERT_EQ(store.FieldCount(), 5);
    store.ReadRecord(0, values);
    EXPECT_EQ(values, (std::vector<TFieldValue>{std::int64_t{-7}, 2.5, std::string(), blob,
                                                std::monostate{}}));
    EXPECT_EQ(store.Get(1, 3).Bytes, blob);
    EXPECT_EQ(store.Get(1, 4).Kind, TFieldValueKind::Null);
}

TEST(RecordStore, EditsReuseTheirBytesAndLeaveTheOtherRecordsAlone) {
    TRecordStore store(2);
    store.Append(Row(1, "alpha"s), 1);
    store.Append(Row(2, "bravo"s), 2);
    store.Append(Row(3, "charlie"s), 3);
    const std::size_t bytes = store.TextBytes();

    // No longer than before: written in place.
    store.Replace(1, Row(2, "BRAVO"s));
    store.Replace(0, Row(1, "al"s));
    EXPECT_EQ(store.TextBytes(), bytes);
    EXPECT_EQ(store.UnusedTextBytes(), 3u);
    // Longer, or text where there was none: appended.
    store.Replace(0, Row(1, "alpha-long"s));
    EXPECT_EQ(store.TextBytes(), bytes + 10);
    store.Replace(2, Row(3, std::monostate{}));
    EXPECT_EQ(store.Get(2, 1).Kind, TFieldValueKind::Null);
    store.Replace(2, Row(3, "c\0c"s));

    EXPECT_EQ(TextOf(store, 0), "alpha-long");
    EXPECT_EQ(TextOf(store, 1), "BRAVO");
    EXPECT_EQ(TextOf(store, 2), "c\0c"s);
    // An integer where there was text frees the text.
    store.Replace(1, Row(2, std::int64_t{5}));
    EXPECT_EQ(store.Get(1, 1).Integer, 5);
    store.Delete(0);
    ASSERT_EQ(store.Count(), 2);
    EXPECT_EQ(store.Key(0), 2);
    EXPECT_EQ(TextOf(store, 1), "c\0c"s);
}

TEST(RecordStore, UnusedBytesAreReclaimedSoLongEditingStaysBounded) {
    TRecordStore store(2);
    for (int i = 0; i < 100; ++i)
        store.Append(Row(i, "record " + std::to_string(i)), i);
    std::size_t largest = 0;
    for (int round = 0; round < 20000; ++round) {
        // Ever longer text cannot go in place: every edit leaves its old bytes unused.
        const int record = round % 100;
        store.Replace(record, Row(record, std::string(200 + round % 7, 'a' + record % 26) +
                                              std::to_string(round)));
        largest = std::max(largest, store.TextBytes());
    }
    // 20000 edits of about 200 bytes would be 4 MB kept; the live text is 20 KB.
    EXPECT_LT(largest, 256u * 1024);
    for (int record = 0; record < 100; ++record) {
        const int round = 19900 + record;
        EXPECT_EQ(TextOf(store, record),
                  std::string(200 + round % 7, 'a' + record % 26) + std::to_string(round));
    }

    // Deleting most records frees their bytes too, and the rest read as before.
    for (int i = 0; i < 500; ++i)
        store.Append(Row(1000 + i, std::string(300, 'x') + std::to_string(i)), 1000 + i);
    while (store.Count() > 2)
        store.Delete(0);
    EXPECT_LT(store.TextBytes(), 64u * 1024 + 2 * 310);
    EXPECT_EQ(TextOf(store, 0), std::string(300, 'x') + "498");
    EXPECT_EQ(TextOf(store, 1), std::string(300, 'x') + "499");
}

} // namespace
} // namespace vesk
