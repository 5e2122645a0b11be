#pragma once

#include "ui/base/TaFrm.h"

class TConfiger;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// The connection window: shown after a failed connection, it edits the connection settings of a
// TConfiger (server, SQLite file, DIP) and saves them with OK.
class TDBConfigFrm : public TaFrm {
    Q_OBJECT
public:
    explicit TDBConfigFrm(TConfiger& configer, QWidget* parent = nullptr);

    // Fills every field from the settings and shows the provider's page.
    void Fill();
    void accept() override;

    QComboBox* cbProvider;
    QStackedWidget* pages;
    QLineEdit* edtServer;
    QLineEdit* edtPort;
    QLineEdit* edtDatabase;
    QLineEdit* edtUser;
    QLineEdit* edtPassword;
    QCheckBox* chkSmartConnect;
    QCheckBox* chkDefault;
    QLineEdit* edtFile;
    QPushButton* btnBrowse;
    QLineEdit* edtJetUser;
    QLineEdit* edtJetPassword;
    QLineEdit* edtDipUrl;
    QLineEdit* edtDipUser;
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

private:
    void applyDefaultState();
    void browse();
    TConfiger& configer_;
};

// Connects gDatabase at start-up with the stored settings, showing the connection window after
// each failure; false when the window was cancelled.
bool ConnectWithSettingsWindow();
