#include "recordinggenerator.h"

namespace LumetoTools {

bool writeRecording(const QString&, const GeneratorOptions&) { return false; }

} // namespace LumetoTools
