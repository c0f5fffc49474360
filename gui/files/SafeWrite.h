// Every file the program writes -- answer files, Tessivar.ini, plot bitmaps and PDF printouts,
// run-log copies, the examples copied into a user folder -- is written here, whole or not at
// all: the bytes go to a temporary file beside the target, are flushed and forced to the disk,
// checked for every write error and for their full size, and only then replace the target. On
// any failure the temporary is removed and the old file stays exactly as it was.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tessivar {

// Why path cannot be written, in a sentence for the user; nothing when it can. A folder in the
// file's place, a file or folder without any write permission bit (the read-only mark, which
// holds even for an administrator whom the system would let through), or a missing folder.
std::optional<QString> writeRefusal(const QString& path);

// Writes bytes to path as described above. A file that is not writable (the read-only example
// files) is refused, since renaming a temporary over it would bypass its mark. Returns the
// reason of a failure in a sentence for the user (the caller names the file), or nothing.
std::optional<QString> writeFileSafely(const QString& path, const QByteArray& bytes);

// Copies the file src to dst the same way; the reason names src when it cannot be read.
std::optional<QString> copyFileSafely(const QString& src, const QString& dst);

}  // namespace tessivar
