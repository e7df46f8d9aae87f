#pragma once

#include "Target.h"

#include "store/Status.h"

#include <QSqlQuery>
#include <QVariantList>

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
    QSqlQuery m_query;
};

} // namespace accessimport
