#include "store/Engine.h"

namespace store {

QVariant Query::value(int column) const
{
    switch (type(column)) {
    case ValueType::Integer:
        return QVariant(integer(column));
    case ValueType::Real:
        return QVariant(real(column));
    case ValueType::Text: {
        const QByteArrayView utf8 = text(column);
        return QVariant(QString::fromUtf8(utf8.data(), utf8.size()));
    }
    case ValueType::Blob:
        return QVariant(blob(column).toByteArray());
    case ValueType::Null:
        break;
    }
    return QVariant(QMetaType::fromType<QString>());
}

Status Connection::executeAll(const QStringList &statements)
{
    Status status = begin();
    for (const QString &statement : statements) {
        if (!status.ok())
            break;
        status = execute(statement);
    }
    if (!status.ok()) {
        (void)rollback();
        return status;
    }
    return commit();
}

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
