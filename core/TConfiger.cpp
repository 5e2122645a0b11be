#include "core/TConfiger.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSettings>
#include <QTimer>
#include <QUrl>

#include "core/TAppInfo.h"
#include "core/TDatabase.h"
#include "core/TDbError.h"
#include "core/TMessages.h"
#include "core/TSchema.h"
#include "core/TScramble.h"

namespace {

const QString kDb = QStringLiteral("db/");

QSettings openConfig() {
    return QSettings(TConfiger::ConfigFile(), QSettings::IniFormat);
}

}  // namespace

QString TConfiger::DataFolder() {
    const QString home = qEnvironmentVariable("LBSYS_HOME");
    if (!home.isEmpty()) return QDir(home).absolutePath();
    return QCoreApplication::applicationDirPath();
}

QString TConfiger::ConfigFile() {
    return DataFolder() + QStringLiteral("/cfg.ini");
}

QString TConfiger::DefaultDatabaseFile() {
    return DataFolder() + QStringLiteral("/lbsys.db");
}

TConfiger::TConfiger() {
    LoadSettings();
}

void TConfiger::LoadSettings() {
    QSettings ini = openConfig();
    auto text = [&](const char* key) { return ini.value(kDb + QLatin1String(key)).toString(); };
    auto clear = [&](const char* key) { return ScrambleText(text(key)); };
    // A missing provider means the embedded default file, so a new installation (or a cfg.ini
    // that holds only the login name) starts without questions.
    providerIdx = ini.value(kDb + QStringLiteral("providerIdx"), int(pvFile)).toInt();
    defaultCon = ini.value(kDb + QStringLiteral("defaultCon"), 1).toInt() != 0;
    mssqlServer = text("mssqlServer");
    bool ok = false;
    mssqlPort = ini.value(kDb + QStringLiteral("mssqlPort"), 5432).toInt(&ok);
    if (!ok) mssqlPort = 5432;
    mssqlDb = text("mssqlDb");
    mssqlUser = text("mssqlUser");
    mssqlPw = clear("mssqlPw");
    jetfile = clear("jetfile");
    jetUser = text("jetUser");
    jetPw = clear("jetPw");
    dipUrl = text("dipUrl");
    dipUser = text("dipUser");
}

void TConfiger::SaveSettings() {
    QSettings ini = openConfig();
    auto put = [&](const char* key, const QVariant& value) { ini.setValue(kDb + QLatin1String(key), value); };
    put("mssqlServer", mssqlServer);
    put("mssqlPort", mssqlPort);
    put("mssqlDb", mssqlDb);
    put("mssqlUser", mssqlUser);
    put("mssqlPw", ScrambleText(mssqlPw));
    put("jetfile", ScrambleText(jetfile));
    put("jetUser", jetUser);
    put("jetPw", ScrambleText(jetPw));
    put("dipUrl", dipUrl);
    put("dipUser", dipUser);
    put("providerIdx", providerIdx);
    put("defaultCon", defaultCon ? 1 : 0);
    QString connStr;
    if (providerIdx == pvServer)
        connStr = ServerConnectionString();
    else if (providerIdx == pvFile)
        connStr = FileConnectionString();
    put("ConnStr", ScrambleText(connStr));
    ini.sync();
}

QString TConfiger::ServerConnectionString() const {
    return QStringLiteral("Provider=%1;Data Source=%2;Port=%3;User ID=%4;Password=%5;Initial Catalog=%6;")
        .arg(TDatabase::kPgProvider, mssqlServer, QString::number(mssqlPort), mssqlUser, mssqlPw, mssqlDb);
}

QString TConfiger::FileConnectionString() const {
    return QStringLiteral("Provider=%1;Data Source=%2;").arg(TDatabase::kSqliteProvider, jetfile);
}

QString TConfiger::DefaultConnectionString() {
    return QStringLiteral("Provider=%1;Data Source=%2;")
        .arg(TDatabase::kSqliteProvider, DefaultDatabaseFile());
}

QString TConfiger::DipConnectionString(const QStringList& lines) {
    return QStringLiteral("Provider=%1;Data Source=%2;Port=%3;User ID=%4;Password=%5;Initial Catalog=%6;")
        .arg(TDatabase::kPgProvider, lines[0], lines[1], lines[2], lines[3], lines[4]);
}

QString TConfiger::GetConnectionString() {
    if (providerIdx == pvFile && defaultCon) return DefaultConnectionString();
    if (providerIdx == pvDip) return FetchDipConnection();
    return ScrambleText(openConfig().value(kDb + QStringLiteral("ConnStr")).toString());
}

QString TConfiger::FetchDipConnection() {
    // The address and user are inserted as they are, as the DIP service expects them.
    const QUrl url(QStringLiteral("%1?user=%2").arg(dipUrl, dipUser));
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(dipTimeoutMs);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A dead address must not hold the start-up forever, whatever the transfer time-out does.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, reply, &QNetworkReply::abort);
    guard.start(dipTimeoutMs + 1000);
    if (!reply->isFinished()) loop.exec();
    const bool failed = reply->error() != QNetworkReply::NoError || !url.isValid() || url.scheme().isEmpty();
    const QByteArray body = failed ? QByteArray() : reply->readAll();
    reply->deleteLater();
    if (failed) {
        ShowInfo(QStringLiteral("无法获得DIP连接信息,请检查网络是否畅通."));
        return QString();
    }
    QString text = QString::fromUtf8(body);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(u'\n')) text.chop(1);
    const QStringList lines = text.isEmpty() ? QStringList() : text.split(u'\n');
    if (lines.size() != 5) return QString();
    return DipConnectionString(lines);
}

QString TConfiger::ReadLastLoginId() {
    return openConfig().value(QStringLiteral("Login/LastLoginId")).toString();
}

void TConfiger::WriteLastLoginId(const QString& loginId) {
    QSettings ini = openConfig();
    ini.setValue(QStringLiteral("Login/LastLoginId"), loginId);
}

namespace {

// Opens the settings' database; prepares it when it has none of the system's tables. Shows the
// reason and returns false when it cannot be used.
bool tryConnect(const QString& connectionString) {
    // An empty string (no stored settings, a DIP answer that gave nothing) fails here: handed to
    // the server engine it would reach whatever server runs on this machine.
    if (connectionString.trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("连接时失败,提示如下:\r\n没有设置数据库连接参数."));
        return false;
    }
    const TConnectionParams params = TConnectionParams::Parse(connectionString);
    // Only the embedded default file is created; a named file that is missing is a mistake in the
    // settings, not a reason to start an empty database somewhere.
    if (params.provider == TDatabase::kSqliteProvider && !params.dataSource.isEmpty() &&
        !QFileInfo::exists(params.dataSource) &&
        QFileInfo(params.dataSource).absoluteFilePath() !=
            QFileInfo(TConfiger::DefaultDatabaseFile()).absoluteFilePath()) {
        ShowInfo(QStringLiteral("连接时失败,提示如下:\r\n找不到数据库文件: %1").arg(params.dataSource));
        return false;
    }
    if (!gDatabase->Connect(connectionString)) return false;
    try {
        TSchema::Prepare(*gDatabase);
    } catch (const TDbError& e) {
        gDatabase->SetConnected(false);
        ShowInfo(QStringLiteral("连接时失败,提示如下:\r\n%1").arg(e.message()));
        return false;
    }
    return true;
}

}  // namespace

bool ConnectAtStartup(TConfiger& configer, const std::function<bool(TConfiger&)>& askSettings) {
    for (;;) {
        if (tryConnect(configer.GetConnectionString())) break;
        if (!askSettings || !askSettings(configer)) break;
        QCoreApplication::processEvents();
    }
    return gDatabase->Connected();
}
