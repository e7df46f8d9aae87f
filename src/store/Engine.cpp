#include "store/Engine.h"

namespace store {

Status Connection::execute(const QString &sql, const QVariantList &values,
                           Status::Operation operation, qint64 *changed)
{
    const std::unique_ptr<Query> statement = query(sql, operation);
    const Status status = statement->run(values);
    if (status.ok() && changed)
        *changed = statement->rowsChanged();
    return status;
}

} // namespace store
