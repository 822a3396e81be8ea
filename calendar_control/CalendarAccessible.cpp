#include "CalendarAccessible.h"

#include "ChnCalendarPicker.h"

#include <QAccessibleWidget>

#include <array>

namespace quenda {

namespace {

// The table holds the grid's cells of days: columns 1..7 and rows 1..6, row by row. The week-day header
// and the week numbers are the table's column and row descriptions, not cells.
constexpr int kDayColumns = 7;
constexpr int kTableCells = kDayColumns * kWeekRows;

GridCell GridCellOf(int index) {
    return {index % kDayColumns + 1, index / kDayColumns + 1};
}

int TableIndexOf(GridCell cell) {
    if (cell.column < 1 || cell.column > kDayColumns || cell.row < 1 || cell.row > kWeekRows) return -1;
    return (cell.row - 1) * kDayColumns + cell.column - 1;
}

class DayTableAccessible;

class DayCellAccessible : public QAccessibleInterface,
                          public QAccessibleTableCellInterface,
                          public QAccessibleActionInterface {
public:
    DayCellAccessible(DayTableAccessible* table, int index);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? Describe().name : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override { return Grid().Selected() == GridCellOf(m_index); }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_index % kDayColumns; }
    int rowIndex() const override { return m_index / kDayColumns; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override;
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // Tells readers of a name that changed since they last heard it.
    void RefreshName();

private:
    TDayGrid& Grid() const;
    CellDescription Describe() const {
        const GridCell at = GridCellOf(m_index);
        return Grid().DescribeCell(at.column, at.row);
    }

    DayTableAccessible* m_table;
    int m_index;
    QString m_toldName;
};

class DayTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit DayTableAccessible(TDayGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~DayTableAccessible() override {
        for (QAccessible::Id id : m_cellIds)
            if (id != 0) QAccessible::deleteAccessibleInterface(id);
    }

    TDayGrid& Grid() const { return *static_cast<TDayGrid*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return kTableCells; }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) return -1;
        const auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        if (cell == nullptr || cell->table() != this) return -1;
        return cell->rowIndex() * kDayColumns + cell->columnIndex();
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const auto cell = CellAt(Grid().Sizes(), Grid().mapFromGlobal(QPoint(x, y)));
        return cell ? child(TableIndexOf(*cell)) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return Grid().hasFocus() ? child(TableIndexOf(Grid().Selected())) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (column < 0 || column >= kDayColumns) return nullptr;
        return child(row * kDayColumns + column);
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QAccessibleInterface* selected = child(TableIndexOf(Grid().Selected()));
        return selected != nullptr ? QList<QAccessibleInterface*>{selected} : QList<QAccessibleInterface*>{};
    }
    QString columnDescription(int column) const override { return Grid().DescribeColumn(column + 1); }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return kDayColumns; }
    int rowCount() const override { return kWeekRows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    void RefreshNames() {
        for (QAccessible::Id id : m_cellIds)
            if (id != 0) static_cast<DayCellAccessible*>(QAccessible::accessibleInterface(id))->RefreshName();
    }

private:
    // Cells are made on the first question about them and keep their ids, which readers hold on to.
    mutable std::array<QAccessible::Id, kTableCells> m_cellIds{};
};

QAccessibleInterface* DayTableAccessible::child(int index) const {
    if (index < 0 || index >= kTableCells) return nullptr;
    QAccessible::Id& id = m_cellIds.at(index);
    if (id == 0)
        id = QAccessible::registerAccessibleInterface(
            new DayCellAccessible(const_cast<DayTableAccessible*>(this), index));
    return QAccessible::accessibleInterface(id);
}

DayCellAccessible::DayCellAccessible(DayTableAccessible* table, int index)
    : m_table(table), m_index(index), m_toldName(Describe().name) {}

bool DayCellAccessible::isValid() const {
    return m_table->isValid();
}

QWindow* DayCellAccessible::window() const {
    return m_table->window();
}

QAccessibleInterface* DayCellAccessible::parent() const {
    return m_table;
}

TDayGrid& DayCellAccessible::Grid() const {
    return m_table->Grid();
}

QRect DayCellAccessible::rect() const {
    const GridCell at = GridCellOf(m_index);
    const QRect cell = CellRect(Grid().Sizes(), at.column, at.row);
    return QRect(Grid().mapToGlobal(cell.topLeft()), cell.size());
}

QAccessible::State DayCellAccessible::state() const {
    QAccessible::State state;
    state.invisible = !Grid().isVisible();
    const CellDescription cell = Describe();
    state.disabled = cell.name.isEmpty(); // a blank cell, there only to keep the weeks in their columns
    state.focusable = state.selectable = cell.isDay;
    state.selected = cell.isDay && isSelected();
    state.focused = state.selected && Grid().hasFocus();
    return state;
}

void* DayCellAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList DayCellAccessible::actionNames() const {
    if (!Describe().isDay) return {};
    return {pressAction(), setFocusAction()};
}

// Pressing a day selects it as a click does, and the keyboard goes on from there.
void DayCellAccessible::doAction(const QString& name) {
    if (!actionNames().contains(name)) return;
    const GridCell at = GridCellOf(m_index);
    Grid().setFocus(Qt::OtherFocusReason);
    Grid().ProposeCell(at.column, at.row);
}

void DayCellAccessible::RefreshName() {
    const QString name = Describe().name;
    if (name == m_toldName) return;
    m_toldName = name;
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

// The month and year spin buttons: a value between their limits, and arrows as increase and decrease.
class SpinAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpinAccessible(TSpinButton* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}
    TSpinButton& Spin() const { return *static_cast<TSpinButton*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? QString::number(Spin().Position()) : QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return Spin().Position(); }
    void setCurrentValue(const QVariant& value) override { Spin().StepTo(value.toInt()); }
    QVariant maximumValue() const override { return Spin().Maximum(); }
    QVariant minimumValue() const override { return Spin().Minimum(); }
    QVariant minimumStepSize() const override { return 1; }
    QStringList actionNames() const override { return {increaseAction(), decreaseAction()}; }
    void doAction(const QString& name) override {
        if (name == increaseAction() || name == decreaseAction())
            return Spin().Step(name == increaseAction());
        QAccessibleWidget::doAction(name);
    }
};

// The control shows its parts in reading order; the unit labels "月" and "年" belong to the buttons before
// them and are left out.
class CalendarAccessible : public QAccessibleWidget {
public:
    explicit CalendarAccessible(TChnCalendar* calendar)
        : QAccessibleWidget(calendar, QAccessible::Grouping) {}
    QList<QWidget*> Parts() const { return static_cast<TChnCalendar*>(widget())->AccessibleParts(); }

    int childCount() const override { return static_cast<int>(Parts().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> parts = Parts();
        return index >= 0 && index < parts.size() ? QAccessible::queryAccessibleInterface(parts.at(index))
                                                  : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) return -1;
        return static_cast<int>(Parts().indexOf(qobject_cast<QWidget*>(child->object())));
    }
};

QAccessibleInterface* DescribeCalendarPart(const QString& key, QObject* object) {
    if (key == QLatin1String(TDayGrid::staticMetaObject.className()))
        return new DayTableAccessible(static_cast<TDayGrid*>(object));
    if (key == QLatin1String(TSpinButton::staticMetaObject.className()))
        return new SpinAccessible(static_cast<TSpinButton*>(object));
    if (key == QLatin1String(TChnCalendar::staticMetaObject.className()))
        return new CalendarAccessible(static_cast<TChnCalendar*>(object));
    return nullptr;
}

DayTableAccessible* TableOf(TDayGrid& grid) {
    if (!QAccessible::isActive()) return nullptr;
    return dynamic_cast<DayTableAccessible*>(QAccessible::queryAccessibleInterface(&grid));
}

} // namespace

void InstallCalendarAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&DescribeCalendarPart);
        return true;
    }();
    (void)installed;
}

void NotifyDayFocus(TDayGrid& grid) {
    DayTableAccessible* table = TableOf(grid);
    const int index = TableIndexOf(grid.Selected());
    if (table == nullptr || index < 0 || !grid.hasFocus()) return;
    QAccessibleEvent event(table->child(index), QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void NotifyDayNames(TDayGrid& grid) {
    if (DayTableAccessible* table = TableOf(grid)) table->RefreshNames();
}

} // namespace quenda
