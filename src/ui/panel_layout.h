#pragma once

#include <QGridLayout>
#include <QLabel>
#include <QString>

// The rows the details panel's readouts are made of: a bold heading over the full width,
// then names with their values, one pair or two to a row, set tight; one sign for a
// value not known.
namespace panel_layout {

inline const QString kUnknown = QStringLiteral("\u2014");

// A grid of four columns on `owner`: name, value, name, value.
QGridLayout& MakeRows(QWidget& owner);
// Headings are bold.
void MakeHeading(QLabel& heading);
void AddHeading(QGridLayout& rows, QLabel& heading);
// The value takes the rest of the row.
void AddRow(QGridLayout& rows, const QString& name, QLabel& value);
void AddPair(QGridLayout& rows, const QString& firstName, QLabel& first, const QString& secondName,
             QLabel& second);
// Gives a value a fixed size, one line of `width`, and its own background: a new text
// then repaints the label alone, is never laid out again, and the panel keeps its size.
void FixWidth(QLabel& value, int width);
// Shows `text` with its middle left out when it does not fit, the whole of it as tooltip.
void SetElidedText(QLabel& value, const QString& text);

}  // namespace panel_layout
