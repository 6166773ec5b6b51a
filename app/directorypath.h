#pragma once

#include <QString>

namespace KelvoLibQt {

// Creates the missing components of a relative directory path ("a/b/c"),
// resolved against the working directory. False when a component is empty
// or cannot be made.
bool makeDirectoryPath(const QString& path);

} // namespace KelvoLibQt
