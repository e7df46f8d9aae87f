#include "CleanState.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "platform/DataControl.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using platform::DataControl;

namespace {

// A control on the departments with both columns bound, and the signals it raises in order.
struct Bound
{
    QWidget window;
    DataControl *control = new DataControl(QStringLiteral("Departemen"), &window);
    QLineEdit *code = new QLineEdit(&window);
    QLineEdit *description = new QLineEdit(&window);
    QStringList order;

    Bound()
    {
        control->bind(code, QStringLiteral("Kodedepartemen"));
        control->bind(description, QStringLiteral("Keterangan"));
        QObject::connect(control, &DataControl::validate, &window, [this](int action, bool *) {
            order << QStringLiteral("validate %1").arg(action);
        });
        QObject::connect(control, &DataControl::reposition, &window,
                         [this] { order << QStringLiteral("reposition"); });
        QObject::connect(
            control, &DataControl::error, &window,
            [this](const store::Status &, int *) { order << QStringLiteral("error"); });
        window.show();
    }

    void press(const char *button)
    {
        QTest::mouseClick(control->findChild<QToolButton *>(QLatin1String(button)), Qt::LeftButton);
    }
};

} // namespace

class TestDataControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    // Open and each navigator button: Validate with the button's action and whether anything
    // was typed, then Reposition once the new record shows.
    void navigatorValidatesThenRepositions()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        Bound bound;
        QSignalSpy validate(bound.control, &DataControl::validate);
        bound.control->open();
        QCOMPARE(bound.order, QStringList{QStringLiteral("reposition")});
        bound.order.clear();
        const struct
        {
            const char *button;
            int action;
            const char *code;
        } presses[] = {{"Next", DataControl::MoveNext, "D02"},
                       {"Last", DataControl::MoveLast, "D05"},
                       {"Previous", DataControl::MovePrevious, "D04"},
                       {"First", DataControl::MoveFirst, "D01"}};
        for (const auto &press : presses) {
            bound.press(press.button);
            QCOMPARE(bound.order, (QStringList{QStringLiteral("validate %1").arg(press.action),
                                               QStringLiteral("reposition")}));
            QCOMPARE(validate.last().at(0).toInt(), press.action);
            QCOMPARE(bound.code->text(), QString::fromLatin1(press.code));
            bound.order.clear();
        }
    }

    // Validate sees the save flag set when a box was typed into; a handler that clears it
    // keeps the typed text out of the database.
    void validateFlagDecidesTheWrite()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        Bound bound;
        bound.control->open();
        bool seen = false;
        bool refuse = false;
        connect(bound.control, &DataControl::validate, &bound.window, [&](int, bool *save) {
            seen = *save;
            if (refuse)
                *save = false;
        });
        for (const bool refused : {true, false}) {
            refuse = refused;
            bound.description->selectAll();
            QTest::keyClicks(bound.description, QStringLiteral("Keuangan"));
            bound.press("Next");
            QVERIFY(seen);
            QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Departemen WHERE "
                                              "Keterangan = 'Keuangan'"))
                         .toInt(),
                     refused ? 0 : 1);
            bound.press("First");
            QVERIFY(!seen);
        }
    }

    // A write the store refuses on a move: Validate, then Error with the engine's refusal and
    // no Reposition; the record and the typed text stay. Error's response 0 silences the box.
    void refusedWriteRaisesErrorAndStays()
    {
        TestDatabase db;
        QVERIFY(db.fillSample());
        Bound bound;
        bound.control->open();
        bound.order.clear();
        QSignalSpy error(bound.control, &DataControl::error);
        for (const bool silenced : {false, true}) {
            ScriptedDialogs dialogs;
            if (!silenced)
                dialogs.expect(QStringLiteral("Kode sudah dipakai oleh data lain."));
            connect(bound.control, &DataControl::error, &bound.window,
                    [silenced](const store::Status &, int *response) {
                        if (silenced)
                            *response = 0;
                    });
            bound.code->selectAll();
            QTest::keyClicks(bound.code, QStringLiteral("D02"));
            bound.press("Next");
            QCOMPARE(bound.order,
                     (QStringList{QStringLiteral("validate %1").arg(DataControl::MoveNext),
                                  QStringLiteral("error")}));
            QCOMPARE(error.last().at(0).value<store::Status>().kind(),
                     store::Status::Kind::Duplicate);
            QCOMPARE(bound.code->text(), QStringLiteral("D02"));
            QCOMPARE(bound.control->absolutePosition(), 0); // still the first record
            bound.order.clear();
        }
        QCOMPARE(db.scalar(QStringLiteral("SELECT Kodedepartemen FROM Departemen WHERE "
                                          "Keterangan = 'Sumber Daya Manusia'")),
                 QVariant(QStringLiteral("D01")));
    }
};

QTEST_MAIN(TestDataControl)
#include "test_datacontrol.moc"
