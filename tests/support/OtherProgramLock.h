#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Another program in the middle of a write on a database file: until release() nobody else
// can read it.
class OtherProgramLock
{
public:
    explicit OtherProgramLock(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name());
        db.setDatabaseName(path);
        m_held = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")) &&
                 QSqlQuery(db).exec(QStringLiteral("DELETE FROM Departemen"));
    }
    ~OtherProgramLock() { release(); }
    bool held() const { return m_held; }
    void release()
    {
        if (!QSqlDatabase::contains(name()))
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(name());
            db.rollback();
            db.close();
        }
        QSqlDatabase::removeDatabase(name());
    }

private:
    static QString name() { return QStringLiteral("other program"); }
    bool m_held = false;
};
