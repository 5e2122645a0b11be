#include "core/TScramble.h"

QString ScrambleText(const QString& text) {
    static const char key[] = "brindosyte";
    constexpr int keyLength = 10;
    QString out = text;
    for (qsizetype j = 0; j < out.size(); ++j) {
        const ushort k = static_cast<unsigned char>(key[(j + 1) % keyLength]) % 10;
        out[j] = QChar(ushort(out[j].unicode() ^ k));
    }
    return out;
}
