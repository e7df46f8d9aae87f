#pragma once

#include "platform/DataControl.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolButton;

namespace platform {
class DataCombo;
class DataGrid;
class DatePicker;
} // namespace platform

namespace store {
class Snapshot;
}

namespace forms {

// What a record maintenance window declares about itself.
struct FormSettings
{
    // A browse criterion: the text of Combo1 that selects it and the column it filters.
    struct Criterion
    {
        QString text;
        QString column;
    };
    enum class AfterCancel { First, Last };

    QString name;    // class and object name, e.g. Fdepartemen
    QString caption; // window caption
    QString title;   // the bold title above the tabs; none on a single-page window
    QString table;   // the table Data1 keeps
    QSize clientTwips;
    // A single page has no tabs, no browse list, no frame and the default background.
    bool singlePage = false;
    bool closeBox = false;
    // Fields placed by the window itself at given twips instead of in rows.
    bool placedFields = false;

    QString searchPrompt;
    QString searchColumn;
    QString emptyAnswer = QStringLiteral("Anda belum memasukan Kode ");

    QString browseSource; // the table or view of the browse grid
    QList<Criterion> criteria;
    AfterCancel afterCancel = AfterCancel::First;
};

// The record maintenance window: one record of a table in bound fields with a navigator and
// seven buttons, and the whole table in a grid with a prefix filter. A window of this kind
// declares its settings and fields and overrides only what differs.
class RecordForm : public QWidget
{
    Q_OBJECT

public:
    explicit RecordForm(FormSettings settings, QWidget *parent = nullptr);

    void setEditMode();
    void setViewMode();

protected:
    // Fields, each with its label to the left, placed top to bottom on the input page. Bound
    // fields switch with the mode unless told otherwise.
    QLineEdit *addTextField(const QString &label, const QString &labelName, const QString &name,
                            const QString &field, int widthTwips);
    QComboBox *addListField(const QString &label, const QString &labelName, const QString &name,
                            const QString &field, const QStringList &items, int widthTwips);
    platform::DatePicker *addDateField(const QString &label, const QString &labelName,
                                       const QString &name, const QString &field, int widthTwips);
    platform::DataCombo *addCodeField(const QString &label, const QString &labelName,
                                      const QString &name, const QString &field,
                                      store::Snapshot *rows, const QString &listColumn,
                                      int widthTwips);
    // A read-only box that no record feeds.
    QLineEdit *addDisplayField(const QString &label, const QString &labelName, const QString &name,
                               int widthTwips);

    // Puts a field or label at a place given in twips on the input page.
    void place(QWidget *widget, int left, int top, int width, int height);
    QLabel *labelOf(QWidget *field) const;
    QWidget *inputPage() const { return m_inputPage; }

    // The controls that the mode routines switch, in their order; the four buttons follow.
    void setModeControls(const QList<QWidget *> &controls) { m_modeControls = controls; }
    void setFocusTarget(QWidget *widget) { m_focusTarget = widget; }

    // Opens the record sources and shows view mode; the last step of a window's construction.
    void load();

    platform::DataControl *data1() const { return m_data1; }
    store::Snapshot *browseRows() const { return m_browseRows; }

    // Steps that windows add to the pattern.
    virtual void afterAddNew() {}
    // The window's rules for a record about to be written, by the save or by Data1 itself (a
    // move, a search, the close): they may set fields or refuse the record.
    virtual std::optional<platform::Refusal> checkRecord(platform::DataControl::Action,
                                                         platform::PendingRecord &)
    {
        return std::nullopt;
    }
    // Runs in the save after the browse list is read again.
    virtual void afterSaveRefresh() {}

    // Shows a failure of the record sources with its explanation and the engine's text.
    void reportFailure(const store::Status &status);

    void closeEvent(QCloseEvent *event) override;

private:
    void buildWindow();
    void buildInputPage(QWidget *page);
    void buildBrowsePage(QWidget *page);
    void buildButtons(QWidget *parent, int top);
    QToolButton *addButton(QWidget *parent, const QString &name, const QString &text, int icon,
                           int left, int top);
    template <typename W>
    W *addField(const QString &label, const QString &labelName, const QString &name,
                int widthTwips);
    void layOutRows();
    void setTabOrder();
    // Tells why an action the window asked for did not happen.
    void report(const platform::Outcome &outcome);

    void add();
    void change();
    void save();
    // Reads Data1 and the browse list again once a save wrote its record.
    store::Status refreshAfterSave();
    void cancel();
    void search();
    void remove();
    void filter();
    void showPosition();

    FormSettings m_settings;
    platform::DataControl *m_data1 = nullptr;
    QTabWidget *m_tabs = nullptr;
    QWidget *m_inputPage = nullptr;
    QComboBox *m_criterion = nullptr;
    QLineEdit *m_filterText = nullptr;
    platform::DataGrid *m_grid = nullptr;
    store::Snapshot *m_browseRows = nullptr;

    QToolButton *m_add = nullptr;
    QToolButton *m_save = nullptr;
    QToolButton *m_change = nullptr;
    QToolButton *m_cancel = nullptr;

    QList<QWidget *> m_rows;   // fields placed top to bottom
    QList<QWidget *> m_fields; // every field, in the order the window added them
    QList<QWidget *> m_modeControls;
    QWidget *m_focusTarget = nullptr;
};

} // namespace forms
