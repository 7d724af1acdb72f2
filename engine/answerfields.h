#pragma once

#include <QByteArrayView>
#include <QVarLengthArray>

/// Reading the fields of an answer in place, without splitting it into copies.
namespace AnswerFields {

/// The field as a float, exactly as QByteArrayView::toFloat() converts it (0 for no number).
/// The plain decimal numbers modules send ("-1.23456E3") take a shorter way that rounds the
/// same; every other text (blanks, "+", "inf", "nan", out of range) is left to Qt.
float toFloat(QByteArrayView field);
/// The same, after every character of \a units has been removed from the field.
float toFloat(QByteArrayView field, const char *units);
/// The field as an unsigned 32-bit integer, exactly as QByteArrayView::toUInt() converts it.
quint32 toUInt(QByteArrayView field);

/// The length of \a text without its closing white space when it has no other, so that
/// QByteArray::simplified() would only drop that; -1 when simplification has more to do.
qsizetype lengthIfSimple(QByteArrayView text);

/// The fields of \a text between \a separator characters, as QByteArray::split() gives them
/// (an empty text is one empty field).
using Fields = QVarLengthArray<QByteArrayView, 8>;
Fields split(QByteArrayView text, char separator);

}
