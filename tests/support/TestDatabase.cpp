#include "TestDatabase.h"

#include "CleanState.h"
#include "TestServer.h"

#include "store/Database.h"
#include "store/History.h"
#include "store/Schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QtTest>

namespace {

// The spellings of the program's names on the open database: a table's own, and each
// column's per table (Departemen.Kodedepartemen, Pegawai.KodeDepartemen).
struct Names
{
    QHash<QString, QString> tables;                  // lower case -> own spelling
    QHash<QString, QHash<QString, QString>> columns; // lower case -> table -> spelling
};

const Names &names()
{
    static Names known;
    if (!known.tables.isEmpty())
        return known;
    for (const QString &name : store::schema::tableNames() + store::schema::viewNames() +
                                   QStringList{store::history::table()}) {
        store::Relation relation;
        if (!store::Database::connection().describe(name, &relation).ok())
            continue;
        known.tables.insert(name.toLower(), relation.name);
        for (const QString &column : relation.columns)
            known.columns[column.toLower()].insert(relation.name, column);
    }
    return known;
}

// The identifier outside quotes at position i, or an empty view.
qsizetype wordEnd(const QString &sql, qsizetype i)
{
    while (i < sql.size() && (sql[i].isLetterOrNumber() || sql[i] == u'_'))
        ++i;
    return i;
}

} // namespace

bool TestDatabase::onServer()
{
    return qEnvironmentVariable("KELVARA_TEST_ENGINE") == u"postgres";
}

QString TestDatabase::forEngine(const QString &sql)
{
    if (!store::Database::onServer())
        return sql;
    const Names &known = names();
    // The table a column belongs to: the first the statement names.
    QString table;
    QList<std::pair<bool, QString>> pieces; // (bare word, text)
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            qsizetype end = sql.indexOf(c, i + 1);
            end = end < 0 ? sql.size() : end + 1;
            const QString quotedName = sql.mid(i + 1, end - i - 2).toLower();
            if (c == u'"' && table.isEmpty() && known.tables.contains(quotedName))
                table = known.tables.value(quotedName);
            pieces.append({false, sql.mid(i, end - i)});
            i = end;
        } else if (c.isLetter() || c == u'_') {
            const qsizetype end = wordEnd(sql, i);
            const QString word = sql.mid(i, end - i);
            if (table.isEmpty() && known.tables.contains(word.toLower()))
                table = known.tables.value(word.toLower());
            pieces.append({true, word});
            i = end;
        } else {
            pieces.append({false, QString(c)});
            ++i;
        }
    }
    QString out;
    for (qsizetype p = 0; p < pieces.size(); ++p) {
        const auto &[bare, text] = pieces[p];
        const QString lower = text.toLower();
        if (!bare) {
            out += text;
        } else if (known.tables.contains(lower)) {
            out += u'"' + known.tables.value(lower) + u'"';
        } else if (known.columns.contains(lower)) {
            const QHash<QString, QString> &spellings = known.columns[lower];
            out += u'"' + spellings.value(table, spellings.begin().value()) + u'"';
        } else if (lower == u"rowid" && table == u"Cuti") {
            out += QStringLiteral("\"IdCuti\"");
        } else if (lower == u"nocase") {
            out += QStringLiteral("kelvara_nocase");
        } else {
            out += text;
        }
    }
    return out;
}

TestDatabase::TestDatabase()
{
    startClean();
    if (onServer()) {
        m_server = std::make_unique<TestServer>();
        const store::Status created =
            m_server->isValid()
                ? store::Database::createOnServer(m_server->serverFile(),
                                                  [] { return store::Status::success(); })
                : store::Status::failure(store::Status::Kind::Unreachable, "no test server");
        m_valid = created.ok();
        if (!m_valid)
            qWarning() << "cannot create test database on the server:" << created.message();
        return;
    }
    m_path = m_dir.filePath(QStringLiteral("DB PT Mardeko.mdb"));
    const store::Status created = store::Database::create(m_path);
    if (!created.ok()) {
        qWarning() << "cannot create test database:" << created.message();
        return;
    }
    store::Database::setPath(m_path);
    const store::Status opened = store::Database::open();
    if (!opened.ok()) {
        qWarning() << "cannot open test database:" << opened.message();
        return;
    }
    m_valid = true;
}

TestDatabase::~TestDatabase()
{
    startClean();
}

bool TestDatabase::exec(const QString &sql, const QVariantList &values)
{
    const store::Status status = store::Database::connection().execute(forEngine(sql), values);
    if (!status.ok()) {
        qWarning() << sql << status.engineText();
        return false;
    }
    return true;
}

QVariant TestDatabase::scalar(const QString &sql, const QVariantList &values)
{
    const std::unique_ptr<store::Query> query =
        store::Database::connection().query(forEngine(sql), store::Status::Operation::Read);
    if (const store::Status status = query->run(values); !status.ok()) {
        qWarning() << sql << status.engineText();
        return {};
    }
    return query->next() ? query->value(0) : QVariant();
}

int TestDatabase::count(const QString &table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toInt();
}

bool TestDatabase::fillSample()
{
    const char *const rows[] = {
        "INSERT INTO Departemen VALUES ('D01','Sumber Daya Manusia'),('D02','Personalia'),"
        "('D03','Sistem Informasi'),('D04','Produksi'),('D05','Gudang')",
        "INSERT INTO Peringkat VALUES ('P1',150000,'Kepala Bagian'),('P2',100000,'Karyawan Staf'),"
        "('P3',80000,'Satpam'),('P4',70000.5,'Cleaning Service')",
        "INSERT INTO Pegawai VALUES ('19001','Budi','Jl. Merdeka 1','Bandung','1980-05-17',2005,"
        "'P1','Kepala Bagian','D01'),('19002','Susi','Jl. Asia 2','Jakarta',NULL,2010,'P2',"
        "'Karyawan Staf','D02'),('20003','Bunga','Jl. Dago 3','Bogor','1990-12-01',2015,'P3',"
        "'Satpam','D04')",
        "INSERT INTO Periode VALUES ('K2025','2025-01-01','2025-12-31'),"
        "('K2026','2026-01-01','2026-12-31')",
        "INSERT INTO Cuti (Nip, KartuCuti, Hakcuti, SisaCuti, \"Penggantian Cuti\") VALUES "
        "('19001','K2025',18,13,5),('19002','K2025',18,18,0),('20003','K2026',18,10.5,7.5)",
        "INSERT INTO TPassword VALUES ('admin','admin')",
    };
    for (const char *sql : rows) {
        if (!exec(QString::fromUtf8(sql)))
            return false;
    }
    return true;
}

QByteArray TestDatabase::digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}
