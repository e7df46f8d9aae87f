#pragma once

#include "Target.h"

#include "store/Engine.h"
#include "store/Status.h"

#include <QVariantList>

#include <memory>

namespace accessimport {

// Inserts rows into one table of the open database, each with bound values.
class TableWriter
{
public:
    explicit TableWriter(const TargetTable &table);
    // Prepares the insert for the target columns at these positions (the columns the source
    // has); an optional column left out is filled in by the database.
    store::Status prepare(const QList<int> &columns);
    // One value per prepared column, in their order.
    store::Status write(const QVariantList &values);

private:
    const TargetTable &m_table;
    std::unique_ptr<store::Query> m_query;
};

} // namespace accessimport
