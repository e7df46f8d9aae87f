#pragma once

#include "Source.h"
#include "Target.h"

#include <QHash>
#include <QSet>
#include <QVariantList>

namespace accessimport {

// The database's rules checked in memory before a row goes in, so that a refused row is
// reported with a plain reason: values that fit their columns, codes that are not blank,
// keys no earlier row holds, references to rows already taken, texts no longer than the
// database takes. Codes compare as the database compares them: letter case ignored for A to Z
// only.
class RowRules
{
public:
    // longestText: the most bytes the database takes in one value.
    explicit RowRules(qint64 longestText) : m_longestText(longestText) {}

    // Converts the values of a source row, one per target column (no value where the
    // source lacks the column), into converted; returns why the row breaks a rule, or empty.
    QString check(const TargetTable &table, const Row &values, QVariantList &converted) const;
    // Remembers the keys of a row that the database took, for later duplicates and references.
    void accept(const TargetTable &table, const QVariantList &converted, qint64 row);

private:
    QString breach(const TargetTable &table, const QVariantList &converted) const;
    QString tooLong(const TargetColumn &column, const QVariant &value) const;

    qint64 m_longestText;

    // Per table and set of unique columns: the folded key and the row that holds it.
    QHash<QString, QHash<QString, qint64>> m_taken;
    // Per table: the folded keys that other tables may refer to.
    QHash<QString, QSet<QString>> m_keys;
};

} // namespace accessimport
