#pragma once

#include <QString>

namespace VornaLumeto {

// The messages of the standard reader: the file by name, where in it, and why.
QString standardFileProblem(const QString& fileName, const QString& reason);
QString standardLineProblem(const QString& fileName, qint64 lineNumber, const QString& reason);
QString standardByteProblem(const QString& fileName, qint64 byteOffset, const QString& reason);

// Texts of the standard reader, through the translation function.
QString standardText(const char* source);

} // namespace VornaLumeto
