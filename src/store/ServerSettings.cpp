#include "store/ServerSettings.h"

#include "store/Location.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace store {

namespace {

// A server that does not answer must not leave the desk waiting without end: the client
// library waits for ever unless told otherwise.
constexpr int ConnectTimeoutSeconds = 10;
// A server file is a few lines; anything this large is some other file.
constexpr qint64 MaxFileSize = 64 * 1024;

const QStringList &sslModes()
{
    static const QStringList modes{"disable", "allow",     "prefer",
                                   "require", "verify-ca", "verify-full"};
    return modes;
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

bool hasControlCharacter(const QString &value)
{
    return std::any_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x20; });
}

} // namespace

QString ServerSettings::defaultPath()
{
    return QFileInfo(databasePath()).absolutePath() + QStringLiteral("/server.ini");
}

QString ServerSettings::chosenPath(const QString &named)
{
    if (!named.isEmpty())
        return named;
    const QString beside = defaultPath();
    return QFileInfo::exists(beside) ? beside : QString();
}

ServerSettings ServerSettings::read(const QString &path)
{
    ServerSettings s;
    const QString shown = QDir::toNativeSeparators(path);
    auto fail = [&](int line, const QString &what) {
        const QString where =
            line > 0 ? QStringLiteral("%1, baris %2").arg(shown).arg(line) : shown;
        s.m_error =
            QStringLiteral("Pengaturan server tidak dapat dipakai: %1: %2.").arg(where, what);
        return s;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(0, QStringLiteral("file tidak dapat dibuka (%1)").arg(file.errorString()));
    if (file.size() > MaxFileSize)
        return fail(0, QStringLiteral("file terlalu besar untuk file pengaturan server"));
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode(file.readAll());
    if (decode.hasError())
        return fail(0, QStringLiteral("file bukan teks UTF-8"));

    bool inServer = false;
    bool sawServer = false;
    QHash<QString, int> seenAt;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int line = i + 1;
        const QString t = lines[i].trimmed();
        if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#'))
            continue;
        if (t.startsWith(u'[')) {
            const QString section = t.endsWith(u']') ? t.mid(1, t.size() - 2).trimmed() : QString();
            if (section.compare(u"server", Qt::CaseInsensitive) != 0)
                return fail(line, QStringLiteral("bagian \"%1\" tidak dikenal; file ini hanya "
                                                 "berisi bagian [server]")
                                      .arg(t));
            if (sawServer)
                return fail(line, QStringLiteral("bagian [server] muncul dua kali"));
            inServer = sawServer = true;
            continue;
        }
        const qsizetype equals = t.indexOf(u'=');
        if (equals <= 0)
            return fail(line, QStringLiteral("baris ini tidak berbentuk nama = isi"));
        if (!inServer)
            return fail(line, QStringLiteral("isian sebelum bagian [server]"));
        const QString key = t.left(equals).trimmed().toLower();
        if (seenAt.contains(key))
            return fail(
                line,
                QStringLiteral("\"%1\" sudah diisi di baris %2").arg(key).arg(seenAt.value(key)));
        seenAt.insert(key, line);
        if (!s.take(key, unquoted(t.mid(equals + 1).trimmed())))
            return fail(line, s.m_error);
    }
    if (!sawServer)
        return fail(0, QStringLiteral("bagian [server] tidak ada"));
    const struct
    {
        const char *key;
        bool given;
    } required[] = {{"host", !s.m_host.isEmpty()},
                    {"port", s.m_port > 0},
                    {"database", !s.m_database.isEmpty()},
                    {"user", !s.m_user.isEmpty()}};
    for (const auto &r : required) {
        if (!r.given)
            return fail(0, QStringLiteral("\"%1\" belum diisi").arg(QLatin1String(r.key)));
    }
    return s;
}

// Takes one line of the [server] section; on a fault leaves its description in m_error.
bool ServerSettings::take(const QString &key, const QString &value)
{
    if (key == u"password") {
        m_error =
            QStringLiteral("password tidak boleh ditulis di file ini; simpan di file password "
                           "PostgreSQL (~/.pgpass, di Windows "
                           "%APPDATA%\\postgresql\\pgpass.conf)");
        return false;
    }
    QString *field = key == u"host"       ? &m_host
                     : key == u"database" ? &m_database
                     : key == u"user"     ? &m_user
                     : key == u"sslmode"  ? &m_sslMode
                                          : nullptr;
    if (!field && key != u"port") {
        m_error = QStringLiteral("nama \"%1\" tidak dikenal; yang dikenal: host, port, "
                                 "database, user, sslmode")
                      .arg(key);
        return false;
    }
    if (value.isEmpty() || hasControlCharacter(value)) {
        m_error = QStringLiteral("isi \"%1\" kosong atau berisi karakter kontrol").arg(key);
        return false;
    }
    if (!field) {
        bool number = false;
        const int port = value.toInt(&number);
        if (!number || port < 1 || port > 65535 || !value.front().isDigit()) {
            m_error =
                QStringLiteral("port harus berupa angka 1 sampai 65535, bukan \"%1\"").arg(value);
            return false;
        }
        m_port = port;
        return true;
    }
    if (field == &m_sslMode && !sslModes().contains(value.toLower())) {
        m_error = QStringLiteral("sslmode \"%1\" tidak dikenal; pilih salah satu dari: %2")
                      .arg(value, sslModes().join(QStringLiteral(", ")));
        return false;
    }
    *field = field == &m_sslMode ? value.toLower() : value;
    return true;
}

QList<QPair<QByteArray, QByteArray>> ServerSettings::parameters() const
{
    QList<QPair<QByteArray, QByteArray>> all{
        {"host", m_host.toUtf8()},
        {"port", QByteArray::number(m_port)},
        {"dbname", m_database.toUtf8()},
        {"user", m_user.toUtf8()},
        {"connect_timeout", QByteArray::number(ConnectTimeoutSeconds)}};
    if (!m_sslMode.isEmpty())
        all.append({"sslmode", m_sslMode.toUtf8()});
    return all;
}

QString ServerSettings::describe() const
{
    return QStringLiteral("%1@%2:%3/%4").arg(m_user, m_host).arg(m_port).arg(m_database);
}

} // namespace store
