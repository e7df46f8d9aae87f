// The other desk: the program's store in a process of its own, on the server that the server
// file given as its argument names. It reads one command a line from standard input and
// answers each with one line: "ok" or the failure's kind and the engine's text.
//   open TABLE | first | last | edit | add | set COLUMN VALUE | update | delete
//   begin | sql STATEMENT | commit | rollback | user NAME (who signed in at that desk)
#include "store/Database.h"
#include "store/History.h"
#include "store/Recordset.h"

#include <QCoreApplication>
#include <QTextStream>

#include <memory>

namespace {

store::Status act(const QString &line, std::unique_ptr<store::Recordset> &rs)
{
    const QString command = line.section(u' ', 0, 0);
    const QString rest = line.section(u' ', 1);
    store::Connection &db = store::Database::connection();
    if (command == u"open") {
        rs = std::make_unique<store::Recordset>(rest);
        return rs->open();
    }
    if (command == u"user") {
        store::history::setActor(rest);
        return store::Status::success();
    }
    if (command == u"begin")
        return db.begin();
    if (command == u"sql")
        return db.execute(rest);
    if (command == u"commit")
        return db.commit();
    if (command == u"rollback")
        return db.rollback();
    if (!rs)
        return store::Status::failure(store::Status::Kind::Other, QStringLiteral("no table"));
    // A move shows the record, and what a desk shows is what it read.
    if (command == u"first")
        return rs->moveFirst().ok() ? rs->readCurrent() : rs->moveFirst();
    if (command == u"last")
        return rs->moveLast().ok() ? rs->readCurrent() : rs->moveLast();
    if (command == u"edit")
        return rs->edit();
    if (command == u"add")
        return rs->addNew();
    if (command == u"set")
        return rs->setValue(rest.section(u' ', 0, 0), rest.section(u' ', 1));
    if (command == u"update")
        return rs->update();
    if (command == u"delete")
        return rs->remove();
    return store::Status::failure(store::Status::Kind::Other, QStringLiteral("unknown: ") + line);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    store::Database::setServerFile(QString::fromLocal8Bit(argv[1]));
    QTextStream in(stdin);
    QTextStream out(stdout);
    if (const store::Status opened = store::Database::open(); !opened.ok()) {
        out << opened.message().simplified() << '\n';
        return 1;
    }
    std::unique_ptr<store::Recordset> rs;
    QString line;
    while (in.readLineInto(&line)) {
        const store::Status status = act(line, rs);
        if (status.ok())
            out << "ok\n";
        else
            out << int(status.kind()) << ' ' << status.engineText().simplified() << '\n';
        out.flush();
    }
    return 0;
}
