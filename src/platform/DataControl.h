#pragma once

#include "store/Recordset.h"
#include "store/Status.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class QLabel;
class QToolButton;

namespace platform {

// Why a window will not have a record written: the message box that tells the user. Empty
// when a validate() handler kept the boxes out, which tells nobody.
struct Refusal
{
    QString text;
    QString title;
};

// What became of an action of the control: done (a record written, or nothing to write),
// refused before anything was written, or failed with the engine's error.
class [[nodiscard]] Outcome
{
public:
    enum class Kind { Done, Refused, Failed };

    // Every store step's status is an outcome: done when it succeeded, failed otherwise.
    Outcome(store::Status status) // NOLINT(google-explicit-constructor)
        : m_kind(status.ok() ? Kind::Done : Kind::Failed), m_status(std::move(status))
    {
    }
    static Outcome refused(Refusal refusal);

    bool ok() const { return m_kind == Kind::Done; }
    Kind kind() const { return m_kind; }
    const store::Status &status() const { return m_status; }
    const Refusal &refusal() const { return m_refusal; }

private:
    Kind m_kind;
    store::Status m_status;
    Refusal m_refusal;
};

// The values a save writes, one per bound field, as the boxes hold them; a window may set a
// field to what its rules make of them before the write.
class PendingRecord
{
public:
    QString text(const QString &field) const;
    void set(const QString &field, const QVariant &value);

private:
    friend class DataControl;
    QList<std::pair<QString, QVariant>> m_fields;
};

// The bound record source with its navigator bar: first, previous, caption, next, last. It
// owns an updatable record set of one table and the widgets bound to its fields. Before it
// leaves or changes a record it raises validate() with the action and a save flag; changed
// bound widgets are written unless a handler clears the flag. After the current record
// changes it raises reposition(). Failures of operations that it starts by itself (the
// navigator, opening at load) raise error(); failures of calls made by window code return to
// that code.
class DataControl : public QWidget
{
    Q_OBJECT

public:
    enum Action {
        MoveFirst = 1,
        MovePrevious = 2,
        MoveNext = 3,
        MoveLast = 4,
        AddNew = 5,
        Update = 6,
        Delete = 7,
        Find = 8,
        Bookmark = 9,
        Close = 10
    };

    explicit DataControl(const QString &table, QWidget *parent = nullptr);

    // Binds a line edit, a combo box, a data combo or a date picker to a field.
    void bind(QWidget *widget, const QString &field);

    // Opens the table on its first record; a failure raises error().
    void open();

    QString caption() const;
    void setCaption(const QString &caption);

    const store::Recordset &recordset() const { return m_records; }
    int recordCount() const { return m_records.recordCount(); }
    int absolutePosition() const { return m_records.absolutePosition(); }
    bool noMatch() const { return m_records.noMatch(); }
    QVariant field(int position) const { return m_records.value(position); }
    QVariant field(const QString &name) const { return m_records.value(name); }
    bool isEditing() const { return m_records.editMode() != store::Recordset::EditMode::None; }
    // Whether bound widgets hold texts that the record does not: typed, or written by a
    // look-up that typing set off.
    bool hasChanges() const;
    bool isChanged(const QWidget *widget) const;
    // The window's rules for every record that the control writes, whichever action writes
    // it: they may set fields of the record or refuse it, and nothing is written then.
    using RecordCheck = std::function<std::optional<Refusal>(Action, PendingRecord &)>;
    void setRecordCheck(RecordCheck check) { m_check = std::move(check); }

    Outcome moveFirst() { return move(MoveFirst); }
    Outcome movePrevious() { return move(MovePrevious); }
    Outcome moveNext() { return move(MoveNext); }
    Outcome moveLast() { return move(MoveLast); }
    Outcome addNew();
    store::Status edit();
    // Stores what the bound widgets hold as the pending record. A refusal or a failure writes
    // nothing and keeps the change pending, so that it can be corrected and saved again.
    Outcome update();
    store::Status cancelUpdate();
    // Deletes the current record. Nothing is written first unless a validate() handler sets
    // the save flag.
    Outcome remove();
    // Reads the table again and makes the first record current.
    store::Status refresh();
    Outcome findFirst(const QString &column, const QString &value);

    // Raised for the close action when the window that holds the control closes: changed
    // widgets are written first. A write that does not happen is told, and the window must
    // stay.
    Outcome raiseClose();

    // Tells the user why an action the control started by itself did not happen: a refusal's
    // message, or error() for a failure.
    void tell(const Outcome &outcome);

Q_SIGNALS:
    void validate(int action, bool *save);
    void reposition();
    void error(const store::Status &status, int *response);

private:
    struct Binding
    {
        QPointer<QWidget> widget;
        QString field;
        QString shown; // the text the record gave the widget
    };

    Outcome move(Action action);
    // The one way a record is written: raises validate() with the flag given, then unless it
    // is cleared makes the pending record of the bound widgets, lets the window's check amend
    // or refuse it, and stores it in one transaction.
    Outcome save(Action action, bool save);
    Outcome writeBound(Action action);
    void display();
    void userEdited();
    void navigate(Action action);
    void raiseError(const store::Status &status);

    store::Recordset m_records;
    QList<Binding> m_bindings;
    QLabel *m_caption = nullptr;
    bool m_displaying = false;
    store::Status m_lastRead; // the reading of the record last shown
    RecordCheck m_check;
};

} // namespace platform
