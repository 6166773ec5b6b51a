#pragma once

#include <QVector>

namespace VornaLumeto {

// QVector::resize rounds a growing allocation up to the next power of two
// bytes, which nearly doubles a series of 65,535 doubles. Series are filled
// once and never grow, so they get exactly the storage they need.
template <typename T>
void resizeExactly(QVector<T>& vector, int length)
{
    vector.reserve(length);
    vector.resize(length);
}

} // namespace VornaLumeto
