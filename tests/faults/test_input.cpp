#include "CleanState.h"
#include "FormDriver.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include "leave/FCuti.h"
#include "masters/Fdepartemen.h"
#include "masters/Fkartucuti.h"
#include "masters/Fpegawai.h"
#include "masters/Fperingkat.h"
#include "platform/DatePicker.h"
#include "platform/WindowRegistry.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QtTest>

#include <cmath>
#include <limits>

// Hostile text pasted into every bound box of every record window, then saved. Whatever the
// box is given, the save either stores exactly that value or refuses it with a message the
// user can read; either way no other row moves and the window can carry on.

namespace {

// What the column behind a box accepts.
enum class Accepts {
    Text,        // any text; the empty box stores no value
    Code,        // any text but the empty one
    Reference,   // the code of an existing row, or no value
    Required,    // the code of an existing row
    Number,      // a finite number, or no value
    WholeNumber, // a whole number, or no value
    LeaveDays,   // a number of days from 0 to the entitlement, or no value
    Date,        // a day the picker offers, or no date
};

struct Box
{
    const char *window;
    const char *name;
    const char *table;
    const char *column;
    Accepts accepts;
    // A column that the window fills from this box, which a change may rightly change too.
    const char *follower = nullptr;
};

const Box Boxes[] = {
    {"Fdepartemen", "txtKodedepartemen", "Departemen", "Kodedepartemen", Accepts::Code},
    {"Fdepartemen", "txtKeterangan", "Departemen", "Keterangan", Accepts::Text},
    {"Fperingkat", "txtKodePeringkat", "Peringkat", "KodePeringkat", Accepts::Code},
    {"Fperingkat", "txtUpahPerhari", "Peringkat", "UpahPerhari", Accepts::Number},
    {"Fperingkat", "txtJabatan", "Peringkat", "Jabatan", Accepts::Text},
    {"Fpegawai", "txtNip", "Pegawai", "Nip", Accepts::Code},
    {"Fpegawai", "txtNama", "Pegawai", "Nama", Accepts::Text},
    {"Fpegawai", "txtAlamat", "Pegawai", "Alamat", Accepts::Text},
    {"Fpegawai", "txtTempatLahir", "Pegawai", "TempatLahir", Accepts::Text},
    {"Fpegawai", "DTPicker1", "Pegawai", "Tgllahir", Accepts::Date},
    {"Fpegawai", "txtTahunMasuk", "Pegawai", "TahunMasuk", Accepts::WholeNumber},
    {"Fpegawai", "DataCombo1", "Pegawai", "KodePeringkat", Accepts::Reference, "Jabatan"},
    {"Fpegawai", "txtJabatan", "Pegawai", "Jabatan", Accepts::Text},
    {"Fpegawai", "DataCombo2", "Pegawai", "KodeDepartemen", Accepts::Reference},
    {"Fkartucuti", "txtKartucuti", "Periode", "Kartucuti", Accepts::Code},
    {"Fkartucuti", "DTPicker1", "Periode", "PeriodeAwal", Accepts::Date},
    {"Fkartucuti", "DTPicker2", "Periode", "Periodeahir", Accepts::Date},
    // Hak Cuti and Sisa Cuti are read-only: the window fills them, the user cannot.
    {"FCuti", "DataCombo1", "Cuti", "Nip", Accepts::Required},
    {"FCuti", "DataCombo2", "Cuti", "KartuCuti", Accepts::Required},
    {"FCuti", "txtcuti", "Cuti", "Penggantian Cuti", Accepts::LeaveDays, "SisaCuti"},
};

// The boxes a new record of each window needs before it can be saved at all.
QList<QPair<QString, QString>> validRecord(const QString &window)
{
    if (window == u"FCuti")
        return {{"DataCombo1", "20003"}, {"DataCombo2", "K2025"}};
    const QString code = window == u"Fdepartemen"  ? "txtKodedepartemen"
                         : window == u"Fperingkat" ? "txtKodePeringkat"
                         : window == u"Fpegawai"   ? "txtNip"
                                                   : "txtKartucuti";
    return {{code, "X01"}};
}

QWidget *openWindow(const QString &name)
{
    using platform::WindowRegistry;
    if (name == u"Fdepartemen")
        return WindowRegistry::show<Fdepartemen>();
    if (name == u"Fperingkat")
        return WindowRegistry::show<Fperingkat>();
    if (name == u"Fpegawai")
        return WindowRegistry::show<Fpegawai>();
    if (name == u"Fkartucuti")
        return WindowRegistry::show<Fkartucuti>();
    return WindowRegistry::show<FCuti>();
}

const double NotANumber = std::numeric_limits<double>::quiet_NaN();

struct Input
{
    const char *label;
    QString text;
    double number; // what the text denotes as a number; NaN when it is none
};

QList<Input> inputs()
{
    QString huge;
    const QString unit = QStringLiteral("Kelvara ä € 😀 ");
    while (huge.size() < (1 << 20))
        huge += unit;
    return {
        {"1 MB", huge, NotANumber},
        {"control characters", QStringLiteral("a\x01\x07\tb\x1b\x7f\r\nc"), NotANumber},
        {"nul character", QStringLiteral("a") + QChar(0) + QStringLiteral("b"), NotANumber},
        {"right to left", QStringLiteral("\u202Eمرحبا שלום\u200F"), NotANumber},
        {"outside the basic plane", QStringLiteral("😀🇮🇩𝄞"), NotANumber},
        {"apostrophes", QStringLiteral("O'Brien'' ; --"), NotANumber},
        {"asterisks", QStringLiteral("*a*"), NotANumber},
        {"percent", QStringLiteral("100%"), NotANumber},
        {"underscore", QStringLiteral("_"), NotANumber},
        {"brackets", QStringLiteral("[A-Z]#?!"), NotANumber},
        {"1e309", QStringLiteral("1e309"), NotANumber},
        {"-1e309", QStringLiteral("-1e309"), NotANumber},
        {"-0", QStringLiteral("-0"), 0.0},
        {"  12abc", QStringLiteral("  12abc"), NotANumber},
        {"NaN", QStringLiteral("NaN"), NotANumber},
        {"inf", QStringLiteral("inf"), NotANumber},
        {"decimal comma", QStringLiteral("1,5"), NotANumber},
        {"fraction with blanks", QStringLiteral(" 12.5 "), 12.5},
        {"empty", QString(), NotANumber},
    };
}

// Whether a save of the box with this text must succeed.
bool mustStore(Accepts accepts, const QString &text, double number)
{
    const bool empty = text.isEmpty();
    switch (accepts) {
    case Accepts::Text:
        return true;
    case Accepts::Code:
        return !empty;
    case Accepts::Reference:
        return empty;
    case Accepts::Required:
        return false;
    case Accepts::Number:
        return empty || !std::isnan(number);
    case Accepts::WholeNumber:
        return empty || number == std::trunc(number);
    case Accepts::LeaveDays:
        return empty || (number >= 0 && number <= store::LeaveEntitlementDays);
    case Accepts::Date:
        break;
    }
    return false;
}

int columnPosition(const QString &table, const QString &column)
{
    const auto query = store::Database::connection().query(
        QStringLiteral("SELECT cid FROM pragma_table_info(?) WHERE name = ?"),
        store::Status::Operation::Read);
    return query->run({table, column}).ok() && query->next() ? int(query->integer(0)) : -1;
}

// Every row of every table, in entry order.
QMap<QString, QList<QVariantList>> allRows()
{
    QMap<QString, QList<QVariantList>> rows;
    for (const QString &table : store::schema::tableNames()) {
        const auto query = store::Database::connection().query(
            QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table),
            store::Status::Operation::Read);
        if (!query->run().ok())
            qFatal("cannot read %s", qPrintable(table));
        while (query->next()) {
            QVariantList row;
            for (int i = 0; i < query->columnCount(); ++i)
                row << query->value(i);
            rows[table] << row;
        }
    }
    return rows;
}

// The messages a refused save may show: the store's explanations and the window's own rule.
bool isClearRefusal(const QString &message)
{
    static const QStringList known = {
        QStringLiteral("Kode sudah dipakai oleh data lain."),
        QStringLiteral("Kode yang dirujuk tidak ada di tabelnya."),
        QStringLiteral("Kode tidak boleh kosong."),
        QStringLiteral("Isian harus berupa angka."),
        QStringLiteral("Isian harus berupa tanggal yang benar."),
        QStringLiteral("Tidak Boleh melebihi jatah Cuti!"),
    };
    return known.contains(message.section(u'\n', 0, 0));
}

// Puts the text in the box as a paste does: typing cannot enter control characters or
// characters outside the basic plane.
void paste(const FormDriver &form, const QString &name, const QString &text)
{
    QWidget *box = form.find(name);
    QLineEdit *edit = qobject_cast<QLineEdit *>(box);
    if (auto *combo = qobject_cast<QComboBox *>(box))
        edit = combo->lineEdit();
    QVERIFY2(edit && !edit->isReadOnly() && edit->isEnabled(), qPrintable(name));
    edit->selectAll();
    edit->insert(text);
}

} // namespace

class TestInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }
    void boxTakesHostileInput_data()
    {
        QTest::addColumn<int>("box");
        QTest::addColumn<bool>("change"); // Ubah on the first record instead of Tambah
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QVariant>("expected");
        const QList<Input> values = inputs();
        for (int b = 0; b < int(std::size(Boxes)) * 2; ++b) {
            const Box &box = Boxes[b / 2];
            const bool change = b % 2;
            // A changed code carries over to the rows that refer to it: only new codes here.
            if (change && box.accepts == Accepts::Code)
                continue;
            const QByteArray prefix =
                QByteArray(box.window) + '.' + box.name + (change ? " (Ubah): " : ": ");
            if (box.accepts == Accepts::Date) {
                // The picker's first day stands for no date; its first and last real days
                // must come back as they are.
                const QDate first(1601, 1, 1);
                const QDate last(9999, 12, 31);
                QTest::newRow(prefix + "no date")
                    << b / 2 << change << QString() << QDate(1600, 12, 31) << true << QVariant();
                QTest::newRow(prefix + "first day") << b / 2 << change << QString() << first << true
                                                    << QVariant(first.toString(Qt::ISODate));
                QTest::newRow(prefix + "last day") << b / 2 << change << QString() << last << true
                                                   << QVariant(last.toString(Qt::ISODate));
                continue;
            }
            const bool numeric = box.accepts == Accepts::Number ||
                                 box.accepts == Accepts::WholeNumber ||
                                 box.accepts == Accepts::LeaveDays;
            for (const Input &in : values) {
                const bool stored = mustStore(box.accepts, in.text, in.number);
                QVariant expected;
                if (stored && !in.text.isEmpty())
                    expected = numeric ? QVariant(in.number) : QVariant(in.text);
                QTest::newRow(prefix + in.label)
                    << b / 2 << change << in.text << QDate() << stored << expected;
            }
        }
    }

    void boxTakesHostileInput()
    {
        QFETCH(int, box);
        QFETCH(bool, change);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QFETCH(bool, stored);
        QFETCH(QVariant, expected);
        const Box &target = Boxes[box];
        const QString table = QString::fromLatin1(target.table);
        const QString column = QString::fromLatin1(target.column);

        TestDatabase db;
        QVERIFY(db.fillSample());
        ScriptedDialogs dialogs;
        FormDriver form(openWindow(QString::fromLatin1(target.window)));
        const auto before = allRows();
        const int position = columnPosition(table, column);
        const int follower =
            target.follower ? columnPosition(table, QString::fromLatin1(target.follower)) : -1;

        const auto record = change ? QList<QPair<QString, QString>>()
                                   : validRecord(QString::fromLatin1(target.window));
        QVERIFY(form.click(change ? "cmdRubah" : "cmdTambah"));
        for (const auto &[name, value] : record)
            paste(form, name, value);
        if (target.accepts == Accepts::Date)
            form.find<platform::DatePicker>(QString::fromLatin1(target.name))->setDate(date);
        else
            paste(form, QString::fromLatin1(target.name), text);
        if (QTest::currentTestFailed())
            return;
        dialogs.clear();
        // A refusal may be any of the clear ones; which one is checked below.
        dialogs.expect(stored ? QStringLiteral("Data sudah Disimpan!") : QString());
        QVERIFY(form.click("cmdSimpan"));

        auto after = allRows();
        if (stored) {
            QCOMPARE(dialogs.last().text, QStringLiteral("Data sudah Disimpan!"));
            QVERIFY(form.inViewMode());
            // The saved record is the new last row, or the first row, which Ubah changed.
            QCOMPARE(after[table].size(), before[table].size() + (change ? 0 : 1));
            auto others = before;
            const QVariantList original = change ? others[table].takeFirst() : QVariantList();
            const QVariantList saved = change ? after[table].takeFirst() : after[table].takeLast();
            QVERIFY2(after == others, "a row other than the saved one changed");
            for (int i = 0; i < original.size(); ++i) {
                if (i != position && i != follower)
                    QCOMPARE(saved[i], original[i]);
            }
            const QVariant back = saved[position];
            if (!expected.isValid()) {
                QVERIFY2(back.isNull(), qPrintable(back.toString().left(80)));
            } else if (expected.typeId() == QMetaType::Double) {
                QVERIFY2(back.typeId() == QMetaType::Double || back.typeId() == QMetaType::LongLong,
                         qPrintable(back.toString()));
                QCOMPARE(back.toDouble(), expected.toDouble());
            } else {
                QVERIFY2(back.typeId() == QMetaType::QString &&
                             back.toString() == expected.toString(),
                         qPrintable(back.toString().left(80)));
            }
            // Nothing else of the record got lost on the way.
            for (const auto &[name, value] : record) {
                if (name != QString::fromLatin1(target.name))
                    QCOMPARE(form.text(name), value);
            }
            // Cari finds a code by its exact text: no character of it acts as a wildcard.
            if (target.accepts == Accepts::Code) {
                QVERIFY(form.navigate(QStringLiteral("First")));
                dialogs.type(text);
                QVERIFY(form.click("cmdCari"));
                QCOMPARE(dialogs.last().title, QStringLiteral("Pencarian data"));
                QVERIFY(form.text(QString::fromLatin1(target.name)) == text);
            }
            return;
        }
        QVERIFY2(dialogs.count() == 1 && isClearRefusal(dialogs.last().text),
                 qPrintable(dialogs.last().text.left(200)));
        QVERIFY2(after == before, "a refused save changed the database");
        // The refused record stays for correction; Cancel leaves the window as it was.
        QVERIFY(form.inEditMode());
        QVERIFY(form.click("Command1"));
        QVERIFY(form.inViewMode());
        QCOMPARE(allRows(), before);
    }
};

QTEST_MAIN(TestInput)
#include "test_input.moc"
