#pragma once

#include <QString>

namespace store {

// The outcome of a store operation. Failures carry the engine's own text and a kind, from
// which message() builds the explanation a person reads in a message box.
class [[nodiscard]] Status
{
public:
    enum class Kind {
        None,
        Duplicate,
        InUse,
        MissingReference,
        Empty,
        NotANumber,
        NotADate,
        Busy,
        ReadOnly,
        Missing,
        Unreadable,
        Full,
        Gone,
        // The database server cannot be reached, or the connection to it was lost.
        Unreachable,
        // No connection to the database server could be opened at all (refused, unreachable,
        // the password or the server's certificate refused): nothing was pending.
        NotConnected,
        // The server file cannot be used.
        ServerSettings,
        NoCurrentRecord,
        RecordGone,
        Other
    };
    // What the failing statement was doing: a refused reference means a missing code on a
    // write and a code still in use on a delete.
    enum class Operation { Read, Write, Delete };

    Status() = default;
    static Status success() { return {}; }
    static Status failure(Kind kind, const QString &engineText);

    bool ok() const { return m_kind == Kind::None; }
    Kind kind() const { return m_kind; }
    QString engineText() const { return m_engineText; }
    // A short Indonesian explanation followed by the engine's own text.
    QString message() const;
    QString explanation() const;

private:
    Kind m_kind = Kind::None;
    QString m_engineText;
};

} // namespace store
