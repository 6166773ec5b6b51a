#pragma once

#include <QByteArray>
#include <QString>

namespace VornaLumeto {

// Removes spaces (U+0020 only) at both ends of a line and around every comma.
// Tabs and other white space are left for the field rules to reject.
void normalizeSpaces(QString& line);
void normalizeSpaces(QByteArray& line);

} // namespace VornaLumeto
