#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

// Once the save dialog comes up, types the name into it in that folder and presses Enter;
// keeps the name the dialog suggested.
inline void typeIntoSaveDialog(const QString &folder, const QString &typed, QString *suggested)
{
    QTimer::singleShot(0, [=] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        QVERIFY(name);
        *suggested = name->text();
        dialog->setDirectory(folder);
        name->selectAll();
        QTest::keyClicks(name, typed);
        QTest::keyClick(name, Qt::Key_Return);
    });
}
