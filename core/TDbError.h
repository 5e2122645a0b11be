#pragma once

#include <QString>
#include <stdexcept>

// The error every database and dataset failure raises. Its text is what the operator sees:
// for a failed statement the provider's message, "\r\n", then the SQL text.
class TDbError : public std::runtime_error {
public:
    enum class Kind {
        Statement,      // the engine refused a statement
        Connection,     // no connection, or the connection was lost
        DataSetClosed,  // a closed dataset was asked for rows
        Field,          // an unknown field, or a value that does not fit its field
        Expression,     // a local filter or sort text that cannot be applied
        Schema          // the database does not have the system's tables
    };

    TDbError(Kind kind, const QString& message)
        : std::runtime_error(message.toStdString()), kind_(kind), message_(message) {}

    Kind kind() const { return kind_; }
    const QString& message() const { return message_; }

private:
    Kind kind_;
    QString message_;
};
