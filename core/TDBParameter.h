#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QVariant>
#include <vector>

// A value bound to the placeholder ":Name" of a statement. A null QVariant binds SQL null.
struct TDBParameter {
    QString Name;
    QVariant Value;
};

// A blob bound to ":Name", read from the stream's current position to its end. The caller owns the
// stream. Bytes can be given directly instead, which is what most callers have at hand.
struct TxDBParameter {
    QString Name;
    QIODevice* Stream = nullptr;
    QByteArray Bytes;

    QByteArray ReadAll() const { return Stream ? Stream->readAll() : Bytes; }
};

using TDBParameters = std::vector<TDBParameter>;
using TxDBParameters = std::vector<TxDBParameter>;

inline TDBParameter DBParam(const QString& name, const QVariant& value) {
    return TDBParameter{name, value};
}
inline TxDBParameter DBBlob(const QString& name, const QByteArray& bytes) {
    return TxDBParameter{name, nullptr, bytes};
}
