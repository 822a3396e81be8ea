#include "SearchWindow.h"

#include "ChnCalendarUse.h"
#include "NoteSearch.h"
#include "uDM.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QVBoxLayout>

namespace quenda {

namespace {

constexpr int kTypingPauseMs = 200;
constexpr int kExcerptRole = Qt::UserRole + 1; // the item's HTML; Qt::UserRole holds the day's key
const char16_t* const kWeekdays[] = {u"星期一", u"星期二", u"星期三", u"星期四", u"星期五", u"星期六", u"星期日"};

// Draws a result as rich text: the day's heading, then the excerpt with the hits marked.
class ResultDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear(); // the selection background only; the text is drawn below
        plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        QTextDocument document;
        Prepare(document, option, index);
        painter->save();
        painter->translate(option.rect.topLeft());
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette = option.palette;
        if (option.state & QStyle::State_Selected)
            context.palette.setColor(QPalette::Text, option.palette.color(QPalette::HighlightedText));
        document.documentLayout()->draw(painter, context);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QTextDocument document;
        Prepare(document, option, index);
        return document.size().toSize();
    }

private:
    static void Prepare(QTextDocument& document, const QStyleOptionViewItem& option, const QModelIndex& index) {
        document.setDefaultFont(option.font);
        document.setTextWidth(option.rect.width() > 0 ? option.rect.width() : 400);
        document.setHtml(index.data(kExcerptRole).toString());
    }
};

} // namespace

QString FoundDayHeading(const QString& key) {
    const QDate day = QDate::fromString(key, QStringLiteral("yyyyMMdd"));
    if (!day.isValid()) return key;
    TChnCal info;
    info.Fill(EncodeDate(day.year(), day.month(), day.day()));
    return QStringLiteral("%1年%2月%3日 %4  农历%5%6")
        .arg(day.year())
        .arg(day.month())
        .arg(day.day())
        .arg(QString::fromUtf16(kWeekdays[day.dayOfWeek() - 1]),
             QString::fromStdString(info.LunarMonthText), QString::fromStdString(info.LunarDayText));
}

QString ExcerptHtml(const QString& plainText, const QString& text) {
    const NoteExcerpt excerpt = ExcerptOf(plainText, text);
    QString html;
    qsizetype at = 0;
    for (const auto& [start, length] : excerpt.marks) {
        html += excerpt.text.mid(at, start - at).toHtmlEscaped();
        html += QStringLiteral("<span style=\"background-color:#ffe066; color:#000000; font-weight:bold\">%1</span>")
                    .arg(excerpt.text.mid(start, length).toHtmlEscaped());
        at = start + length;
    }
    return html + excerpt.text.mid(at).toHtmlEscaped();
}

TSearchFrm::TSearchFrm(TDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm) {
    setObjectName(QStringLiteral("SearchFrm"));
    setWindowTitle(QStringLiteral("查找记事"));
    resize(460, 420);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("edtSearch"));
    m_edit->setPlaceholderText(QStringLiteral("输入要查找的文字"));
    m_edit->setClearButtonEnabled(true);
    m_edit->installEventFilter(this);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("lblSearchState"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstResults"));
    m_list->setItemDelegate(new ResultDelegate(m_list));
    m_list->setWordWrap(true);
    m_list->setAlternatingRowColors(true);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_edit);
    column->addWidget(m_state);
    column->addWidget(m_list, 1);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kTypingPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &TSearchFrm::Search);
    connect(m_edit, &QLineEdit::textChanged, this, [this] { m_pause.start(); });
    connect(m_list, &QListWidget::itemActivated, this, &TSearchFrm::Choose);
}

void TSearchFrm::Search() {
    m_pause.stop();
    m_searched = m_edit->text().trimmed();
    m_list->clear();
    if (m_searched.isEmpty()) {
        m_state->clear();
        return;
    }
    const std::optional<std::vector<NoteHit>> hits = m_dm.SearchNotes(m_searched, kSearchResultLimit);
    if (!hits) {
        m_state->setText(QStringLiteral("查找失败：%1").arg(m_dm.LastError()));
        return;
    }
    for (const NoteHit& hit : *hits) {
        auto* item = new QListWidgetItem(FoundDayHeading(hit.key), m_list);
        item->setData(Qt::UserRole, hit.key);
        item->setData(kExcerptRole, QStringLiteral("<b>%1</b><br>%2").arg(item->text().toHtmlEscaped(),
                                                                          ExcerptHtml(hit.plainText, m_searched)));
    }
    if (!hits->empty()) m_list->setCurrentRow(0);
    m_state->setText(hits->empty() ? QStringLiteral("没有找到")
                     : static_cast<int>(hits->size()) == kSearchResultLimit
                         ? QStringLiteral("找到很多，显示最新的 %1 天").arg(kSearchResultLimit)
                         : QStringLiteral("找到 %1 天").arg(hits->size()));
}

// The window steps aside for the day it opens; Ctrl+F brings it back with the same results.
void TSearchFrm::Choose(QListWidgetItem* item) {
    if (!item) return;
    hide();
    emit dayChosen(item->data(Qt::UserRole).toString(), m_searched);
}

// In the text field, Enter opens the chosen result (searching first if typing has not paused yet), and
// the arrow keys move through the results.
bool TSearchFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_edit || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (m_pause.isActive() || m_searched != m_edit->text().trimmed()) Search();
        Choose(m_list->currentItem());
        return true;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        QCoreApplication::sendEvent(m_list, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quenda
