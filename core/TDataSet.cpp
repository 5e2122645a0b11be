#include "core/TDataSet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>

#include "core/TDataFilter.h"
#include "core/TDbError.h"

namespace {

constexpr qint64 kNullInt = std::numeric_limits<qint64>::min();
constexpr quint32 kNullRef = 0xFFFFFFFFu;
constexpr quint32 kBigFlag = 0x80000000u;
constexpr qint64 kEpochJulianDay = 2440588;  // 1970-01-01
constexpr qint64 kMsPerDay = 86400000;

// Cells live in fixed-size blocks: growing never copies what is stored, and freed blocks are
// small enough for the allocator to reuse (large growing vectors cost page faults).
template <class T>
class Blocks {
public:
    static constexpr int kShift = 13;
    static constexpr int kSize = 1 << kShift;

    void push(const T& v) {
        if (size_ < kSize) {
            // The first block grows by doubling up to its full size, so a small result does not
            // pay for a whole block per column; after that, whole blocks and no copies.
            if (size_ == cap0_) grow0();
            blocks_[0][size_] = v;
        } else {
            if ((size_ & (kSize - 1)) == 0) blocks_.emplace_back(new T[kSize]);
            blocks_.back()[size_ & (kSize - 1)] = v;
        }
        ++size_;
    }
    T& at(int i) { return blocks_[size_t(i) >> kShift][i & (kSize - 1)]; }
    const T& at(int i) const { return blocks_[size_t(i) >> kShift][i & (kSize - 1)]; }
    int size() const { return size_; }
    void clear() {
        blocks_.clear();
        size_ = 0;
        cap0_ = 0;
    }
    qint64 bytes() const {
        return blocks_.empty() ? 0 : (qint64(cap0_) + qint64(blocks_.size() - 1) * kSize) * qint64(sizeof(T));
    }

private:
    void grow0() {
        const int cap = cap0_ == 0 ? 64 : std::min(cap0_ * 2, kSize);
        std::unique_ptr<T[]> block(new T[cap]);
        for (int i = 0; i < size_; ++i)
            block[i] = std::move(blocks_[0][i]);
        if (blocks_.empty())
            blocks_.push_back(std::move(block));
        else
            blocks_[0] = std::move(block);
        cap0_ = cap;
    }
    std::vector<std::unique_ptr<T[]>> blocks_;
    int size_ = 0;
    int cap0_ = 0;
};

// UTF-8 texts packed one after another in 64 KiB blocks, each behind a varint length. A cell
// holds a 32-bit reference; texts too long for a block are kept apart.
class TextArena {
public:
    static constexpr quint32 kBlock = 1u << 16;
    static constexpr size_t kLongText = 8192;

    quint32 add(const char* s, size_t n) {
        if (n >= kLongText) {
            big_.emplace_back(s, qsizetype(n));
            return kBigFlag | quint32(big_.size() - 1);
        }
        const size_t need = n + 3;  // at most a 2-byte varint (n < 16384) plus slack
        if (blocks_.empty() || used_ + need > kBlock) {
            blocks_.emplace_back(new char[kBlock]);
            used_ = 0;
        }
        char* base = blocks_.back().get();
        const quint32 ref = quint32((blocks_.size() - 1) * kBlock + used_);
        char* p = base + used_;
        if (n < 128) {
            *p++ = char(n);
        } else {
            *p++ = char(0x80 | (n & 0x7F));
            *p++ = char(n >> 7);
        }
        if (n) std::memcpy(p, s, n);
        used_ = quint32(p - base + n);
        return ref;
    }

    void get(quint32 ref, const char** s, size_t* n) const {
        if (ref & kBigFlag) {
            const QByteArray& b = big_[ref & ~kBigFlag];
            *s = b.constData();
            *n = size_t(b.size());
            return;
        }
        const unsigned char* p =
            reinterpret_cast<const unsigned char*>(blocks_[ref / kBlock].get() + (ref % kBlock));
        size_t len = p[0];
        if (len & 0x80) {
            len = (len & 0x7F) | (size_t(p[1]) << 7);
            p += 2;
        } else {
            p += 1;
        }
        *s = reinterpret_cast<const char*>(p);
        *n = len;
    }

    void clear() {
        blocks_.clear();
        big_.clear();
        used_ = 0;
    }
    qint64 bytes() const {
        qint64 b = qint64(blocks_.size()) * kBlock;
        for (const auto& x : big_)
            b += x.size();
        return b;
    }

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<QByteArray> big_;
    quint32 used_ = 0;
};

enum class Store { Int, Dbl, Ref, Var };

Store storeOf(TFieldKind kind) {
    switch (kind) {
        case TFieldKind::Integer:
        case TFieldKind::DateTime:
        case TFieldKind::Boolean:
            return Store::Int;
        case TFieldKind::Float:
            return Store::Dbl;
        case TFieldKind::Text:
        case TFieldKind::Memo:
            return Store::Ref;
        default:
            return Store::Var;
    }
}

struct Column {
    TFieldKind kind;
    Store store;
    Blocks<qint64> ints;
    Blocks<double> dbls;
    Blocks<quint32> refs;
    Blocks<QVariant> vars;

    void clear() {
        ints.clear();
        dbls.clear();
        refs.clear();
        vars.clear();
    }
};

inline bool isNullDouble(double v) {
    return std::isnan(v);
}
const double kNullDouble = std::numeric_limits<double>::quiet_NaN();

QString formatFloat(double v, const QString& format) {
    // "0" gives no decimals, "0.00" always two, "0.##" (the default) up to two.
    int decimals = 2;
    bool fixed = false;
    if (!format.isEmpty()) {
        const int dot = format.indexOf(u'.');
        decimals = dot < 0 ? 0 : int(format.size()) - dot - 1;
        fixed = dot >= 0 && format.at(dot + 1) == u'0';
    }
    QString s = QString::number(v, 'f', decimals);
    if (!fixed && decimals > 0 && s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.')) s.chop(1);
    }
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

// Formats the stored wall time directly: building a local QDateTime asks the system's time zone
// on every call, which dominated exports of date columns.
QString formatDateTimeMs(qint64 ms) {
    qint64 days = ms / kMsPerDay;
    qint64 rest = ms % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    const QDate date = QDate::fromJulianDay(days + kEpochJulianDay);
    if (rest == 0) return date.toString(QStringLiteral("yyyy-MM-dd"));
    return date.toString(QStringLiteral("yyyy-MM-dd ")) +
           QTime::fromMSecsSinceStartOfDay(int(rest)).toString(QStringLiteral("hh:mm:ss"));
}

inline char foldChar(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Text order of the local sort and of filter comparisons: bytes of UTF-8 (code point order),
// ASCII letters without regard to case.
int compareText(const char* a, size_t an, const char* b, size_t bn) {
    // Equal texts are common in a sort (a publisher, a department); the byte comparison is fast.
    if (an == bn && std::memcmp(a, b, an) == 0) return 0;
    const size_t n = std::min(an, bn);
    for (size_t i = 0; i < n; ++i) {
        const char x = foldChar(a[i]), y = foldChar(b[i]);
        if (x != y) return (unsigned char)x < (unsigned char)y ? -1 : 1;
    }
    return an < bn ? -1 : (an > bn ? 1 : 0);
}

}  // namespace

struct TDataSet::Data {
    std::vector<std::unique_ptr<TField>> fields;
    std::vector<Column> columns;
    TextArena arena;
    int rows = 0;                 // physical rows, deleted ones included
    std::vector<quint8> deleted;  // per physical row
    std::vector<int> order;       // view order: physical rows after filter and sort
    int cur = -1;                 // position in order
    State state = State::Inactive;
    std::vector<QVariant> buffer;  // pending row in Edit/Insert
    int editPhysical = -1;
    int calcPhysical = -1;
    int loadColumn = 0;
    int disableCount = 0;
    bool eof = false;
    QString filterText;
    bool filtered = false;
    std::unique_ptr<TFilterNode> filter;
    QString sortText;
    std::vector<std::pair<int, bool>> sortKeys;  // column, descending
    std::function<void(TDataSet&)> calc;
};

// ---------------------------------------------------------------- TField

bool TField::IsNull() const {
    return dataSet_->readValue(index_).isNull();
}
QVariant TField::Value() const {
    return dataSet_->readValue(index_);
}

QString TField::AsString() const {
    const QVariant v = Value();
    if (v.isNull()) return QString();
    switch (kind_) {
        case TFieldKind::DateTime:
            return formatDateTimeMs(TDataSet::EncodeDateTime(v.toDateTime()));
        case TFieldKind::Float:
            return QString::number(v.toDouble(), 'g', 15);
        case TFieldKind::Boolean:
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        default:
            return v.toString();
    }
}

int TField::AsInteger() const {
    return int(AsLargeInt());
}

qint64 TField::AsLargeInt() const {
    const QVariant v = Value();
    if (v.isNull()) return 0;
    if (kind_ == TFieldKind::Float || v.typeId() == QMetaType::Double)
        return qint64(std::llround(v.toDouble()));
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (ok) return n;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (ok) return qint64(std::llround(d));
        throw TDbError(TDbError::Kind::Field, QStringLiteral("\"%1\" 不是有效的整数.").arg(v.toString()));
    }
    return v.toLongLong();
}

double TField::AsFloat() const {
    const QVariant v = Value();
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (!ok)
            throw TDbError(TDbError::Kind::Field, QStringLiteral("\"%1\" 不是有效的数字.").arg(v.toString()));
        return d;
    }
    return v.toDouble();
}

QDateTime TField::AsDateTime() const {
    const QVariant v = Value();
    if (v.isNull()) return QDateTime();
    if (v.typeId() == QMetaType::QString) {
        const QByteArray b = v.toString().toUtf8();
        qint64 ms = 0;
        if (TDataSet::ParseDateTimeText(b.constData(), size_t(b.size()), &ms))
            return TDataSet::DecodeDateTime(ms);
        return QDateTime();
    }
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
    return v.toDateTime();
}

bool TField::AsBoolean() const {
    const QVariant v = Value();
    if (v.isNull()) return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        return s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s == QLatin1String("1");
    }
    return v.toBool();
}

QByteArray TField::AsBytes() const {
    const QVariant v = Value();
    if (v.typeId() == QMetaType::QByteArray) return v.toByteArray();
    return v.toString().toUtf8();
}

QString TField::DisplayText() const {
    const QVariant v = Value();
    if (v.isNull()) return QString();
    if (kind_ == TFieldKind::Float) return formatFloat(v.toDouble(), DisplayFormat);
    if (kind_ == TFieldKind::Blob) return QStringLiteral("(BLOB)");
    return AsString();
}

void TField::SetValue(const QVariant& value) {
    dataSet_->writeValue(index_, value);
}

// ---------------------------------------------------------------- TDataSet

TDataSet::TDataSet(QObject* parent) : QObject(parent), d(std::make_unique<Data>()) {}
TDataSet::~TDataSet() = default;

TField* TDataSet::AddField(TFieldKind kind, const QString& name, int size) {
    if (d->state != State::Inactive)
        throw TDbError(TDbError::Kind::Field,
                       QStringLiteral("Cannot add field '%1' to an open dataset").arg(name));
    auto* f = new TField(this, kind, name, int(d->fields.size()));
    f->Size = size >= 0 ? size : (f->IsTextual() ? 20 : 0);
    f->DisplayWidth = f->IsTextual() ? qBound(4, f->Size, 40) : 10;
    d->fields.emplace_back(f);
    return f;
}

void TDataSet::ClearFields() {
    if (d->state != State::Inactive) Close();
    d->fields.clear();
}

int TDataSet::FieldCount() const {
    return int(d->fields.size());
}
TField* TDataSet::Field(int index) const {
    return d->fields.at(size_t(index)).get();
}

int TDataSet::FieldIndex(const QString& name) const {
    for (size_t i = 0; i < d->fields.size(); ++i)
        if (d->fields[i]->FieldName().compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

TField* TDataSet::FindField(const QString& name) const {
    const int i = FieldIndex(name);
    return i < 0 ? nullptr : d->fields[size_t(i)].get();
}

TField* TDataSet::FieldByName(const QString& name) const {
    TField* f = FindField(name);
    if (!f) throw TDbError(TDbError::Kind::Field, QStringLiteral("Field '%1' not found").arg(name));
    return f;
}

void TDataSet::BeginLoad() {
    if (d->state != State::Inactive) Close();
    beginReset();
    d->columns.clear();
    d->columns.resize(d->fields.size());
    for (size_t i = 0; i < d->fields.size(); ++i) {
        d->columns[i].kind = d->fields[i]->Kind();
        d->columns[i].store = storeOf(d->columns[i].kind);
    }
    d->arena.clear();
    d->rows = 0;
    d->deleted.clear();
    d->order.clear();
    d->cur = -1;
    d->loadColumn = 0;
    d->state = State::Browse;
}

void TDataSet::LoadNull(int c) {
    Column& col = d->columns[size_t(c)];
    switch (col.store) {
        case Store::Int:
            col.ints.push(kNullInt);
            break;
        case Store::Dbl:
            col.dbls.push(kNullDouble);
            break;
        case Store::Ref:
            col.refs.push(kNullRef);
            break;
        case Store::Var:
            col.vars.push(QVariant());
            break;
    }
}

void TDataSet::LoadInteger(int c, qint64 v) {
    Column& col = d->columns[size_t(c)];
    switch (col.store) {
        case Store::Int:
            col.ints.push(v);
            break;
        case Store::Dbl:
            col.dbls.push(double(v));
            break;
        case Store::Ref: {
            const QByteArray s = QByteArray::number(v);
            col.refs.push(d->arena.add(s.constData(), size_t(s.size())));
            break;
        }
        case Store::Var:
            col.vars.push(QVariant(v));
            break;
    }
}

void TDataSet::LoadFloat(int c, double v) {
    Column& col = d->columns[size_t(c)];
    switch (col.store) {
        case Store::Int:
            col.ints.push(col.kind == TFieldKind::Boolean ? (v != 0) : qint64(std::llround(v)));
            break;
        case Store::Dbl:
            col.dbls.push(v);
            break;
        case Store::Ref: {
            const QByteArray s = QByteArray::number(v, 'g', 15);
            col.refs.push(d->arena.add(s.constData(), size_t(s.size())));
            break;
        }
        case Store::Var:
            col.vars.push(QVariant(v));
            break;
    }
}

void TDataSet::LoadDateTimeMs(int c, qint64 ms) {
    Column& col = d->columns[size_t(c)];
    if (col.store == Store::Int && col.kind == TFieldKind::DateTime)
        col.ints.push(ms);
    else
        LoadVariant(c, DecodeDateTime(ms));
}

void TDataSet::LoadBoolean(int c, bool v) {
    Column& col = d->columns[size_t(c)];
    if (col.store == Store::Int)
        col.ints.push(v ? 1 : 0);
    else if (col.store == Store::Dbl)
        col.dbls.push(v ? 1 : 0);
    else
        LoadVariant(c, v);
}

void TDataSet::LoadText(int c, const char* s, size_t n) {
    Column& col = d->columns[size_t(c)];
    switch (col.store) {
        case Store::Ref:
            col.refs.push(d->arena.add(s, n));
            break;
        case Store::Int: {
            if (col.kind == TFieldKind::DateTime) {
                qint64 ms = 0;
                col.ints.push(ParseDateTimeText(s, n, &ms) ? ms : kNullInt);
            } else if (col.kind == TFieldKind::Boolean) {
                const bool t =
                    n > 0 && (s[0] == 't' || s[0] == 'T' || s[0] == '1' || s[0] == 'y' || s[0] == 'Y');
                col.ints.push(n == 0 ? kNullInt : (t ? 1 : 0));
            } else {
                bool ok = false;
                const qint64 v = QByteArray(s, qsizetype(n)).trimmed().toLongLong(&ok);
                col.ints.push(ok ? v : kNullInt);
            }
            break;
        }
        case Store::Dbl: {
            bool ok = false;
            const double v = QByteArray(s, qsizetype(n)).trimmed().toDouble(&ok);
            col.dbls.push(ok ? v : kNullDouble);
            break;
        }
        case Store::Var:
            if (col.kind == TFieldKind::Blob)
                col.vars.push(QVariant(QByteArray(s, qsizetype(n))));
            else
                col.vars.push(QVariant(QString::fromUtf8(s, qsizetype(n))));
            break;
    }
}

void TDataSet::LoadVariant(int c, const QVariant& v) {
    Column& col = d->columns[size_t(c)];
    if (v.isNull()) {
        LoadNull(c);
        return;
    }
    switch (col.store) {
        case Store::Var:
            col.vars.push(col.kind == TFieldKind::Blob ? QVariant(v.toByteArray()) : v);
            break;
        case Store::Ref: {
            const QByteArray s = v.toString().toUtf8();
            col.refs.push(d->arena.add(s.constData(), size_t(s.size())));
            break;
        }
        case Store::Dbl:
            col.dbls.push(v.toDouble());
            break;
        case Store::Int:
            if (col.kind == TFieldKind::DateTime) {
                if (v.typeId() == QMetaType::QString) {
                    const QByteArray b = v.toString().toUtf8();
                    LoadText(c, b.constData(), size_t(b.size()));
                } else {
                    col.ints.push(v.typeId() == QMetaType::QDate
                                      ? EncodeDateTime(QDateTime(v.toDate(), QTime(0, 0)))
                                      : EncodeDateTime(v.toDateTime()));
                }
            } else if (col.kind == TFieldKind::Boolean) {
                col.ints.push(v.toBool() ? 1 : 0);
            } else if (v.typeId() == QMetaType::Double) {
                col.ints.push(qint64(std::llround(v.toDouble())));
            } else {
                col.ints.push(v.toLongLong());
            }
            break;
    }
}

void TDataSet::EndLoadRow() {
    d->deleted.push_back(0);
    ++d->rows;
}

void TDataSet::EndLoad() {
    if (d->calc) {
        for (int r = 0; r < d->rows; ++r)
            runCalc(r);
    }
    // The local filter and sort stay as they were set: a reopened list keeps its order.
    computeOrder(-1);
    endReset();
}

void TDataSet::CreateDataSet() {
    BeginLoad();
    EndLoad();
}

void TDataSet::Close() {
    if (d->state == State::Inactive) return;
    beginReset();
    d->columns.clear();
    d->arena.clear();
    d->rows = 0;
    d->deleted.clear();
    d->order.clear();
    d->buffer.clear();
    d->cur = -1;
    d->state = State::Inactive;
    endReset();
    emit StateChanged();
}

bool TDataSet::Active() const {
    return d->state != State::Inactive;
}
TDataSet::State TDataSet::GetState() const {
    return d->state;
}

void TDataSet::checkActive() const {
    if (d->state == State::Inactive)
        throw TDbError(TDbError::Kind::DataSetClosed,
                       QStringLiteral("Cannot perform this operation on a closed dataset"));
}

int TDataSet::RecordCount() const {
    checkActive();
    return int(d->order.size());
}

bool TDataSet::IsEmpty() const {
    return d->state == State::Inactive || d->order.empty();
}
int TDataSet::RecNo() const {
    return d->cur;
}

void TDataSet::setCurrent(int row) {
    if (d->state == State::Edit || d->state == State::Insert) Post();
    d->eof = false;
    const int n = int(d->order.size());
    const int next = n == 0 ? -1 : qBound(0, row, n - 1);
    if (next != d->cur) {
        d->cur = next;
        if (d->disableCount == 0) emit CurrentChanged(next);
    }
}

void TDataSet::SetRecNo(int row) {
    checkActive();
    setCurrent(row);
}

void TDataSet::First() {
    SetRecNo(0);
}
void TDataSet::Last() {
    SetRecNo(int(d->order.size()) - 1);
}

// Eof follows the usual dataset rule: Next on the last row sets it, any other move clears it.
void TDataSet::Next() {
    checkActive();
    if (d->cur + 1 >= int(d->order.size())) {
        if (d->state == State::Edit || d->state == State::Insert) Post();
        d->eof = true;
        return;
    }
    setCurrent(d->cur + 1);
}

void TDataSet::Prior() {
    checkActive();
    d->eof = false;
    if (d->cur > 0) setCurrent(d->cur - 1);
}

bool TDataSet::Eof() const {
    return d->state == State::Inactive || d->order.empty() || d->eof;
}
bool TDataSet::Bof() const {
    return d->state == State::Inactive || d->cur <= 0;
}

bool TDataSet::Locate(const QString& fieldName, const QVariant& value) {
    checkActive();
    TField* f = FieldByName(fieldName);
    const int c = f->Index();
    for (int i = 0; i < int(d->order.size()); ++i) {
        const QVariant v = CellValue(i, c);
        bool same;
        if (v.isNull() || value.isNull())
            same = v.isNull() && value.isNull();
        else if (f->IsTextual())
            same = v.toString() == value.toString();
        else if (f->Kind() == TFieldKind::DateTime)
            same = v.toDateTime() == value.toDateTime();
        else if (f->Kind() == TFieldKind::Float || value.typeId() == QMetaType::Double)
            same = v.toDouble() == value.toDouble();
        else
            same = v == value || v.toString() == value.toString();
        if (same) {
            setCurrent(i);
            return true;
        }
    }
    return false;
}

TDataSet::Bookmark TDataSet::GetBookmark() const {
    if (d->state == State::Inactive || d->cur < 0) return -1;
    return d->order[size_t(d->cur)];
}

bool TDataSet::GotoBookmark(Bookmark b) {
    checkActive();
    if (b < 0 || b >= d->rows || d->deleted[size_t(b)]) return false;
    const auto it = std::find(d->order.begin(), d->order.end(), int(b));
    if (it == d->order.end()) return false;
    setCurrent(int(it - d->order.begin()));
    return true;
}

int TDataSet::currentPhysical() const {
    if (d->calcPhysical >= 0) return d->calcPhysical;
    if (d->cur < 0 || d->cur >= int(d->order.size())) return -1;
    return d->order[size_t(d->cur)];
}

namespace {
QVariant cellAt(const Column& col, const TextArena& arena, int r) {
    switch (col.store) {
        case Store::Int: {
            const qint64 v = col.ints.at(r);
            if (v == kNullInt) return QVariant();
            if (col.kind == TFieldKind::DateTime) return TDataSet::DecodeDateTime(v);
            if (col.kind == TFieldKind::Boolean) return QVariant(v != 0);
            if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
                return QVariant(int(v));
            return QVariant(v);
        }
        case Store::Dbl: {
            const double v = col.dbls.at(r);
            return isNullDouble(v) ? QVariant() : QVariant(v);
        }
        case Store::Ref: {
            const quint32 ref = col.refs.at(r);
            if (ref == kNullRef) return QVariant();
            const char* s;
            size_t n;
            arena.get(ref, &s, &n);
            return QString::fromUtf8(s, qsizetype(n));
        }
        case Store::Var:
            return col.vars.at(r);
    }
    return QVariant();
}
}  // namespace

QVariant TDataSet::readValue(int column) const {
    if (d->state == State::Inactive) return QVariant();
    if (d->calcPhysical < 0 && (d->state == State::Edit || d->state == State::Insert))
        return d->buffer[size_t(column)];
    const int r = currentPhysical();
    if (r < 0) return QVariant();
    return cellAt(d->columns[size_t(column)], d->arena, r);
}

namespace {
// Brings a value to the kind of its column, so that the pending row holds what a post will store.
QVariant coerce(const TField* f, const QVariant& value) {
    if (value.isNull() || !value.isValid()) return QVariant();
    switch (f->Kind()) {
        case TFieldKind::Integer: {
            if (value.typeId() == QMetaType::QString) {
                const QString s = value.toString().trimmed();
                if (s.isEmpty()) return QVariant();
                bool ok = false;
                const qint64 n = s.toLongLong(&ok);
                if (!ok)
                    throw TDbError(TDbError::Kind::Field, QStringLiteral("\"%1\" 不是有效的整数.").arg(s));
                return QVariant(n);
            }
            if (value.typeId() == QMetaType::Double) return QVariant(qint64(std::llround(value.toDouble())));
            return QVariant(value.toLongLong());
        }
        case TFieldKind::Float: {
            if (value.typeId() == QMetaType::QString) {
                const QString s = value.toString().trimmed();
                if (s.isEmpty()) return QVariant();
                bool ok = false;
                const double n = s.toDouble(&ok);
                if (!ok)
                    throw TDbError(TDbError::Kind::Field, QStringLiteral("\"%1\" 不是有效的数字.").arg(s));
                return QVariant(n);
            }
            return QVariant(value.toDouble());
        }
        case TFieldKind::DateTime: {
            if (value.typeId() == QMetaType::QString) {
                const QByteArray b = value.toString().trimmed().toUtf8();
                if (b.isEmpty()) return QVariant();
                qint64 ms = 0;
                if (!TDataSet::ParseDateTimeText(b.constData(), size_t(b.size()), &ms))
                    throw TDbError(TDbError::Kind::Field,
                                   QStringLiteral("\"%1\" 不是有效的日期.").arg(value.toString()));
                return TDataSet::DecodeDateTime(ms);
            }
            if (value.typeId() == QMetaType::QDate) return QDateTime(value.toDate(), QTime(0, 0));
            const QDateTime dt = value.toDateTime();
            return dt.isValid() ? QVariant(dt) : QVariant();
        }
        case TFieldKind::Boolean:
            if (value.typeId() == QMetaType::QString) {
                const QString s = value.toString().trimmed();
                return QVariant(s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
                                s == QLatin1String("1"));
            }
            return QVariant(value.toBool());
        case TFieldKind::Text:
        case TFieldKind::Memo:
            if (value.typeId() == QMetaType::QDateTime)
                return formatDateTimeMs(TDataSet::EncodeDateTime(value.toDateTime()));
            return QVariant(value.toString());
        case TFieldKind::Blob:
            return QVariant(value.toByteArray());
        case TFieldKind::Variant:
            return value;
    }
    return value;
}

void storeCell(Column& col, TextArena& arena, int r, const QVariant& v) {
    switch (col.store) {
        case Store::Int:
            if (v.isNull())
                col.ints.at(r) = kNullInt;
            else if (col.kind == TFieldKind::DateTime)
                col.ints.at(r) = TDataSet::EncodeDateTime(v.toDateTime());
            else if (col.kind == TFieldKind::Boolean)
                col.ints.at(r) = v.toBool() ? 1 : 0;
            else
                col.ints.at(r) = v.toLongLong();
            break;
        case Store::Dbl:
            col.dbls.at(r) = v.isNull() ? kNullDouble : v.toDouble();
            break;
        case Store::Ref:
            if (v.isNull()) {
                col.refs.at(r) = kNullRef;
            } else {
                const QByteArray b = v.toString().toUtf8();
                col.refs.at(r) = arena.add(b.constData(), size_t(b.size()));
            }
            break;
        case Store::Var:
            col.vars.at(r) = v;
            break;
    }
}
}  // namespace

void TDataSet::writeValue(int column, const QVariant& value) {
    checkActive();
    const TField* f = d->fields[size_t(column)].get();
    const QVariant v = coerce(f, value);
    if (d->calcPhysical >= 0) {
        storeCell(d->columns[size_t(column)], d->arena, d->calcPhysical, v);
        return;
    }
    if (d->state == State::Browse) Edit();
    d->buffer[size_t(column)] = v;
}

void TDataSet::Append() {
    checkActive();
    if (d->state == State::Edit || d->state == State::Insert) Post();
    d->buffer.assign(d->fields.size(), QVariant());
    d->editPhysical = -1;
    d->state = State::Insert;
    emit StateChanged();
}

void TDataSet::Edit() {
    checkActive();
    if (d->state == State::Edit || d->state == State::Insert) return;
    const int r = currentPhysical();
    if (r < 0) {
        Append();
        return;
    }
    d->buffer.resize(d->fields.size());
    for (size_t c = 0; c < d->fields.size(); ++c)
        d->buffer[c] = cellAt(d->columns[c], d->arena, r);
    d->editPhysical = r;
    d->state = State::Edit;
    emit StateChanged();
}

void TDataSet::runCalc(int physical) {
    if (!d->calc) return;
    d->calcPhysical = physical;
    try {
        d->calc(*this);
    } catch (...) {
        d->calcPhysical = -1;
        throw;
    }
    d->calcPhysical = -1;
}

bool TDataSet::rowLess(int a, int b, size_t firstKey) const {
    for (size_t k = firstKey; k < d->sortKeys.size(); ++k) {
        const auto& [c, desc] = d->sortKeys[k];
        const Column& col = d->columns[size_t(c)];
        int r = 0;
        switch (col.store) {
            case Store::Int: {
                const qint64 x = col.ints.at(a), y = col.ints.at(b);
                r = x < y ? -1 : (x > y ? 1 : 0);
                break;
            }
            case Store::Dbl: {
                const double x = col.dbls.at(a), y = col.dbls.at(b);
                const bool nx = isNullDouble(x), ny = isNullDouble(y);
                r = nx || ny ? (nx == ny ? 0 : (nx ? -1 : 1)) : (x < y ? -1 : (x > y ? 1 : 0));
                break;
            }
            case Store::Ref: {
                const quint32 x = col.refs.at(a), y = col.refs.at(b);
                if (x == kNullRef || y == kNullRef) {
                    r = x == y ? 0 : (x == kNullRef ? -1 : 1);
                } else {
                    const char *s1, *s2;
                    size_t n1, n2;
                    d->arena.get(x, &s1, &n1);
                    d->arena.get(y, &s2, &n2);
                    r = compareText(s1, n1, s2, n2);
                }
                break;
            }
            case Store::Var: {
                const QVariant& x = col.vars.at(a);
                const QVariant& y = col.vars.at(b);
                const QPartialOrdering o = QVariant::compare(x, y);
                r = o == QPartialOrdering::Less ? -1 : (o == QPartialOrdering::Greater ? 1 : 0);
                break;
            }
        }
        if (r != 0) return desc ? r > 0 : r < 0;
    }
    return false;
}

int TDataSet::sortedPosition(int physical) const {
    if (d->sortKeys.empty()) return int(d->order.size());
    // Ties go after the rows already there.
    auto less = [this](int a, int b) { return rowLess(a, b); };
    const auto it = std::upper_bound(d->order.begin(), d->order.end(), physical, less);
    return int(it - d->order.begin());
}

void TDataSet::Post() {
    checkActive();
    if (d->state != State::Edit && d->state != State::Insert) return;
    const bool inserting = d->state == State::Insert;
    int r = d->editPhysical;
    if (inserting) {
        for (size_t c = 0; c < d->fields.size(); ++c)
            LoadNull(int(c));
        EndLoadRow();
        r = d->rows - 1;
    }
    for (size_t c = 0; c < d->fields.size(); ++c)
        storeCell(d->columns[c], d->arena, r, d->buffer[c]);
    d->state = State::Browse;
    d->buffer.clear();
    d->editPhysical = -1;
    runCalc(r);

    // Place the row in the view: where the sort puts it, or out of view when the filter drops it.
    const int oldPos = inserting ? -1 : d->cur;
    const bool visible = passesFilter(r);
    if (!inserting && oldPos >= 0) {
        if (d->disableCount == 0) emit AboutToRemoveRow(oldPos);
        d->order.erase(d->order.begin() + oldPos);
        if (d->disableCount == 0) emit RowRemoved(oldPos);
    }
    if (visible) {
        // Unsorted, an edited row keeps its place; only an appended row goes to the end.
        const int pos = !inserting && oldPos >= 0 && d->sortKeys.empty() ? oldPos : sortedPosition(r);
        if (d->disableCount == 0) emit AboutToInsertRow(pos);
        d->order.insert(d->order.begin() + pos, r);
        d->cur = pos;
        if (d->disableCount == 0) emit RowInserted(pos);
    } else {
        d->cur = d->order.empty() ? -1 : qMin(qMax(oldPos, 0), int(d->order.size()) - 1);
    }
    // With controls suspended, views catch up in one reset when they are enabled again.
    if (d->disableCount == 0) {
        emit StateChanged();
        emit CurrentChanged(d->cur);
    }
}

void TDataSet::Cancel() {
    if (d->state != State::Edit && d->state != State::Insert) return;
    d->state = State::Browse;
    d->buffer.clear();
    d->editPhysical = -1;
    emit StateChanged();
}

void TDataSet::Delete() {
    checkActive();
    if (d->state == State::Insert) {
        Cancel();
        return;
    }
    Cancel();
    if (d->cur < 0) return;
    const int pos = d->cur;
    d->deleted[size_t(d->order[size_t(pos)])] = 1;
    if (d->disableCount == 0) emit AboutToRemoveRow(pos);
    d->order.erase(d->order.begin() + pos);
    d->cur = d->order.empty() ? -1 : qMin(pos, int(d->order.size()) - 1);
    if (d->disableCount == 0) {
        emit RowRemoved(pos);
        emit CurrentChanged(d->cur);
    }
}

void TDataSet::EmptyDataSet() {
    checkActive();
    Cancel();
    beginReset();
    for (int r = 0; r < d->rows; ++r)
        d->deleted[size_t(r)] = 1;
    d->order.clear();
    d->cur = -1;
    endReset();
}

void TDataSet::DisableControls() {
    ++d->disableCount;
}

void TDataSet::EnableControls() {
    if (d->disableCount == 0) return;
    if (--d->disableCount == 0) {
        // Views redraw once for everything that happened while they were suspended.
        emit AboutToReset();
        emit Reset();
        emit CurrentChanged(d->cur);
    }
}

bool TDataSet::ControlsDisabled() const {
    return d->disableCount > 0;
}

void TDataSet::beginReset() {
    if (d->disableCount == 0) emit AboutToReset();
}

void TDataSet::endReset() {
    d->eof = false;
    if (d->disableCount == 0) {
        emit Reset();
        emit CurrentChanged(d->cur);
    }
}

// ---------------------------------------------------------------- filter and sort

namespace {

struct Val {
    enum T { Null, Num, Text } t = Null;
    double n = 0;
    const char* s = nullptr;
    size_t len = 0;
    QByteArray own;  // text made from a non-text column
};

}  // namespace

bool TDataSet::passesFilter(int physical) const {
    if (!d->filtered || !d->filter) return true;
    std::function<bool(const TFilterNode*)> truth;
    std::function<Val(const TFilterNode*)> value = [&](const TFilterNode* n) -> Val {
        Val v;
        switch (n->op) {
            case TFilterNode::Op::Field: {
                const Column& col = d->columns[size_t(n->column)];
                switch (col.store) {
                    case Store::Int: {
                        const qint64 x = col.ints.at(physical);
                        if (x == kNullInt) return v;
                        v.t = Val::Num;
                        v.n = double(x);
                        if (col.kind == TFieldKind::DateTime) {
                            v.t = Val::Text;
                            v.own = formatDateTimeMs(x).toUtf8();
                            v.s = v.own.constData();
                            v.len = size_t(v.own.size());
                            v.n = double(x);
                        }
                        return v;
                    }
                    case Store::Dbl: {
                        const double x = col.dbls.at(physical);
                        if (isNullDouble(x)) return v;
                        v.t = Val::Num;
                        v.n = x;
                        return v;
                    }
                    case Store::Ref: {
                        const quint32 ref = col.refs.at(physical);
                        if (ref == kNullRef) return v;
                        v.t = Val::Text;
                        d->arena.get(ref, &v.s, &v.len);
                        return v;
                    }
                    case Store::Var: {
                        const QVariant& x = col.vars.at(physical);
                        if (x.isNull()) return v;
                        bool ok = false;
                        const double num = x.toDouble(&ok);
                        if (ok && x.typeId() != QMetaType::QString) {
                            v.t = Val::Num;
                            v.n = num;
                            return v;
                        }
                        v.t = Val::Text;
                        v.own = x.toString().toUtf8();
                        v.s = v.own.constData();
                        v.len = size_t(v.own.size());
                        return v;
                    }
                }
                return v;
            }
            case TFilterNode::Op::Text:
                v.t = Val::Text;
                v.s = n->utf8.constData();
                v.len = size_t(n->utf8.size());
                v.n = n->number;
                return v;
            case TFilterNode::Op::Number:
            case TFilterNode::Op::Bool:
                v.t = Val::Num;
                v.n = n->number;
                return v;
            case TFilterNode::Op::Null:
                return v;
            default:
                v.t = Val::Num;
                v.n = truth(n) ? 1 : 0;
                return v;
        }
    };
    truth = [&](const TFilterNode* n) -> bool {
        switch (n->op) {
            case TFilterNode::Op::Or:
                return truth(n->left.get()) || truth(n->right.get());
            case TFilterNode::Op::And:
                return truth(n->left.get()) && truth(n->right.get());
            case TFilterNode::Op::Not:
                return !truth(n->left.get());
            case TFilterNode::Op::IsNull:
                return value(n->left.get()).t == Val::Null;
            case TFilterNode::Op::IsNotNull:
                return value(n->left.get()).t != Val::Null;
            case TFilterNode::Op::Like:
            case TFilterNode::Op::NotLike: {
                Val a = value(n->left.get());
                if (a.t == Val::Null) return false;
                if (a.t == Val::Num) {
                    a.own = QByteArray::number(a.n, 'g', 15);
                    a.s = a.own.constData();
                    a.len = size_t(a.own.size());
                }
                const bool m = LikeMatch(a.s, a.len, n->right->utf8);
                return n->op == TFilterNode::Op::Like ? m : !m;
            }
            case TFilterNode::Op::Compare: {
                const Val a = value(n->left.get());
                const Val b = value(n->right.get());
                if (a.t == Val::Null || b.t == Val::Null) return false;
                int r;
                if (a.t == Val::Num && b.t == Val::Num)
                    r = a.n < b.n ? -1 : (a.n > b.n ? 1 : 0);
                else if (a.t == Val::Num || b.t == Val::Num) {
                    const double x = a.t == Val::Num ? a.n : QByteArray(a.s, qsizetype(a.len)).toDouble();
                    const double y = b.t == Val::Num ? b.n : QByteArray(b.s, qsizetype(b.len)).toDouble();
                    r = x < y ? -1 : (x > y ? 1 : 0);
                } else
                    r = compareText(a.s, a.len, b.s, b.len);
                switch (n->cmp) {
                    case TFilterNode::Cmp::Eq:
                        return r == 0;
                    case TFilterNode::Cmp::Ne:
                        return r != 0;
                    case TFilterNode::Cmp::Lt:
                        return r < 0;
                    case TFilterNode::Cmp::Gt:
                        return r > 0;
                    case TFilterNode::Cmp::Le:
                        return r <= 0;
                    case TFilterNode::Cmp::Ge:
                        return r >= 0;
                }
                return false;
            }
            default: {
                const Val v = value(n);
                return v.t == Val::Num ? v.n != 0 : v.t == Val::Text;
            }
        }
    };
    return truth(d->filter.get());
}

void TDataSet::computeOrder(int keepPhysical) {
    d->order.clear();
    d->order.reserve(size_t(d->rows));
    for (int r = 0; r < d->rows; ++r)
        if (!d->deleted[size_t(r)] && passesFilter(r)) d->order.push_back(r);
    if (!d->sortKeys.empty()) {
        // The first key's value of each row is read once into a flat array, so most comparisons
        // touch neither the column blocks nor the text arena; ties go on to the other keys.
        // Stable, so rows with equal keys keep the loaded order.
        struct Entry {
            int row;
            quint32 len;
            const char* text;  // text keys; null for a null text
            double num;        // number keys (integers and dates fit a double's precision here)
            bool null;
        };
        const auto [c0, desc0] = d->sortKeys.front();
        const Column& col = d->columns[size_t(c0)];
        if (col.store == Store::Var) {
            std::stable_sort(d->order.begin(), d->order.end(),
                             [this](int a, int b) { return rowLess(a, b); });
        } else {
            std::vector<Entry> entries(d->order.size());
            for (size_t i = 0; i < entries.size(); ++i) {
                Entry& e = entries[i];
                e.row = d->order[i];
                e.text = nullptr;
                e.len = 0;
                e.num = 0;
                e.null = false;
                if (col.store == Store::Int) {
                    const qint64 v = col.ints.at(e.row);
                    e.null = v == kNullInt;
                    e.num = double(v);
                } else if (col.store == Store::Dbl) {
                    const double v = col.dbls.at(e.row);
                    e.null = isNullDouble(v);
                    e.num = e.null ? 0 : v;
                } else {
                    const quint32 ref = col.refs.at(e.row);
                    e.null = ref == kNullRef;
                    if (!e.null) {
                        size_t n = 0;
                        d->arena.get(ref, &e.text, &n);
                        e.len = quint32(n);
                    }
                }
            }
            const bool text = col.store == Store::Ref;
            // 64-bit integers beyond 2^53 that meet as doubles are compared exactly.
            const bool intKey = col.store == Store::Int;
            std::stable_sort(entries.begin(), entries.end(), [&](const Entry& x, const Entry& y) {
                int r;
                if (x.null || y.null)
                    r = x.null == y.null ? 0 : (x.null ? -1 : 1);
                else if (text)
                    r = compareText(x.text, x.len, y.text, y.len);
                else if (intKey && x.num == y.num)
                    r = col.ints.at(x.row) < col.ints.at(y.row)
                            ? -1
                            : (col.ints.at(x.row) > col.ints.at(y.row) ? 1 : 0);
                else
                    r = x.num < y.num ? -1 : (x.num > y.num ? 1 : 0);
                if (r != 0) return desc0 ? r > 0 : r < 0;
                return rowLess(x.row, y.row, 1);
            });
            for (size_t i = 0; i < entries.size(); ++i)
                d->order[i] = entries[i].row;
        }
    }
    int pos = -1;
    if (keepPhysical >= 0) {
        const auto it = std::find(d->order.begin(), d->order.end(), keepPhysical);
        if (it != d->order.end()) pos = int(it - d->order.begin());
    }
    d->cur = d->order.empty() ? -1 : (pos >= 0 ? pos : 0);
}

void TDataSet::rebuildOrder(int keepPhysical) {
    beginReset();
    computeOrder(keepPhysical);
    endReset();
}

void TDataSet::SetFilter(const QString& expression) {
    std::unique_ptr<TFilterNode> node;
    if (!expression.trimmed().isEmpty())
        node = ParseFilter(expression, [this](const QString& name) { return FieldIndex(name); });
    Cancel();
    d->filterText = expression;
    d->filter = std::move(node);
    if (d->filtered && Active()) rebuildOrder(currentPhysical());
}

QString TDataSet::Filter() const {
    return d->filterText;
}

void TDataSet::SetFiltered(bool filtered) {
    if (d->filtered == filtered) return;
    Cancel();
    d->filtered = filtered;
    if (Active()) rebuildOrder(currentPhysical());
}

bool TDataSet::Filtered() const {
    return d->filtered;
}

void TDataSet::SetSortText(const QString& sortText) {
    std::vector<std::pair<int, bool>> keys;
    for (const QString& rawEntry : sortText.split(u',', Qt::SkipEmptyParts)) {
        const QStringList words = rawEntry.simplified().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        bool desc = false;
        QString name = words.join(u' ');
        const QString last = words.last().toUpper();
        if (words.size() > 1 && (last == QLatin1String("DESC") || last == QLatin1String("ASC"))) {
            desc = last == QLatin1String("DESC");
            name = words.mid(0, words.size() - 1).join(u' ');
        }
        const int c = FieldIndex(name);
        if (c < 0)
            throw TDbError(TDbError::Kind::Expression, QStringLiteral("Field '%1' not found").arg(name));
        keys.emplace_back(c, desc);
    }
    Cancel();
    d->sortKeys = std::move(keys);
    QStringList parts;
    for (const auto& [c, desc] : d->sortKeys)
        parts << d->fields[size_t(c)]->FieldName() +
                     (desc ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    d->sortText = parts.join(u',');
    if (Active()) rebuildOrder(currentPhysical());
}

QString TDataSet::SortText() const {
    return d->sortText;
}

// ---------------------------------------------------------------- cells

QVariant TDataSet::CellValue(int row, int column) const {
    if (d->state == State::Inactive || row < 0 || row >= int(d->order.size())) return QVariant();
    if (row == d->cur && d->state == State::Edit) return d->buffer[size_t(column)];
    return cellAt(d->columns[size_t(column)], d->arena, d->order[size_t(row)]);
}

bool TDataSet::CellIsNull(int row, int column) const {
    return CellValue(row, column).isNull();
}

QString TDataSet::CellText(int row, int column) const {
    if (d->state == State::Browse && row >= 0 && row < int(d->order.size())) {
        const Column& col = d->columns[size_t(column)];
        if (col.kind == TFieldKind::DateTime && col.store == Store::Int) {
            const qint64 ms = col.ints.at(d->order[size_t(row)]);
            return ms == kNullInt ? QString() : formatDateTimeMs(ms);
        }
    }
    const QVariant v = CellValue(row, column);
    if (v.isNull()) return QString();
    const TField* f = d->fields[size_t(column)].get();
    switch (f->Kind()) {
        case TFieldKind::Float:
            return formatFloat(v.toDouble(), f->DisplayFormat);
        case TFieldKind::DateTime:
            return formatDateTimeMs(EncodeDateTime(v.toDateTime()));
        case TFieldKind::Boolean:
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case TFieldKind::Blob:
            return QStringLiteral("(BLOB)");
        default:
            if (v.typeId() == QMetaType::Double) return formatFloat(v.toDouble(), f->DisplayFormat);
            return v.toString();
    }
}

void TDataSet::SetCalcHandler(std::function<void(TDataSet&)> handler) {
    d->calc = std::move(handler);
}

qint64 TDataSet::MemoryUsed() const {
    qint64 b = d->arena.bytes() + qint64(d->order.capacity() * sizeof(int)) + qint64(d->deleted.capacity());
    for (const Column& c : d->columns) {
        b += c.ints.bytes() + c.dbls.bytes() + c.refs.bytes() + c.vars.bytes();
    }
    return b;
}

// ---------------------------------------------------------------- dates

qint64 TDataSet::EncodeDateTime(const QDateTime& value) {
    if (!value.isValid()) return kNullInt;
    const QDate date = value.date();
    const QTime time = value.time();
    return (date.toJulianDay() - kEpochJulianDay) * kMsPerDay + time.msecsSinceStartOfDay();
}

QDateTime TDataSet::DecodeDateTime(qint64 ms) {
    qint64 days = ms / kMsPerDay;
    qint64 rest = ms % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    return QDateTime(QDate::fromJulianDay(days + kEpochJulianDay),
                     QTime::fromMSecsSinceStartOfDay(int(rest)));
}

bool TDataSet::ParseDateTimeText(const char* s, size_t n, qint64* ms) {
    auto digits = [&](size_t pos, size_t count, int* out) {
        if (pos + count > n) return false;
        int v = 0;
        for (size_t i = 0; i < count; ++i) {
            const char c = s[pos + i];
            if (c < '0' || c > '9') return false;
            v = v * 10 + (c - '0');
        }
        *out = v;
        return true;
    };
    int y, mo, da, h = 0, mi = 0, se = 0, msec = 0;
    if (n < 10 || !digits(0, 4, &y) || s[4] != '-' || !digits(5, 2, &mo) || s[7] != '-' || !digits(8, 2, &da))
        return false;
    size_t p = 10;
    if (p < n && (s[p] == ' ' || s[p] == 'T')) {
        if (!digits(p + 1, 2, &h) || p + 3 >= n || s[p + 3] != ':' || !digits(p + 4, 2, &mi)) return false;
        p += 6;
        if (p < n && s[p] == ':') {
            if (!digits(p + 1, 2, &se)) return false;
            p += 3;
            if (p < n && s[p] == '.') {
                ++p;
                int scale = 100;
                while (p < n && s[p] >= '0' && s[p] <= '9') {
                    msec += (s[p] - '0') * scale;
                    scale /= 10;
                    ++p;
                }
            }
        }
    }
    const QDate date(y, mo, da);
    if (!date.isValid() || h > 23 || mi > 59 || se > 59) return false;
    *ms = (date.toJulianDay() - kEpochJulianDay) * kMsPerDay + ((h * 60 + mi) * 60 + se) * 1000 + msec;
    return true;
}
