#pragma once

#include "platform/reportengine/PagePainter.h"
#include "platform/reportengine/Report.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;

namespace platform::reportengine {

class PageView;

// The preview window of a report: its pages one after another, zoom, printing on the
// system's printer, saving as PDF and exporting its rows to an Excel workbook. Loading it lays the
// report out from its command.
class ReportWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ReportWindow(ReportDefinition definition, QWidget *parent = nullptr);
    ~ReportWindow() override;

    const ReportDefinition &definition() const { return m_definition; }
    const Document &document() const { return m_document; }

    int zoom() const;
    void setZoom(int percent);
    // The page at the top of the view, 0-based.
    int currentPage() const;
    void showPage(int page);

    // Writes the report to a PDF file; a failure is shown in a message box. While it writes,
    // the pointer is busy, and a progress dialog shows once the writing has run for the
    // progress delay or promises to run longer; its Batal button stops the writing, and the
    // target stays as it was.
    bool savePdf(const QString &path);
    // Writes the report's rows to an Excel workbook, as savePdf writes the pages.
    bool saveXlsx(const QString &path);
    // How long writing or printing runs before its progress dialog shows, in milliseconds.
    void setProgressDelay(int milliseconds);
    // Shown while open: lays the report out again from its command's rows as they stand now.
    void shownAgain();

public Q_SLOTS:
    void print();
    void saveAsPdf();
    void exportToExcel();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Runs once the window has been closed by the user.
    virtual void reportClosed() {}

private:
    void buildToolBar();
    // Asks where to save, with the suffix added to a name typed without it, and whether to
    // replace a file there; never the program's database. Empty when the user declined.
    QString chooseTarget(const QString &title, const QString &filter, const QString &suffix);
    // Writes a file with a progress dialog; a failure is shown, a stop by Batal is not.
    using FileWriter = std::function<bool(QString *error, const Progress &progress)>;
    bool writeFile(const QString &action, const QString &unit, const FileWriter &write);
    void layOutRows();
    void updatePageLabel();

    ReportDefinition m_definition;
    Document m_document;
    PageView *m_view = nullptr;
    QComboBox *m_zoom = nullptr;
    QLabel *m_pageLabel = nullptr;
    int m_progressDelay = 500;
};

} // namespace platform::reportengine
