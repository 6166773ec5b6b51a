#pragma once

namespace VornaLumeto {

// What the viewer remembers between runs. It lives in the user's settings
// beside the fault analysis's (openUserSettings: ~/.config/Lumeto/lumeto.conf),
// never in the working folder.

// Files that only the standard reader reads open without the question.
bool opensStandardFilesUnasked();
void setOpensStandardFilesUnasked(bool unasked);

} // namespace VornaLumeto
