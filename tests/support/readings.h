#pragma once

#include "comtrade/common/recording.h"
#include "comtrade/dialect/loadfailure.h"

#include <QString>

namespace LumetoTest {

// Reads the file as the view's load does (the viewer's own reader alone, through
// the one way in) and returns the load's text; what the reader saw of a refusal
// goes into failure, when given.
QString loadDialect(const QString& path, VornaLumeto::Recording& recording,
                    VornaLumeto::LoadFailure* failure = nullptr);

// Reads the file (a configuration or a .cff) with the standard reader alone and
// returns the load's text for success, or the reader's message.
QString loadStandard(const QString& path, VornaLumeto::Recording& recording);

} // namespace LumetoTest
