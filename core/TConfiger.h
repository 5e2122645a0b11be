#pragma once

#include <QString>
#include <functional>

// The connection settings of cfg.ini in the data folder: section [db] with the connection
// settings (the passwords, the file path and the stored connection string scrambled) and
// [Login] with the login name used last. Provider index 0 is the PostgreSQL server, 1 a SQLite
// file (the embedded default lbsys.db or a named file), 2 DIP (a web address answers the server's
// connection data).
class TConfiger {
public:
    enum Provider { pvServer = 0, pvFile = 1, pvDip = 2 };

    // Reads every [db] key (LoadSettings).
    TConfiger();

    void LoadSettings();
    // Writes every [db] key and the connection string built for the chosen provider.
    void SaveSettings();
    // The connection string to try now: the embedded default file, the DIP answer, or the stored
    // one.
    QString GetConnectionString();
    // Asks the DIP address for the server's five lines; empty when the answer has another number
    // of lines, or (after a message) when the request fails or times out.
    QString FetchDipConnection();

    // The connection strings of each provider.
    QString ServerConnectionString() const;
    QString FileConnectionString() const;
    static QString DefaultConnectionString();
    static QString DipConnectionString(const QStringList& lines);

    int providerIdx = pvFile;
    bool defaultCon = true;
    QString mssqlServer;
    int mssqlPort = 5432;
    QString mssqlDb;
    QString mssqlUser;
    QString mssqlPw;
    QString jetfile;
    QString jetUser;
    QString jetPw;
    QString dipUrl;
    QString dipUser;
    // From the window's "采用智能连接"; never stored (there is no server alias to register here).
    bool SmartConnect = false;

    // Milliseconds the DIP request may take before it counts as failed.
    int dipTimeoutMs = 10000;

    // The data folder: LBSYS_HOME when set, else the program's folder.
    static QString DataFolder();
    static QString ConfigFile();
    // The embedded default database, lbsys.db in the data folder.
    static QString DefaultDatabaseFile();

    static QString ReadLastLoginId();
    static void WriteLastLoginId(const QString& loginId);
};

// Connects gDatabase at start-up: the stored settings first; after each failure askSettings is
// called (the connection window), and a false answer gives up. A database without the system's
// tables is prepared (the embedded default file is created when missing). Returns whether
// gDatabase is connected at the end.
bool ConnectAtStartup(TConfiger& configer, const std::function<bool(TConfiger&)>& askSettings);
