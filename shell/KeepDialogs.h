#pragma once
// The two small windows of the export and the import: which days to export, and the import's preview
// that says what will happen before anything is written.

#include <QDate>
#include <QDialog>

#include <optional>
#include <utility>

class QCheckBox;
class QDateEdit;
class QLabel;
class QListWidget;

namespace quenda {

struct ImportPlan;
struct IcsContent;

// All notes, or (checked) those from one day to another.
class TExportFrm : public QDialog {
    Q_OBJECT
public:
    TExportFrm(QDate today, QWidget* parent);
    QCheckBox& chkRange() const { return *m_range; }
    QDateEdit& dtpFrom() const { return *m_from; }
    QDateEdit& dtpTo() const { return *m_to; }
    // The days chosen: both open for all notes.
    std::pair<std::optional<QDate>, std::optional<QDate>> Range() const;

private:
    QCheckBox* m_range = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
};

// The preview: the summary, and every day of the file with what will become of it.
class TImportFrm : public QDialog {
    Q_OBJECT
public:
    TImportFrm(const QString& fileName, const ImportPlan& plan, const IcsContent& content, QWidget* parent);
    QLabel& lblSummary() const { return *m_summary; }
    QListWidget& lstDays() const { return *m_days; }

private:
    QLabel* m_summary = nullptr;
    QListWidget* m_days = nullptr;
};

} // namespace quenda
