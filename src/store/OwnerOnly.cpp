#include "store/OwnerOnly.h"

#ifdef Q_OS_WIN
#include <QDir>

#include <windows.h>

#include <aclapi.h>
#include <vector>
#else
#include <QFile>
#endif

namespace store {

#ifdef Q_OS_WIN

namespace {

QString windowsError(DWORD code)
{
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString message =
        text ? QString::fromWCharArray(text).trimmed() : QStringLiteral("error %1").arg(code);
    LocalFree(text);
    return message;
}

// The account the program runs as, from its process token.
std::vector<char> currentUser(DWORD *error)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        *error = GetLastError();
        return {};
    }
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<char> user(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, user.data(), size, &size)) {
        *error = GetLastError();
        user.clear();
    }
    CloseHandle(token);
    return user;
}

} // namespace

QString keepToOwner(const QString &path, bool folder)
{
    DWORD error = ERROR_SUCCESS;
    std::vector<char> user = currentUser(&error);
    if (user.empty())
        return windowsError(error);

    EXPLICIT_ACCESSW entry{};
    entry.grfAccessPermissions = FILE_ALL_ACCESS;
    entry.grfAccessMode = SET_ACCESS;
    entry.grfInheritance = folder ? SUB_CONTAINERS_AND_OBJECTS_INHERIT : NO_INHERITANCE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_USER;
    entry.Trustee.ptstrName =
        static_cast<LPWSTR>(reinterpret_cast<TOKEN_USER *>(user.data())->User.Sid);
    PACL list = nullptr;
    error = SetEntriesInAclW(1, &entry, nullptr, &list);
    if (error != ERROR_SUCCESS)
        return windowsError(error);

    std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    error = SetNamedSecurityInfoW(native.data(), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, list, nullptr);
    LocalFree(list);
    return error == ERROR_SUCCESS ? QString() : windowsError(error);
}

#else

QString keepToOwner(const QString &path, bool folder)
{
    const QFile::Permissions owner =
        QFile::ReadOwner | QFile::WriteOwner | (folder ? QFile::ExeOwner : QFile::Permissions());
    if (!QFile::setPermissions(path, owner))
        return QStringLiteral("cannot set the mode");
    return {};
}

#endif

} // namespace store
