#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace LumetoTest {

// Writes bytes to dir/name and returns the full path.
QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);

} // namespace LumetoTest
