#include "SyncDialog.h"

#include "DavXml.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quenda {

namespace {

QString PasswordPlaceText(PasswordPlace place) {
    return place == PasswordPlace::SecretService
               ? QStringLiteral("密码保存在系统的密钥环中。")
               : QStringLiteral("没有找到系统密钥环：密码保存在 Data/SyncPassword 文件中，只有您能读取。");
}

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

QString DescribeCollectionCheck(const DavReply& reply) {
    if (reply.status != 207) return QStringLiteral("连接失败：%1").arg(DescribeFailure(reply));
    const std::optional<Multistatus> answer = ParseMultistatus(reply.body);
    if (!answer) return QStringLiteral("连接失败：服务器的回答无法识别");
    const bool calendar = !answer->resources.isEmpty() && answer->resources.first().isCalendar;
    return calendar ? QStringLiteral("连接成功。") : QStringLiteral("连接成功，但这个地址不是日历。");
}

SyncDialog::SyncDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SyncDialog"));
    setWindowTitle(QStringLiteral("同步设置"));
    const SyncSettings settings = ReadSyncSettings();
    m_interval = settings.intervalSeconds;
    m_url = Named(new QLineEdit(settings.url, this), "edtSyncUrl");
    m_url->setPlaceholderText(QStringLiteral("https://服务器/日历集合/"));
    m_url->setMinimumWidth(360);
    m_user = Named(new QLineEdit(settings.user, this), "edtSyncUser");
    m_password = Named(new QLineEdit(ReadSyncPassword(settings), this), "edtSyncPassword");
    m_password->setEchoMode(QLineEdit::Password);
    m_enabled = Named(new QCheckBox(QStringLiteral("开启同步"), this), "chkSyncEnabled");
    m_enabled->setChecked(settings.enabled);
    m_test = Named(new QPushButton(QStringLiteral("测试连接"), this), "btnSyncTest");
    m_testResult = Named(new QLabel(this), "lblSyncTest");
    m_testResult->setWordWrap(true);
    m_passwordPlace = Named(new QLabel(PasswordPlaceText(WherePasswordsGo()), this), "lblPasswordPlace");
    m_passwordPlace->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("日历地址："), m_url);
    form->addRow(QStringLiteral("用户名："), m_user);
    form->addRow(QStringLiteral("密码："), m_password);
    form->addRow(QString(), m_passwordPlace);
    form->addRow(m_test, m_testResult);
    form->addRow(QString(), m_enabled);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确  定"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnSyncOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取  消"));
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &SyncDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SyncDialog::reject);
    connect(m_test, &QPushButton::clicked, this, &SyncDialog::TestConnection);
}

SyncSettings SyncDialog::Settings() const {
    return {m_url->text().trimmed(), m_user->text().trimmed(), m_enabled->isChecked(), m_interval};
}

QString SyncDialog::Password() const {
    return m_password->text();
}

void SyncDialog::TestConnection() {
    const std::optional<QUrl> url = CollectionUrl(Settings());
    if (!url) {
        m_testResult->setText(QStringLiteral("地址无效：请填写 http:// 或 https:// 开头的日历地址。"));
        return emit tested(m_testResult->text());
    }
    m_test->setEnabled(false);
    m_testResult->setText(QStringLiteral("正在连接…"));
    m_client = std::make_unique<DavClient>(*url, Settings().user, Password());
    m_client->Send("PROPFIND", m_client->Collection(),
                   {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}},
                   CollectionPropfindBody(), [this](const DavReply& reply) {
                       m_test->setEnabled(true);
                       m_testResult->setText(DescribeCollectionCheck(reply));
                       emit tested(m_testResult->text());
                   });
}

bool SyncDialog::Save() {
    const SyncSettings settings = Settings();
    if (settings.enabled && !CollectionUrl(settings)) {
        m_testResult->setText(QStringLiteral("地址无效：请填写 http:// 或 https:// 开头的日历地址。"));
        return false;
    }
    if (!WriteSyncSettings(settings)) {
        m_testResult->setText(QStringLiteral("无法写入 Data/Sync.ini，设置没有保存。"));
        return false;
    }
    const std::optional<PasswordPlace> place = StoreSyncPassword(settings, Password());
    if (!place) {
        m_testResult->setText(QStringLiteral("密码没有保存，请重试！"));
        return false;
    }
    m_passwordPlace->setText(PasswordPlaceText(*place));
    return true;
}

void SyncDialog::accept() {
    if (Save()) QDialog::accept();
}

} // namespace quenda
