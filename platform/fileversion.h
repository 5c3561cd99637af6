#pragma once
// The file version of a program file: on Linux its freedesktop package metadata note (section
// .note.package, owner "FDO"), a JSON object whose "version" is the version text.

#include <QString>

// The "version" of the package metadata note in the named ELF file, read from the file itself;
// an empty string when the file cannot be read, is not ELF of this machine's byte order, or
// carries no such note or no such field.
QString PackageNoteVersion(const QString& fileName);
