#pragma once

#include <QString>

// Operator passwords are stored as salted slow hashes (libsodium's crypto_pwhash_str), never in
// clear. An empty stored text is the empty password (the initial "sa" row); a stored text that is
// not a hash is an old password kept in clear and is compared as it is until it is changed.
namespace TPasswordHash {

QString Hash(const QString& password);
bool Verify(const QString& stored, const QString& password);
bool IsHash(const QString& stored);

}  // namespace TPasswordHash
