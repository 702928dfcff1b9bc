// The host's data-access classes as live objects (data sources, tables and queries
// on SQLite), and the field names a data set of the component model offers.
#pragma once

#include "platform/design/LiveObject.h"

namespace vesk {

class TComponent;
class TStringList;

// Gives the registered data-access classes their live bindings.
void AttachDataClasses(TClassRegistry& registry);

// Adds the field names of a data set of the component model: those of its field
// components (persistent fields) when it has any, else those its live data set
// describes (the table's columns, read from the database while it is closed).
// Nothing for a component that is not a data set.
void GetModelFieldNames(const TComponent& dataSet, TStringList& list);

} // namespace vesk
