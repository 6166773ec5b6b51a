#pragma once

#include <QVector>

#include <cstddef>

namespace VornaLumeto {

// Makes the kernel fill the pages of a large block of fresh memory in one pass.
// Faulting them in one by one, 4 KB at a time, costs about twice as much where
// every fault is a trap into the kernel; a small block, or a system without the
// call, is left to fault as usual.
void prefaultMemory(void* begin, std::size_t bytes);

// QVector::resize rounds a growing allocation up to the next power of two
// bytes, which nearly doubles a series of 65,535 doubles. Series are filled
// once and never grow, so they get exactly the storage they need.
template <typename T>
void resizeExactly(QVector<T>& vector, int length)
{
    const int filled = vector.size();
    vector.reserve(length);
    if (length > filled)
        prefaultMemory(vector.data() + filled, sizeof(T) * std::size_t(length - filled));
    vector.resize(length);
}

} // namespace VornaLumeto
