#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace store {

// Which PostgreSQL database a desk shares with the others: the [server] section of a
// server.ini. The password never comes from that file; the PostgreSQL client library reads it
// from its own password file (~/.pgpass, on Windows %APPDATA%\postgresql\pgpass.conf) or
// service file.
class ServerSettings
{
public:
    // server.ini in the folder of the database's fixed place.
    static QString defaultPath();
    // The server file a program or tool works with: the one named on its command line, else
    // the one beside the fixed place if it exists; empty when the desk keeps its own file.
    static QString chosenPath(const QString &named);

    // Reads a server file; check ok() and error() before using the settings.
    static ServerSettings read(const QString &path);

    bool ok() const { return m_error.isEmpty(); }
    // What is wrong with the file, in Indonesian, naming the file and the line.
    QString error() const { return m_error; }

    QString host() const { return m_host; }
    int port() const { return m_port; }
    QString database() const { return m_database; }
    QString user() const { return m_user; }
    QString sslMode() const { return m_sslMode; }

    // The client library's connection keywords and values that reach this server.
    QList<QPair<QByteArray, QByteArray>> parameters() const;
    // How messages name the server: user@host:port/database.
    QString describe() const;

private:
    bool take(const QString &key, const QString &value);
    QString m_error;
    QString m_host;
    int m_port = 0;
    QString m_database;
    QString m_user;
    QString m_sslMode;
};

} // namespace store
