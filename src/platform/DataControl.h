#pragma once

#include "store/Recordset.h"
#include "store/Status.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QToolButton;

namespace platform {

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
    // Whether the last action stopped because the write check refused it; the check has told
    // the user already.
    bool refusedByCheck() const { return m_refusedByCheck; }

    // A check run before the control writes changed widgets by itself (a move, a search, the
    // close): false refuses the write, and the action does not happen. refused() runs when
    // the check passed but the store refused the write.
    void setWriteCheck(std::function<bool()> check, std::function<void()> refused);

    store::Status moveFirst() { return move(MoveFirst); }
    store::Status movePrevious() { return move(MovePrevious); }
    store::Status moveNext() { return move(MoveNext); }
    store::Status moveLast() { return move(MoveLast); }
    store::Status addNew();
    store::Status edit();
    // Writes the bound widgets' texts into the pending record and stores it. A validate()
    // handler that clears the save flag stops it: nothing is stored, the change stays pending
    // and refusedByCheck() is set.
    store::Status update();
    store::Status cancelUpdate();
    // Deletes the current record. Nothing is written first unless a validate() handler sets
    // the save flag.
    store::Status remove();
    // Reads the table again and makes the first record current.
    store::Status refresh();
    store::Status findFirst(const QString &column, const QString &value);

    // Raised for the close action when the window that holds the control closes: changed
    // widgets are written first. A refused write raises error() and the window must stay.
    store::Status raiseClose();

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

    store::Status move(Action action);
    // Raises validate() with the flag given and writes changed widgets unless it is cleared.
    store::Status saveChangesBefore(Action action, bool save);
    store::Status writeBound();
    void display();
    void userEdited();
    void navigate(Action action);
    void raiseError(const store::Status &status);

    store::Recordset m_records;
    QList<Binding> m_bindings;
    QLabel *m_caption = nullptr;
    bool m_displaying = false;
    store::Status m_lastRead; // the reading of the record last shown
    bool m_refusedByCheck = false;
    std::function<bool()> m_writeCheck;
    std::function<void()> m_writeRefused;
};

} // namespace platform
