// Where the program's help page is: in the share folder of the install the
// program belongs to (<program dir>/../share/grazefall/), beside the program,
// in the source tree named by GRAZEFALL_SOURCE_DIR, or in the source tree the
// program was built from.
#pragma once

#include <QString>
#include <QStringList>

namespace grazefall::qtui {

// The places the help page may be, first choice first, for a program in
// `programDir` (none of the program's own places when it is empty).
QStringList HelpFileCandidates(const QString& programDir);

// The first candidate that is a file, as an absolute path; empty when none is.
QString FirstHelpFile(const QStringList& candidates);

// The help page of the running program; empty when none of the places has it.
// The program's folder comes from the Qt application object, else from the
// kernel's link to the running executable.
QString FindHelpFile();

}  // namespace grazefall::qtui
