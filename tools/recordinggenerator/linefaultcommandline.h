#pragma once

#include "linefaultrecording.h"

#include <QCommandLineParser>

// The options of lumeto-generate that write a line fault of the two-source model.
namespace LumetoTools {

void addLineFaultOptions(QCommandLineParser& parser);

// True when the command line asks for a line fault (--line-fault).
bool lineFaultRequested(const QCommandLineParser& parser);

// Reads the line-fault options over the defaults in options; false with a
// message on standard error when one is wrong.
bool readLineFaultOptions(const QCommandLineParser& parser, LineFaultOptions& options);

} // namespace LumetoTools
