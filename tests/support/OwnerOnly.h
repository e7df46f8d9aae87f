#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>

#ifdef Q_OS_WIN
#include <QDir>

#include <windows.h>

#include <aclapi.h>
#include <vector>
#endif

// True when only the user running the tests may reach path: on Unix no group or other bit is
// set and the owner may read and write (and enter a folder); on Windows every entry of its
// access list names that user.
inline bool ownerOnly(const QString &path)
{
#ifdef Q_OS_WIN
    std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(native.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &list, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<char> user(size);
    GetTokenInformation(token, TokenUser, user.data(), size, &size);
    CloseHandle(token);
    const PSID me = reinterpret_cast<TOKEN_USER *>(user.data())->User.Sid;
    bool only = list && list->AceCount > 0;
    for (WORD i = 0; only && i < list->AceCount; ++i) {
        void *entry = nullptr;
        only = GetAce(list, i, &entry) &&
               EqualSid(&static_cast<ACCESS_ALLOWED_ACE *>(entry)->SidStart, me);
    }
    LocalFree(descriptor);
    return only;
#else
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFile::Permissions owner =
        QFile::ReadOwner | QFile::WriteOwner |
        (QFileInfo(path).isDir() ? QFile::ExeOwner : QFile::Permissions());
    const QFile::Permissions mode = QFile::permissions(path);
    return (mode & others) == 0 && (mode & owner) == owner;
#endif
}

// Wine keeps no access list on a file: it turns one into a Unix mode and reads back a list
// made from that mode. Under Wine the owner-only list cannot be seen, and the check says so.
inline bool accessListsKept()
{
#ifdef Q_OS_WIN
    return !GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
#else
    return true;
#endif
}

#define VERIFY_OWNER_ONLY(path)                                                                    \
    do {                                                                                           \
        if (accessListsKept())                                                                     \
            QVERIFY(ownerOnly(path));                                                              \
        else                                                                                       \
            qInfo("Wine keeps no access list; not checked: %s", qPrintable(path));                 \
    } while (false)
