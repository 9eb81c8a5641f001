#pragma once

#include <QString>

// Where the programs find the files installed with them (help pages, the standard SEG-Y format):
// <program directory>/../share/obr-io-utility. The build tree is laid out the same way, so a
// program runs alike from its build tree and from wherever it was installed.
namespace ShareDirectory {

QString path();
// The path of a file in it.
QString file(const QString& name);

} // namespace ShareDirectory
