#include "platform/design/DataClasses.h"

#include "platform/data/DBTables.h"
#include "platform/forms/Component.h"

namespace vesk {

namespace {

using V = const TValue&;
using S = const TLiveScope*;

template <typename T>
std::shared_ptr<TBoundClass<T>> OwnedClass() {
    return std::make_shared<TBoundClass<T>>([](TLiveObject*) {
        return std::unique_ptr<TLiveObject>(std::make_unique<TOwnedLive<T>>(std::make_unique<T>()));
    });
}

template <typename T>
void BindDataSet(TBoundClass<T>& b) {
    b.Bind(
        "Active", [](const T& d) { return BooleanToValue(d.Active()); },
        [](T& d, V v, S) { d.SetActive(BooleanValue(v)); });
    b.Defer("Active");
    b.Bind(
        "DatabaseName", [](const T& d) { return TValue::String(d.DatabaseName()); },
        [](T& d, V v, S) { d.SetDatabaseName(StringValue(v)); });
}

std::string ListText(const TValue& value) {
    if (value.Kind != TValueKind::List)
        return StringValue(value);
    std::string text;
    for (const TValue& line : value.Items)
        text += line.Text + "\n";
    return text;
}

} // namespace

void AttachDataClasses(TClassRegistry& registry) {
    auto source = OwnedClass<TDataSource>();
    source->Bind("DataSet", nullptr, [](TDataSource& s, V v, S scope) {
        s.SetDataSet(ReferencedObject<TDataSet>(v, scope));
    });
    source->Bind(
        "Enabled", [](const TDataSource& s) { return BooleanToValue(s.Enabled()); },
        [](TDataSource& s, V v, S) { s.SetEnabled(BooleanValue(v)); });
    const_cast<TClassInfo*>(registry.Find("TDataSource"))->SetLive(source);

    auto table = OwnedClass<TTable>();
    BindDataSet(*table);
    table->Bind(
        "TableName", [](const TTable& t) { return TValue::String(t.TableName()); },
        [](TTable& t, V v, S) { t.SetTableName(StringValue(v)); });
    const_cast<TClassInfo*>(registry.Find("TTable"))->SetLive(table);

    auto query = OwnedClass<TQuery>();
    BindDataSet(*query);
    query->Bind(
        "SQL.Strings", [](const TQuery& q) { return TValue::String(q.SQL().Text()); },
        [](TQuery& q, V v, S) { q.SQL().SetText(ListText(v)); });
    const_cast<TClassInfo*>(registry.Find("TQuery"))->SetLive(query);
}

void GetModelFieldNames(const TComponent& dataSet, TStringList& list) {
    if (!dataSet.InheritsFrom("TDataSet"))
        return;
    bool persistent = false;
    for (const TComponent* child : dataSet.Children())
        if (child->InheritsFrom("TField")) {
            persistent = true;
            list.Add(child->GetString("FieldName"));
        }
    if (persistent)
        return;
    std::unique_ptr<TLiveObject> live = CreateLiveObject(dataSet, nullptr);
    if (TDataSet* data = LiveObjectAs<TDataSet>(live.get()))
        data->GetFieldNames(list);
}

} // namespace vesk
