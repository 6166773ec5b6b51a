#pragma once

#include "analysis/linedata.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace VornaLumeto {

// What the command line asks of the viewer: the recordings to open at
// start-up, or a text to print and an exit code instead of starting.
struct CommandLine {
    QStringList recordings;  // absolute paths of existing *.cfg and *.cff files (any letter case), in the order given
    QStringList notOpened;   // for standard error: a "не открыт: " line for every other name
    QString output;          // help or version, for standard output
    QString error;           // what is wrong with the arguments, for standard error
    int exitCode = 0;
    QString csvPath;         // --export-csv: the recording (the one path in recordings) goes there as CSV
    bool standard = false;   // --standard: files the dialect reader refuses go through the standard reader, unasked
    bool faultReport = false;  // --fault-report: the recordings' fault reports as JSON on standard output
    QStringList givenNames;    // --fault-report: the recordings as named, beside their paths in recordings
    LineData line;             // --line: the line the report's distances are measured on; none when not given

    bool exportsCsv() const { return !csvPath.isEmpty(); }
    bool startsViewer() const { return output.isEmpty() && error.isEmpty() && !exportsCsv() && !faultReport; }
};

// The arguments after the application object has taken its own (-style and
// the like), the program first; relative paths are taken against workingDirectory.
CommandLine parseCommandLine(const QStringList& arguments, const QString& workingDirectory);

// The line for standard error about a recording named on the command line
// that is not opened, and why.
QString notOpenedLine(const QString& path, const QString& reason);

// True when the arguments ask only for help or the version: those are printed
// without a window, so they work where there is no display.
bool asksOnlyForText(const QStringList& arguments);

// True when the arguments ask for a CSV export, which needs no window either.
bool asksForCsvExport(const QStringList& arguments);

// True when the arguments ask for fault reports or give their line (--line
// alone is a mistake to answer): neither needs a window.
bool asksForFaultReport(const QStringList& arguments);

// Writes the recording of an export command line as CSV. Returns the exit
// code; the reason of a failure goes into message.
int runCsvExport(const CommandLine& commandLine, QString& message);

// Reports on the recordings of a fault-report command line: the JSON document
// (UTF-8) for standard output and a line for standard error per recording not
// read. Returns the exit code: 0 when every recording was read, else 1.
int runFaultReport(const CommandLine& commandLine, QByteArray& json, QString& errors);

} // namespace VornaLumeto
