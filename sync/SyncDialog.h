#pragma once
// "同步设置": the calendar collection's address, user name and password, a test of the connection, and the
// switch. OK writes Data/Sync.ini and stores the password (the dialog says where it goes).

#include "DavClient.h"
#include "SyncSettings.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quenda {

// The test button's verdict on the collection's answer to PROPFIND (depth 0).
QString DescribeCollectionCheck(const DavReply& reply);

class SyncDialog : public QDialog {
    Q_OBJECT
public:
    explicit SyncDialog(QWidget* parent = nullptr);

    // What the fields say now.
    SyncSettings Settings() const;
    QString Password() const;

    // Checks the connection with what the fields say; the verdict appears under the fields.
    void TestConnection();
    // Writes the settings and the password; false (with the reason shown) when that failed.
    bool Save();

    QLabel& TestResult() const { return *m_testResult; }

signals:
    void tested(const QString& verdict);

private:
    void accept() override;

    QLineEdit* m_url = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_enabled = nullptr;
    QPushButton* m_test = nullptr;
    QLabel* m_testResult = nullptr;
    QLabel* m_passwordPlace = nullptr;
    int m_interval = 300;
    std::unique_ptr<DavClient> m_client;
};

} // namespace quenda
