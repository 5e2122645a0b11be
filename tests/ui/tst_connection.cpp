#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "core/TConfiger.h"
#include "core/TDatabase.h"
#include "core/TEngine.h"
#include "core/TMessages.h"
#include "core/TScramble.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/ModalScript.h"
#include "ui/TDBConfigFrm.h"

namespace {

// A loopback HTTP server that answers every GET with a fixed status and body (or not at all).
class HttpStub : public QObject {
public:
    HttpStub(int status, const QByteArray& body, bool answer = true) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [=, this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, this, [=, this] {
                const QByteArray request = socket->readAll();
                if (requestLine.isEmpty()) requestLine = request.left(request.indexOf("\r\n"));
                if (!answer) return;
                socket->write("HTTP/1.1 " + QByteArray::number(status) +
                              " X\r\nContent-Type: text/plain\r\n" + "Content-Length: " +
                              QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/dip").arg(server_.serverPort()); }
    QByteArray requestLine;

private:
    QTcpServer server_;
};

const QString kDipFailed = QStringLiteral("\r\n无法获得DIP连接信息,请检查网络是否畅通.\t");

QString rawValue(const QString& key) {
    return QSettings(TConfiger::ConfigFile(), QSettings::IniFormat)
        .value(QStringLiteral("db/") + key)
        .toString();
}

}  // namespace

// Connection settings in cfg.ini, the DIP exchange, and connecting at start-up with the
// connection window after each failure.
class ConnectionTests : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QFile::remove(TConfiger::ConfigFile());
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(TConfiger::DefaultDatabaseFile() + QLatin1String(suffix));
        CreateDatabaseGlobals();
    }
    void cleanup() {
        if (gDatabase) gDatabase->SetConnected(false);
    }

    void defaultsWithoutConfigFile() {
        TConfiger c;
        QCOMPARE(c.providerIdx, int(TConfiger::pvFile));
        QVERIFY(c.defaultCon);
        QCOMPARE(c.mssqlPort, 5432);
        QCOMPARE(c.GetConnectionString(), TConfiger::DefaultConnectionString());
        QCOMPARE(TConfiger::ReadLastLoginId(), QString());
        TConfiger::WriteLastLoginId(QStringLiteral("bob"));
        QCOMPARE(TConfiger::ReadLastLoginId(), QStringLiteral("bob"));
        // A cfg.ini holding only the login name still means the embedded default.
        QCOMPARE(TConfiger().GetConnectionString(), TConfiger::DefaultConnectionString());
    }

    void settingsRoundTripScrambled() {
        TConfiger c;
        c.providerIdx = TConfiger::pvServer;
        c.defaultCon = false;
        c.mssqlServer = QStringLiteral("db.example");
        c.mssqlPort = 6543;
        c.mssqlDb = QStringLiteral("library");
        c.mssqlUser = QStringLiteral("clerk");
        c.mssqlPw = QStringLiteral("s3cret=; \"图书\"");
        c.jetfile = QStringLiteral("/data/馆藏/lib.db");
        c.jetUser = QStringLiteral("admin");
        c.jetPw = QStringLiteral("filepass");
        c.dipUrl = QStringLiteral("http://dip.example/q");
        c.dipUser = QStringLiteral("lib1");
        c.SaveSettings();

        QFile file(TConfiger::ConfigFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString raw = QString::fromUtf8(file.readAll());
        for (const QString& secret : {c.mssqlPw, c.jetfile, c.jetPw, QStringLiteral("s3cret"),
                                      QStringLiteral("filepass"), QStringLiteral("lib.db")})
            QVERIFY2(!raw.contains(secret), qPrintable(secret));
        QCOMPARE(ScrambleText(rawValue(QStringLiteral("mssqlPw"))), c.mssqlPw);
        QCOMPARE(ScrambleText(rawValue(QStringLiteral("jetPw"))), c.jetPw);
        QCOMPARE(ScrambleText(rawValue(QStringLiteral("ConnStr"))), c.ServerConnectionString());
        QCOMPARE(rawValue(QStringLiteral("defaultCon")), QStringLiteral("0"));

        TConfiger back;
        QCOMPARE(back.providerIdx, c.providerIdx);
        QCOMPARE(back.defaultCon, false);
        QCOMPARE(back.mssqlServer, c.mssqlServer);
        QCOMPARE(back.mssqlPort, 6543);
        QCOMPARE(back.mssqlDb, c.mssqlDb);
        QCOMPARE(back.mssqlUser, c.mssqlUser);
        QCOMPARE(back.mssqlPw, c.mssqlPw);
        QCOMPARE(back.jetfile, c.jetfile);
        QCOMPARE(back.jetUser, c.jetUser);
        QCOMPARE(back.jetPw, c.jetPw);
        QCOMPARE(back.dipUrl, c.dipUrl);
        QCOMPARE(back.dipUser, c.dipUser);
        QCOMPARE(back.GetConnectionString(), c.ServerConnectionString());
        const TConnectionParams p = TConnectionParams::Parse(
            QStringLiteral("Provider=PostgreSQL;Data Source=db.example;Port=6543;User "
                           "ID=clerk;Password=pw;Initial Catalog=library;"));
        const TConnectionParams q = TConnectionParams::Parse(TConfiger::DipConnectionString(
            {QStringLiteral("db.example"), QStringLiteral("6543"), QStringLiteral("clerk"),
             QStringLiteral("pw"), QStringLiteral("library")}));
        QCOMPARE(q.provider, p.provider);
        QCOMPARE(q.dataSource, p.dataSource);
        QCOMPARE(q.port, p.port);
        QCOMPARE(q.user, p.user);
        QCOMPARE(q.password, p.password);
        QCOMPARE(q.database, p.database);

        // The file provider: the named file, or the default one whatever the file fields hold.
        back.providerIdx = TConfiger::pvFile;
        back.defaultCon = true;
        back.SaveSettings();
        QCOMPARE(TConfiger().GetConnectionString(), TConfiger::DefaultConnectionString());
        back.defaultCon = false;
        back.SaveSettings();
        QCOMPARE(TConfiger().GetConnectionString(),
                 QStringLiteral("Provider=SQLite;Data Source=/data/馆藏/lib.db;"));
    }

    void dipAnswers_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("connects");
        QTest::addColumn<bool>("message");
        QTest::newRow("five lines") << 200 << QByteArray("srv\r\n5433\r\nu\r\np\r\ndb\r\n") << true << false;
        QTest::newRow("four lines") << 200 << QByteArray("srv\n5433\nu\np\n") << false << false;
        QTest::newRow("six lines") << 200 << QByteArray("srv\n5433\nu\np\ndb\nmore\n") << false << false;
        QTest::newRow("server error") << 500 << QByteArray("srv\n5433\nu\np\ndb\n") << false << true;
    }
    void dipAnswers() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, connects);
        QFETCH(bool, message);
        HttpStub stub(status, body);
        TRecordingMessages messages;
        TConfiger c;
        c.providerIdx = TConfiger::pvDip;
        c.dipUrl = stub.Url();
        c.dipUser = QString();
        const QString s = c.GetConnectionString();
        // Nothing encoded: an empty user still sends "?user=".
        QCOMPARE(stub.requestLine, QByteArray("GET /dip?user= HTTP/1.1"));
        QCOMPARE(s.isEmpty(), !connects);
        if (connects)
            QCOMPARE(s, TConfiger::DipConnectionString({QStringLiteral("srv"), QStringLiteral("5433"),
                                                        QStringLiteral("u"), QStringLiteral("p"),
                                                        QStringLiteral("db")}));
        QCOMPARE(messages.Texts(), message ? QStringList{kDipFailed} : QStringList());
    }

    void dipConnectsToTheServer() {
        if (!testsupport::IsPg()) QSKIP("the five lines name the PostgreSQL server of the pg run");
        const TConnectionParams pg = TConnectionParams::Parse(qEnvironmentVariable("LBSYS_TEST_PG"));
        const QByteArray body =
            (QStringList{pg.dataSource, QString::number(pg.port), pg.user, pg.password, pg.database}.join(
                 u'\n'))
                .toUtf8();
        HttpStub stub(200, body);
        TConfiger c;
        c.providerIdx = TConfiger::pvDip;
        c.dipUrl = stub.Url();
        c.dipUser = QStringLiteral("lib1");
        TRecordingMessages messages;
        QVERIFY(gDatabase->Connect(c.GetConnectionString()));
        QCOMPARE(stub.requestLine, QByteArray("GET /dip?user=lib1 HTTP/1.1"));
        QVERIFY(messages.Texts().isEmpty());
    }

    void dipUnreachable_data() {
        QTest::addColumn<bool>("listening");
        QTest::newRow("nothing listens") << false;
        QTest::newRow("no answer in time") << true;
    }
    void dipUnreachable() {
        QFETCH(bool, listening);
        HttpStub silent(200, QByteArray(), false);
        QString url = silent.Url();
        std::unique_ptr<QTcpServer> gone;
        if (!listening) {
            gone = std::make_unique<QTcpServer>();
            gone->listen(QHostAddress::LocalHost, 0);
            url = QStringLiteral("http://127.0.0.1:%1/dip").arg(gone->serverPort());
            gone->close();
        }
        TRecordingMessages messages;
        TConfiger c;
        c.providerIdx = TConfiger::pvDip;
        c.dipUrl = url;
        c.dipTimeoutMs = 300;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(c.GetConnectionString(), QString());
        QCOMPARE(messages.Texts(), QStringList{kDipFailed});
        QVERIFY(clock.elapsed() < 5000);
    }

    void missingConfigCreatesTheDefaultDatabase() {
        TRecordingMessages messages;
        ModalScript script;
        QVERIFY(ConnectWithSettingsWindow());
        QVERIFY(script.shown.isEmpty());
        QVERIFY(messages.Texts().isEmpty());
        QVERIFY(QFile::exists(TConfiger::DefaultDatabaseFile()));
        QCOMPARE(gDatabase->GetDataSource(), TConfiger::DefaultDatabaseFile());
        QCOMPARE(gDatabase->GetProvider(), TDatabase::kSqliteProvider);
        QVERIFY(gDatabase->Engine()->TableExists(QStringLiteral("operator")));
    }

    void storedSettingsConnectWithoutWindow() {
        testsupport::TestDatabase db;
        gDatabase->SetConnected(false);
        TConfiger c;
        c.providerIdx = testsupport::IsPg() ? TConfiger::pvServer : TConfiger::pvFile;
        c.defaultCon = false;
        c.jetfile = TConnectionParams::Parse(db.ConnectionString()).dataSource;
        c.SaveSettings();
        // The stored string of the test database (its schema travels in the string on PostgreSQL).
        QSettings(TConfiger::ConfigFile(), QSettings::IniFormat)
            .setValue(QStringLiteral("db/ConnStr"), ScrambleText(db.ConnectionString()));
        ModalScript script;
        QVERIFY(ConnectWithSettingsWindow());
        QVERIFY(script.shown.isEmpty());
        QCOMPARE(gDatabase->ConnectionString(), db.ConnectionString());
        QVERIFY(!QFile::exists(TConfiger::DefaultDatabaseFile()));
    }

    void failureShowsTheWindow() {
        TConfiger c;
        c.providerIdx = TConfiger::pvFile;
        c.defaultCon = false;
        c.jetfile = TConfiger::DataFolder() + QStringLiteral("/missing.db");
        c.SaveSettings();
        TRecordingMessages messages;
        int page = -1;
        bool fileEnabled = false;
        ModalScript script{
            [&](QDialog* d) {
                auto* w = As<TDBConfigFrm>(d);
                page = w->pages->currentIndex();
                fileEnabled = w->edtFile->isEnabled();
                d->reject();
            },
        };
        QVERIFY(!ConnectWithSettingsWindow());
        QCOMPARE(script.shown.size(), 1);
        QCOMPARE(page, 1);
        QVERIFY(fileEnabled);
        QCOMPARE(
            messages.Texts(),
            QStringList{QStringLiteral("\r\n连接时失败,提示如下:\r\n找不到数据库文件: %1\t").arg(c.jetfile)});
        QVERIFY(!QFile::exists(c.jetfile));
        QVERIFY(!gDatabase->Connected());

        // Ticking the default connection in the window connects on the next attempt.
        ModalScript fix{[](QDialog* d) {
            auto* w = As<TDBConfigFrm>(d);
            w->chkDefault->setChecked(true);
            QVERIFY(!w->edtFile->isEnabled());
            QVERIFY(!w->btnBrowse->isEnabled());
            QVERIFY(!w->edtJetPassword->isEnabled());
            w->OkBtn->click();
        }};
        QVERIFY(ConnectWithSettingsWindow());
        QCOMPARE(fix.shown.size(), 1);
        QVERIFY(TConfiger().defaultCon);
        QCOMPARE(gDatabase->GetDataSource(), TConfiger::DefaultDatabaseFile());
    }

    void partialDatabaseIsRefused() {
        // A file with only one of the system's tables is reported and left as it is.
        const QString file = TConfiger::DataFolder() + QStringLiteral("/partial.db");
        QFile::remove(file);
        gDatabase->Open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(file));
        gDatabase->ExecuteSql(QStringLiteral("create table operator(LoginId varchar(50))"));
        gDatabase->SetConnected(false);
        TConfiger c;
        c.providerIdx = TConfiger::pvFile;
        c.defaultCon = false;
        c.jetfile = file;
        c.SaveSettings();
        TRecordingMessages messages;
        ModalScript script;
        QVERIFY(!ConnectWithSettingsWindow());
        QCOMPARE(script.shown.size(), 1);
        QCOMPARE(messages.Texts().size(), 1);
        QVERIFY(messages.Texts().first().contains(QStringLiteral("这不是一个完整的本系统数据库")));
        QVERIFY(!gDatabase->Connected());
        gDatabase->Open(QStringLiteral("Provider=SQLite;Data Source=%1;").arg(file));
        QVERIFY(!gDatabase->Engine()->TableExists(QStringLiteral("readers")));
    }

    void portMustBeANumber() {
        TConfiger c;
        c.providerIdx = TConfiger::pvServer;
        c.mssqlServer = QStringLiteral("before");
        c.SaveSettings();
        TRecordingMessages messages;
        TDBConfigFrm window(c);
        QCOMPARE(window.pages->currentIndex(), 0);
        QCOMPARE(window.edtPort->text(), QStringLiteral("5432"));
        window.edtServer->setText(QStringLiteral("after"));
        window.edtPort->setText(QStringLiteral("54x"));
        window.show();
        window.OkBtn->click();
        QCOMPARE(messages.Texts(), QStringList{QStringLiteral("'54x' is not a valid integer value")});
        QVERIFY(window.isVisible());
        QCOMPARE(TConfiger().mssqlServer, QStringLiteral("before"));
        window.edtPort->setText(QStringLiteral("5433"));
        window.OkBtn->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(TConfiger().mssqlServer, QStringLiteral("after"));
        QCOMPARE(TConfiger().mssqlPort, 5433);
    }

    void providerChoosesThePage() {
        TConfiger c;
        TDBConfigFrm window(c);
        window.show();
        QCOMPARE(window.cbProvider->count(), 3);
        QCOMPARE(window.cbProvider->itemText(2), QStringLiteral("Tarnwick Dip Provider for Sql Server"));
        window.cbProvider->setCurrentIndex(2);
        QCOMPARE(window.pages->currentWidget()->objectName(), QStringLiteral("zxdip"));
        // Enter moves to the next field instead of closing the window.
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.edtDipUrl->setFocus();
        QTest::keyClick(window.edtDipUrl, Qt::Key_Return);
        QVERIFY(window.edtDipUser->hasFocus());
        QVERIFY(window.isVisible());
        QTest::keyClick(window.edtDipUser, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }
};

QObject* makeConnectionTests() {
    return new ConnectionTests;
}

#include "tst_connection.moc"
