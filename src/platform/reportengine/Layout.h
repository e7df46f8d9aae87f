#pragma once

#include "platform/reportengine/Report.h"
#include "store/Status.h"

#include <QStringList>

namespace store {
class Snapshot;
}

namespace platform::reportengine {

// The paper of the system's default printer; A4 when there is no printer.
QPageSize defaultPageSize();

// Lays a report out on pages of the given paper: the report header once at the top of the
// first page, the page header at the top of every page, one detail band per row in the
// snapshot's order (never split by a page break), the page footer at the bottom of every
// page and the report footer after the last row; a report footer that holds nothing starts
// no page. No rows (or no snapshot) gives the headers and footers only. The document keeps
// the rows, and no one else may change them while it lives.
Document layOut(const ReportDefinition &definition, std::shared_ptr<const store::Snapshot> rows,
                const QPageSize &paper);

// The columns that the report's text boxes show, each once: all that a report keeps of its
// command's rows.
QStringList boundColumns(const ReportDefinition &definition);

// Runs the report's command of the data environment afresh and lays out its rows. When the
// command cannot run, the document holds the report without rows and the status says why.
store::Status layOut(const ReportDefinition &definition, const QPageSize &paper,
                     Document *document);

} // namespace platform::reportengine
