#pragma once
// The platform's dialogs and the opening of pages, behind seams: tests replace each with a function and
// so drive a modal message box, a file or colour dialog, or the user's browser without a person.

#include <QColor>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace quenda {

// A plain modal message box with the fixed text and one OK button, captioned with the application title.
void ShowMessage(QWidget* parent, const QString& text);

// Opens `url` in the user's browser (a local page with the system's viewer); the outcome is not reported.
void OpenPage(const QUrl& url);

// The file-open dialog, starting in `folder` (empty: the dialog's own choice); the chosen file's path, or
// empty when the user cancelled.
QString AskOpenFileName(QWidget* parent, const QString& filter, const QString& folder = {});

// The file-save dialog starting at `suggested`; the chosen path, or empty when the user cancelled.
QString AskSaveFileName(QWidget* parent, const QString& suggested, const QString& filter);

// Runs a window of ours modally (exec) and gives its result (QDialog::Accepted or Rejected).
int RunDialog(QDialog& dialog);

// The colour dialog, fully expanded; the chosen colour, or nothing when the user cancelled.
std::optional<QColor> AskColor(QWidget* parent, const QColor& initial);

// Replacements for the functions above; an empty member uses the real dialog. Only tests set these.
struct DialogSeams {
    std::function<void(const QString& text)> showMessage;
    std::function<void(const QUrl& url)> openPage;
    std::function<QString(const QString& filter, const QString& folder)> openFileName;
    std::function<std::optional<QColor>(const QColor& initial)> chooseColor;
    std::function<QString(const QString& suggested, const QString& filter)> saveFileName;
    std::function<int(QDialog& dialog)> runDialog; // looks at the shown dialog and answers for the user
};
DialogSeams& DialogSeamsForTesting();

} // namespace quenda
