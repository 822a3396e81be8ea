#include "Dialogs.h"

#include "TestReport.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace quenda {

DialogSeams& DialogSeamsForTesting() {
    static DialogSeams seams;
    return seams;
}

void ShowMessage(QWidget* parent, const QString& text) {
    ReportForTests(QStringLiteral("message ") + text);
    if (const auto& replacement = DialogSeamsForTesting().showMessage) return replacement(text);
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

void OpenPage(const QUrl& url) {
    if (const auto& replacement = DialogSeamsForTesting().openPage) return replacement(url);
    QDesktopServices::openUrl(url);
}

QString AskOpenFileName(QWidget* parent, const QString& filter, const QString& folder) {
    if (const auto& replacement = DialogSeamsForTesting().openFileName) return replacement(filter, folder);
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString AskSaveFileName(QWidget* parent, const QString& suggested, const QString& filter) {
    if (const auto& replacement = DialogSeamsForTesting().saveFileName) return replacement(suggested, filter);
    return QFileDialog::getSaveFileName(parent, QString(), suggested, filter);
}

int RunDialog(QDialog& dialog) {
    if (const auto& replacement = DialogSeamsForTesting().runDialog) return replacement(dialog);
    return dialog.exec();
}

std::optional<QColor> AskColor(QWidget* parent, const QColor& initial) {
    if (const auto& replacement = DialogSeamsForTesting().chooseColor) return replacement(initial);
    // Qt's dialog always shows its custom-colour part: the fully expanded look.
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

} // namespace quenda
