#include "CleanState.h"
#include "ScriptedDialogs.h"

#include "platform/Registry.h"
#include "platform/WindowRegistry.h"
#include "shell/Fmenu.h"
#include "shell/SystemInfo.h"
#include "shell/frmAbout.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstring>

using platform::Registry;

namespace {

const QString ProgramKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString FolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

// A registry of keys and values in memory that behaves like the platform's calls: names
// ignore case, a buffer too small fails with "more data", and it counts open keys.
class FakeRegistry : public Registry
{
public:
    struct Value
    {
        quint32 type = TypeString;
        QByteArray data;
    };

    FakeRegistry() { install(this); }
    ~FakeRegistry() override { install(nullptr); }

    void setString(const QString &key, const QString &name, const QString &text)
    {
        setValue(key, name, {TypeString, text.toLocal8Bit() + '\0'});
    }
    void setValue(const QString &key, const QString &name, const Value &value)
    {
        m_keys[key.toUpper()].values[name.toUpper()] = value;
    }
    // The key is there but a user without administrative rights may not open it fully.
    void refuseFullAccess(const QString &key) { m_keys[key.toUpper()].refusesFullAccess = true; }

    long openKey(platform::RegistryRoot, const QByteArray &path, quint32 access,
                 Handle *key) override
    {
        lastAccess = access;
        const QString name = QString::fromLocal8Bit(path).toUpper();
        if (!m_keys.contains(name))
            return FileNotFound;
        if (m_keys[name].refusesFullAccess && access == FullAccess)
            return AccessDenied;
        m_handles.append(name);
        *key = Handle(m_handles.size());
        ++openKeys;
        return Success;
    }

    long queryValue(Handle key, const QByteArray &name, quint32 *type, char *data,
                    quint32 *size) override
    {
        const auto &values = m_keys[m_handles.value(qsizetype(key) - 1)].values;
        const auto found = values.constFind(QString::fromLocal8Bit(name).toUpper());
        if (found == values.constEnd())
            return FileNotFound;
        const quint32 needed = quint32(found->data.size());
        if (needed > *size) {
            *size = needed;
            return MoreData;
        }
        std::memcpy(data, found->data.constData(), needed);
        *size = needed;
        *type = found->type;
        return Success;
    }

    long closeKey(Handle) override
    {
        --openKeys;
        return Success;
    }

    int openKeys = 0;
    quint32 lastAccess = 0;

private:
    struct Key
    {
        bool refusesFullAccess = false;
        QHash<QString, Value> values;
    };
    QHash<QString, Key> m_keys;
    QStringList m_handles;
};

// Looks files up on disk but starts nothing: a start "succeeds" only for a file that is there,
// as a real start would.
class RecordingPrograms : public shell::Programs
{
public:
    RecordingPrograms() { install(this); }
    ~RecordingPrograms() override { install(nullptr); }

    bool start(const QString &program) override
    {
        started << program;
        return isPlainFile(program);
    }

    QStringList started;
};

void makeFile(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser));
}

platform::RegistryValue lookUp(Registry &registry, const QString &key, const QString &name)
{
    return platform::readRegistryValue(registry, platform::RegistryRoot::LocalMachine, key, name);
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private:
    frmAbout *showAbout() { return platform::WindowRegistry::show<frmAbout>(); }

    void clickSystemInfo(frmAbout *about)
    {
        QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("cmdSysInfo")),
                          Qt::LeftButton);
    }

private Q_SLOTS:
    void init() { startClean(); }
    void cleanup() { startClean(); }

    // --- version text ---

    void versionText_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first release") << 1 << 0 << 0 << QStringLiteral("Version 1.0.0");
        QTest::newRow("two digits, no padding") << 1 << 2 << 15 << QStringLiteral("Version 1.2.15");
    }
    void versionText()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, expected);
        QCOMPARE(::versionText(major, minor, revision), expected);
    }

    // --- the window ---

    void loadSetsCaptionAndVersion()
    {
        frmAbout *about = showAbout();
        QCOMPARE(about->windowTitle(), QStringLiteral("About Program"));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version 1.0.0"));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("KELVARA"));
    }

    void windowHasCaptionOnlyAndFixedSize()
    {
        frmAbout *about = showAbout();
        const Qt::WindowFlags flags = about->windowFlags();
        QCOMPARE(about->windowType(), Qt::Tool);
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinMaxButtonsHint));
        QCOMPARE(about->size(), QSize(382, 237));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QCOMPARE(about->palette().color(QPalette::Window), QColor(0, 128, 128));
        // Open on its own after the main window has closed, it keeps the program running.
        QVERIFY(about->testAttribute(Qt::WA_QuitOnClose));
    }

    void controlsHaveTheirNamesAndPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::newRow("icon") << QStringLiteral("Image1") << QRect(8, 8, 48, 40);
        QTest::newRow("version") << QStringLiteral("lblVersion") << QRect(136, 56, 227, 15);
        QTest::newRow("credit") << QStringLiteral("Label1") << QRect(8, 120, 339, 30);
        QTest::newRow("grey line") << QStringLiteral("Line1(1)") << QRect(6, 163, 372, 1);
        QTest::newRow("white line") << QStringLiteral("Line1(0)") << QRect(7, 164, 371, 2);
        QTest::newRow("notice") << QStringLiteral("lblDisclaimer") << QRect(16, 176, 258, 55);
        QTest::newRow("ok") << QStringLiteral("cmdOK") << QRect(283, 175, 84, 23);
        QTest::newRow("system info") << QStringLiteral("cmdSysInfo") << QRect(284, 205, 83, 23);
    }
    void controlsHaveTheirNamesAndPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QWidget *control = showAbout()->findChild<QWidget *>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->geometry(), place);
    }

    void nameIsNotCutOff()
    {
        auto *name = showAbout()->findChild<QLabel *>(QStringLiteral("Label2"));
        QCOMPARE(name->pos(), QPoint(64, 8));
        QCOMPARE(name->height(), 41);
        QVERIFY(name->width() >= 137);
        QVERIFY(name->width() >= name->sizeHint().width());
        QCOMPARE(name->font().pointSizeF(), 26.25);
        QVERIFY(name->font().bold());
        QCOMPARE(name->palette().color(QPalette::WindowText), QColor(128, 128, 255));
    }

    void buttonsAndTabOrder()
    {
        frmAbout *about = showAbout();
        auto *ok = about->findChild<QPushButton *>(QStringLiteral("cmdOK"));
        auto *sysInfo = about->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(sysInfo->text(), QStringLiteral("&System Info..."));
        QVERIFY(ok->isDefault());
        QCOMPARE(ok->nextInFocusChain(), sysInfo);
        QVERIFY(!about->findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().isNull());
        auto *grey = about->findChild<QFrame *>(QStringLiteral("Line1(1)"));
        auto *white = about->findChild<QFrame *>(QStringLiteral("Line1(0)"));
        QCOMPARE(grey->palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(white->palette().color(QPalette::Window), QColor(255, 255, 255));
    }

    void okAndKeysCloseTheBox_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        for (const QString &button : {QStringLiteral("cmdOK"), QStringLiteral("cmdSysInfo")}) {
            QTest::addRow("Return on %s", qPrintable(button)) << button << int(Qt::Key_Return);
            QTest::addRow("Enter on %s", qPrintable(button)) << button << int(Qt::Key_Enter);
            QTest::addRow("Escape on %s", qPrintable(button)) << button << int(Qt::Key_Escape);
        }
        QTest::addRow("click OK") << QStringLiteral("cmdOK") << 0;
    }
    void okAndKeysCloseTheBox()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        RecordingPrograms programs;
        ScriptedDialogs dialogs;
        QPointer<frmAbout> about = showAbout();
        auto *button = about->findChild<QPushButton *>(focus);
        button->setFocus();
        if (key)
            QTest::keyClick(button, Qt::Key(key));
        else
            QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(about.isNull());
        // Closing is all it does: the system information was not asked for.
        QVERIFY(programs.started.isEmpty());
        QCOMPARE(dialogs.count(), 0);
        QVERIFY(platform::WindowRegistry::find<frmAbout>() == nullptr);
    }

    void showingAgainKeepsOneBox()
    {
        frmAbout *first = showAbout();
        QCOMPARE(showAbout(), first);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget *w) { return qobject_cast<frmAbout *>(w); }),
                 1);
    }

    void menuEntryOpensTheBox()
    {
        Fmenu *menu = platform::WindowRegistry::show<Fmenu>();
        auto *entry = menu->findChild<QAction *>(QStringLiteral("mnabout"));
        QVERIFY(entry);
        QCOMPARE(entry->shortcut(), QKeySequence(Qt::Key_F5));
        entry->trigger();
        frmAbout *about = platform::WindowRegistry::find<frmAbout>();
        QVERIFY(about && about->isVisible());
        QVERIFY(!about->parentWidget());
        entry->trigger();
        QCOMPARE(platform::WindowRegistry::find<frmAbout>(), about);
    }

    // --- System Info ---

    void programPathIsStartedUnchecked()
    {
        // The first value is started as it stands; a file that is not there fails to start.
        FakeRegistry registry;
        RecordingPrograms programs;
        ScriptedDialogs dialogs;
        QTemporaryDir folder;
        makeFile(folder.filePath(QStringLiteral("MSINFO32.EXE")));
        const QString missing = QStringLiteral("C:\\Program Files\\Missing\\msinfo32.exe");
        registry.setString(ProgramKey, QStringLiteral("PATH"), missing);
        registry.setString(FolderKey, QStringLiteral("MSINFO"), folder.path());

        QPointer<frmAbout> about = showAbout();
        dialogs.expect(Unavailable);
        clickSystemInfo(about);
        QCOMPARE(programs.started, QStringList{missing});
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.last().text, Unavailable);
        QCOMPARE(dialogs.last().title, QStringLiteral("Kelvara"));
        QCOMPARE(dialogs.last().icon, platform::Icon::None);
        QCOMPARE(dialogs.last().buttons, platform::Buttons::Ok);
        QVERIFY(about && about->isVisible());
        QCOMPARE(registry.openKeys, 0);
    }

    void programPathThatExistsStartsWithoutMessage()
    {
        FakeRegistry registry;
        RecordingPrograms programs;
        ScriptedDialogs dialogs;
        QTemporaryDir folder;
        const QString program = folder.filePath(QStringLiteral("sysinfo"));
        makeFile(program);
        registry.setString(ProgramKey, QStringLiteral("PATH"), program);

        QPointer<frmAbout> about = showAbout();
        clickSystemInfo(about);
        QCOMPARE(programs.started, QStringList{program});
        QCOMPARE(dialogs.count(), 0);
        QVERIFY(about && about->isVisible());
    }

    void folderValueLeadsToMsinfo32_data()
    {
        QTest::addColumn<QString>("entry"); // what the folder holds under the name
        QTest::addColumn<bool>("starts");
        QTest::newRow("program there") << QStringLiteral("file") << true;
        QTest::newRow("program missing") << QString() << false;
        QTest::newRow("a folder of that name") << QStringLiteral("folder") << false;
    }
    void folderValueLeadsToMsinfo32()
    {
        QFETCH(QString, entry);
        QFETCH(bool, starts);
        FakeRegistry registry;
        RecordingPrograms programs;
        ScriptedDialogs dialogs;
        QTemporaryDir folder;
        const QString program = folder.filePath(QStringLiteral("MSINFO32.EXE"));
        if (entry == QLatin1String("file"))
            makeFile(program);
        else if (entry == QLatin1String("folder"))
            QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("MSINFO32.EXE")));
        registry.setString(FolderKey, QStringLiteral("MSINFO"), folder.path());
        if (!starts)
            dialogs.expect(Unavailable);

        clickSystemInfo(showAbout());
        QCOMPARE(programs.started, starts ? QStringList{program} : QStringList{});
        QCOMPARE(dialogs.count(), starts ? 0 : 1);
        if (!starts)
            QCOMPARE(dialogs.last().text, Unavailable);
    }

    void neitherValueShowsTheMessageEachTime()
    {
        FakeRegistry registry;
        RecordingPrograms programs;
        ScriptedDialogs dialogs;
        QPointer<frmAbout> about = showAbout();
        dialogs.expect(Unavailable);
        dialogs.expect(Unavailable);
        clickSystemInfo(about);
        clickSystemInfo(about);
        QVERIFY(programs.started.isEmpty());
        QCOMPARE(dialogs.count(), 2);
        QCOMPARE(dialogs.last().text, Unavailable);
        QVERIFY(about && about->isVisible());
    }

    void keyRefusingFullAccessCountsAsMissing()
    {
        FakeRegistry registry;
        RecordingPrograms programs;
        ScriptedDialogs dialogs;
        QTemporaryDir folder;
        makeFile(folder.filePath(QStringLiteral("MSINFO32.EXE")));
        registry.setString(ProgramKey, QStringLiteral("PATH"), QStringLiteral("/elsewhere"));
        registry.refuseFullAccess(ProgramKey);
        registry.setString(FolderKey, QStringLiteral("MSINFO"), folder.path());

        clickSystemInfo(showAbout());
        QCOMPARE(registry.lastAccess, quint32(0x2003F));
        QCOMPARE(programs.started, QStringList{folder.filePath(QStringLiteral("MSINFO32.EXE"))});
        QCOMPARE(dialogs.count(), 0);
    }

    void altSPressesSystemInfo()
    {
        FakeRegistry registry;
        RecordingPrograms programs;
        ScriptedDialogs dialogs;
        frmAbout *about = showAbout();
        QVERIFY(QTest::qWaitForWindowActive(about));
        dialogs.expect(Unavailable);
        QTest::keyClick(about, Qt::Key_S, Qt::AltModifier);
        // A mnemonic presses its button after a short animation.
        QTRY_COMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.last().text, Unavailable);
    }

    void startingMissingProgramFails()
    {
        // The machine's own start, on paths that cannot start anything.
        shell::Programs machine;
        QTemporaryDir folder;
        QVERIFY(!machine.start(QString()));
        QVERIFY(!machine.start(folder.filePath(QStringLiteral("nothing-here"))));
        QVERIFY(!machine.isPlainFile(folder.path()));
    }

    // --- the registry lookup ---

    void stringValueKeepsTextUpToItsZero_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("text");
        const QByteArray path("C:\\WINDOWS\\msinfo32.exe");
        QTest::newRow("with its zero") << path + '\0' << true << QString::fromLatin1(path);
        QTest::newRow("without its zero") << path << true << QString::fromLatin1(path);
        QTest::newRow("only a zero") << QByteArray(1, '\0') << true << QString();
        QTest::newRow("nothing stored") << QByteArray() << true << QString();
        QTest::newRow("1024 bytes") << QByteArray(1024, 'x') << true << QString(1024, 'x');
        QTest::newRow("1023 and a zero")
            << QByteArray(1023, 'x') + '\0' << true << QString(1023, 'x');
        QTest::newRow("1025 bytes") << QByteArray(1025, 'x') << false << QString();
        QTest::newRow("1024 and a zero") << QByteArray(1024, 'x') + '\0' << false << QString();
    }
    void stringValueKeepsTextUpToItsZero()
    {
        QFETCH(QByteArray, data);
        QFETCH(bool, found);
        QFETCH(QString, text);
        FakeRegistry registry;
        registry.setValue(ProgramKey, QStringLiteral("PATH"), {Registry::TypeString, data});
        const platform::RegistryValue value = lookUp(registry, ProgramKey, QStringLiteral("PATH"));
        QCOMPARE(value.found, found);
        QCOMPARE(value.text, text);
        QCOMPARE(registry.openKeys, 0);
    }

    void numberValueIsHexOfItsBytesReversed_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        // Stored little-endian; a last byte of zero is taken for a string's end.
        QTest::newRow("all four bytes")
            << QByteArray("\x78\x56\x34\x12", 4) << QStringLiteral("&h12345678");
        QTest::newRow("high byte zero dropped")
            << QByteArray("\xA0\xF2\x01\x00", 4) << QStringLiteral("&h1F2A0");
        QTest::newRow("zeros inside without padding")
            << QByteArray("\x10\x00\x00\x00", 4) << QStringLiteral("&h0010");
        QTest::newRow("all ones") << QByteArray("\xFF\xFF\xFF\xFF", 4)
                                  << QStringLiteral("&hFFFFFFFF");
    }
    void numberValueIsHexOfItsBytesReversed()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        FakeRegistry registry;
        registry.setValue(FolderKey, QStringLiteral("Count"), {Registry::TypeNumber, data});
        const platform::RegistryValue value = lookUp(registry, FolderKey, QStringLiteral("Count"));
        QVERIFY(value.found);
        QCOMPARE(value.text, text);
    }

    void otherTypesAndMissingOnes()
    {
        FakeRegistry registry;
        registry.setValue(FolderKey, QStringLiteral("Blob"), {3, QByteArray("\x01\x02", 2)});
        const platform::RegistryValue blob = lookUp(registry, FolderKey, QStringLiteral("blob"));
        QVERIFY(blob.found);
        QVERIFY(blob.text.isEmpty());

        const platform::RegistryValue noValue = lookUp(registry, FolderKey, QStringLiteral("X"));
        QVERIFY(!noValue.found);
        QCOMPARE(registry.openKeys, 0);

        const platform::RegistryValue noKey = lookUp(registry, ProgramKey, QStringLiteral("PATH"));
        QVERIFY(!noKey.found);
        QVERIFY(noKey.text.isEmpty());
        QCOMPARE(registry.openKeys, 0);
    }

    // --- the stand-in off Windows ---

    void standInAnswersWithAnInstalledProgram()
    {
        QTemporaryDir bin;
        makeFile(bin.filePath(QStringLiteral("kinfocenter")));
        makeFile(bin.filePath(QStringLiteral("hardinfo")));
        platform::StandInRegistry standIn({bin.path()});
        // hardinfo is preferred to kinfocenter.
        const platform::RegistryValue path = lookUp(standIn, ProgramKey, QStringLiteral("PATH"));
        QVERIFY(path.found);
        QCOMPARE(path.text, bin.filePath(QStringLiteral("hardinfo")));
        QVERIFY(!lookUp(standIn, FolderKey, QStringLiteral("MSINFO")).found);
        QVERIFY(!lookUp(standIn, ProgramKey, QStringLiteral("OTHER")).found);
    }

    void standInFindsNothingWithoutAProgram()
    {
        QTemporaryDir bin;
        makeFile(bin.filePath(QStringLiteral("not-a-system-tool")));
        platform::StandInRegistry standIn({bin.path()});
        QVERIFY(!lookUp(standIn, ProgramKey, QStringLiteral("PATH")).found);
        QVERIFY(standIn.systemInformationProgram().isEmpty());
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"
