#pragma once

#include <QString>

namespace VornaLumeto {

// The file that remembers the directory of the last configuration file
// chosen in the file dialog, relative to the working directory.
inline QString lastDirectoryFile()
{
    return QStringLiteral("files/lumeto/last_directory.bin");
}

} // namespace VornaLumeto
