#include "store/Status.h"

#include <QSqlError>

namespace store {

namespace {

// Result codes of the engine that decide the kind on their own.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteReadOnly = 8;
constexpr int SqliteIoErr = 10;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteFull = 13;
constexpr int SqliteCantOpen = 14;
constexpr int SqliteNotADb = 26;
// The open file was deleted or moved away, which the engine reports as read-only.
constexpr int SqliteReadOnlyDbMoved = SqliteReadOnly | (4 << 8);

Status::Kind kindFromText(const QString &text, Status::Operation operation)
{
    using Kind = Status::Kind;
    const QString t = text.toLower();
    if (t.contains(u"unique constraint") || t.contains(u"primary key must be unique"))
        return Kind::Duplicate;
    if (t.contains(u"foreign key constraint"))
        return operation == Status::Operation::Delete ? Kind::InUse : Kind::MissingReference;
    if (t.contains(u"not null constraint") || t.contains(u"nonempty_"))
        return Kind::Empty;
    if (t.contains(u"date_"))
        return Kind::NotADate;
    if (t.contains(u"cannot store") || t.contains(u"datatype mismatch") || t.contains(u"finite_"))
        return Kind::NotANumber;
    if (t.contains(u"database is locked") || t.contains(u"database is busy"))
        return Kind::Busy;
    if (t.contains(u"readonly database") || t.contains(u"read-only"))
        return Kind::ReadOnly;
    if (t.contains(u"disk is full") || t.contains(u"database or disk is full"))
        return Kind::Full;
    if (t.contains(u"not a database") || t.contains(u"unable to open") ||
        t.contains(u"malformed") || t.contains(u"disk i/o error"))
        return Kind::Unreadable;
    return Kind::Other;
}

Status::Kind kindFromCode(int code)
{
    if (code == SqliteReadOnlyDbMoved)
        return Status::Kind::Gone;
    switch (code & 0xff) {
    case SqliteBusy:
    case SqliteLocked:
        return Status::Kind::Busy;
    case SqliteReadOnly:
        return Status::Kind::ReadOnly;
    case SqliteFull:
        return Status::Kind::Full;
    case SqliteIoErr:
    case SqliteCorrupt:
    case SqliteCantOpen:
    case SqliteNotADb:
        return Status::Kind::Unreadable;
    default:
        return Status::Kind::None;
    }
}

} // namespace

Status Status::failure(Kind kind, const QString &engineText)
{
    Status s;
    s.m_kind = kind == Kind::None ? Kind::Other : kind;
    s.m_engineText = engineText;
    return s;
}

Status Status::fromEngine(int code, const QString &engineText, Operation operation)
{
    Kind kind = kindFromCode(code);
    if (kind == Kind::None)
        kind = kindFromText(engineText, operation);
    return failure(kind, engineText);
}

Status Status::fromSql(const QSqlError &error, Operation operation)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return fromEngine(error.nativeErrorCode().toInt(), text, operation);
}

QString Status::explanation() const
{
    switch (m_kind) {
    case Kind::None:
        return {};
    case Kind::Duplicate:
        return QStringLiteral("Kode sudah dipakai oleh data lain.");
    case Kind::InUse:
        return QStringLiteral("Data masih dipakai oleh data lain dan tidak dapat dihapus.");
    case Kind::MissingReference:
        return QStringLiteral("Kode yang dirujuk tidak ada di tabelnya.");
    case Kind::Empty:
        return QStringLiteral("Kode tidak boleh kosong.");
    case Kind::NotANumber:
        return QStringLiteral("Isian harus berupa angka.");
    case Kind::NotADate:
        return QStringLiteral("Isian harus berupa tanggal yang benar.");
    case Kind::Busy:
        return QStringLiteral("Database sedang dipakai program lain. Silakan coba lagi.");
    case Kind::ReadOnly:
        return QStringLiteral("Database hanya dapat dibaca; perubahan tidak dapat disimpan.");
    case Kind::Missing:
        return QStringLiteral("File database tidak ditemukan.");
    case Kind::Unreadable:
        return QStringLiteral("File database tidak dapat dibaca.");
    case Kind::Full:
        return QStringLiteral("Disk penuh; data tidak dapat disimpan.");
    case Kind::Gone:
        return QStringLiteral("File database sudah dihapus atau dipindahkan dari foldernya; "
                              "perubahan tidak dapat disimpan.");
    case Kind::NoCurrentRecord:
        return QStringLiteral("Tidak ada record yang aktif.");
    case Kind::RecordGone:
        return QStringLiteral("Record ini sudah diubah atau dihapus di jendela lain.");
    case Kind::Other:
        return QStringLiteral("Database menolak perintah ini.");
    }
    return {};
}

QString Status::message() const
{
    if (ok())
        return {};
    if (m_engineText.isEmpty())
        return explanation();
    return explanation() + QStringLiteral("\n\n") + m_engineText;
}

} // namespace store
