#include "store/Status.h"

namespace store {

Status Status::failure(Kind kind, const QString &engineText)
{
    Status s;
    s.m_kind = kind == Kind::None ? Kind::Other : kind;
    s.m_engineText = engineText;
    return s;
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
    case Kind::Unreachable:
        return QStringLiteral("Server database tidak dapat dihubungi; perubahan belum disimpan. "
                              "Isian tetap ada dan dapat disimpan lagi setelah server dapat "
                              "dihubungi.");
    case Kind::NotConnected:
        return QStringLiteral("Server database tidak dapat dihubungi.");
    case Kind::ServerSettings:
        return QStringLiteral("File pengaturan server tidak dapat dipakai.");
    case Kind::NoCurrentRecord:
        return QStringLiteral("Tidak ada record yang aktif.");
    case Kind::RecordGone:
        return QStringLiteral(
            "Record ini sudah diubah atau dihapus di jendela lain atau di komputer lain.");
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
