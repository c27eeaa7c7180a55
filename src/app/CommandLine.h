#pragma once
// The editor's command line: model files to open, --help and --version. Anything else that
// looks like an option is refused with the usage line, rather than opened as a file.

#include <QString>
#include <QStringList>

namespace vantor {

enum class TCommandAction {
    Run,     // open the window, and the files in it
    Help,    // print the usage line
    Version, // print the program's name and version
    Refuse,  // an unknown option: print it and the usage line, exit 2
};

struct TCommandLine {
    TCommandAction Action = TCommandAction::Run;
    QStringList Files; // in the order given
    QString Refused;   // the option refused
};

// "usage: vantor [--help | --version] [MODEL.mqo | MODEL.mqoz]..."
QString EditorUsage();

// Reads the arguments after the program's name. The first option decides; "--" ends the
// options, so that a file whose name starts with "-" can be opened; a lone "-" is a file name.
TCommandLine ParseCommandLine(const QStringList& arguments);

} // namespace vantor
