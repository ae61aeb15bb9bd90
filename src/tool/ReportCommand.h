#pragma once

// hkftool report: the service report of an image as an A4 PDF.

#include <QStringList>
#include <QTextStream>

namespace hmk::tool {

// `args` are the arguments after "report"; returns the exit status.
int runReport(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace hmk::tool
