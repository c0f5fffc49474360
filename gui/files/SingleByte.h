// The program's files (answer files, Tessivar.ini) are single-byte text in the Windows code
// page 1252: Latin-1 plus a few extra signs such as "™" (0x99). These two functions convert
// between that and QString.
#pragma once

#include <QByteArray>
#include <QString>

namespace tessivar {

// Characters the code page cannot hold become "?".
QByteArray toSingleByte(const QString& text);
QString fromSingleByte(const QByteArray& bytes);

}  // namespace tessivar
