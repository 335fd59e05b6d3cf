#include "ui/panel_layout.h"

namespace panel_layout {

namespace {

constexpr int kColumns = 4;

QLabel* Name(QGridLayout& rows, const QString& text) {
    return new QLabel(text, rows.parentWidget());
}

}  // namespace

QGridLayout& MakeRows(QWidget& owner) {
    auto* rows = new QGridLayout(&owner);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setHorizontalSpacing(6);
    rows->setVerticalSpacing(1);
    rows->setColumnStretch(1, 1);
    rows->setColumnStretch(3, 1);
    return *rows;
}

void MakeHeading(QLabel& heading) {
    QFont font = heading.font();
    font.setBold(true);
    heading.setFont(font);
}

void AddHeading(QGridLayout& rows, QLabel& heading) {
    MakeHeading(heading);
    rows.addWidget(&heading, rows.rowCount(), 0, 1, kColumns);
}

void AddRow(QGridLayout& rows, const QString& name, QLabel& value) {
    const int row = rows.rowCount();
    rows.addWidget(Name(rows, name), row, 0);
    rows.addWidget(&value, row, 1, 1, kColumns - 1);
}

void AddPair(QGridLayout& rows, const QString& firstName, QLabel& first, const QString& secondName,
             QLabel& second) {
    const int row = rows.rowCount();
    rows.addWidget(Name(rows, firstName), row, 0);
    rows.addWidget(&first, row, 1);
    rows.addWidget(Name(rows, secondName), row, 2);
    rows.addWidget(&second, row, 3);
}

void FixWidth(QLabel& value, int width) {
    value.setFixedSize(width, value.fontMetrics().height());
    // Painting its own background, a new value repaints the label alone, not the panel
    // and the window behind it.
    value.setAutoFillBackground(true);
}

void SetElidedText(QLabel& value, const QString& text) {
    const QString shown = value.fontMetrics().elidedText(text, Qt::ElideMiddle, value.width());
    value.setText(shown);
    value.setToolTip(shown == text ? QString() : text);
}

}  // namespace panel_layout
