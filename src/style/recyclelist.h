#pragma once

#include "style/boundedtable.h"
#include "style/filerecords.h"

#include <QtGlobal>

using RecycleTable = BoundedTable<quint8, RecycleListCapacity>;

// The recycle list's "sort": the first occurrence of every value moves to the top in increasing
// order; repeated values keep their relative order below them. The length never changes.
void sortRecycleList(RecycleTable &list);
