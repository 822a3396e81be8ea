#pragma once
// The search window (Ctrl+F, "查找记事…"): a text field and the notes holding its text, newest first,
// each with its date, its lunar date and the line around the first hit with the hits marked. Enter or a
// double click hides the window and asks the main window to show that day with the hit selected.

#include <QDialog>
#include <QTimer>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace quenda {

class TDM;

// "2013年1月2日 星期三  农历冬月廿一": the heading of a day in the results.
QString FoundDayHeading(const QString& key);

// The excerpt as HTML, the hits marked.
QString ExcerptHtml(const QString& plainText, const QString& text);

// At most this many results are listed (the newest).
inline constexpr int kSearchResultLimit = 200;

class TSearchFrm : public QDialog {
    Q_OBJECT
public:
    TSearchFrm(TDM& dm, QWidget* parent);

    QLineEdit& edtSearch() const { return *m_edit; }
    QListWidget& lstResults() const { return *m_list; }
    QLabel& lblState() const { return *m_state; }

    // Searches for the field's text at once (typing searches after a short pause).
    void Search();

signals:
    void dayChosen(const QString& key, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose(QListWidgetItem* item);

    TDM& m_dm;
    QLineEdit* m_edit = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_state = nullptr;
    QTimer m_pause; // typing pauses: search
    QString m_searched;
};

} // namespace quenda
