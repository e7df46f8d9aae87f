#pragma once

#include "Importer.h"

namespace accessimport {

// The file beside the new database that lists the rows an import with --skip-bad left out.
QString refusalsPath(const QString &databasePath);
// Writes the refused rows as CSV: table, row, rule, then one "column=value" field per value
// (nothing after the '=' for no value), every line as wide as the widest, under one header
// field per column. Returns false with the reason in error.
bool writeRefusals(const QString &path, const QList<Refusal> &refusals, QString &error);

// One line for the console: where the row is, why it is refused, and its values (a text of
// more than 200 characters by its beginning and its length).
QString describe(const Refusal &refusal);
// The rows read of one table, for the console, and the rows written when the import kept
// them.
QString describe(const Tally &tally, bool written);

} // namespace accessimport
