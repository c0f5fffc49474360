#include "SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tessivar {

namespace {

// Forces what the system holds of the open file onto the disk. Some file systems report a full
// disk or a lost device only here. A file that cannot be synced at all (no such operation for
// it) is no failure.
std::optional<QString> syncToDisk(int handle) {
#if defined(Q_OS_WIN)
  if (_commit(handle) != 0 && errno != EBADF) return QString::fromLocal8Bit(std::strerror(errno));
#else
  if (::fsync(handle) != 0 && errno != EINVAL && errno != ENOTSUP)
    return QString::fromLocal8Bit(std::strerror(errno));
#endif
  return std::nullopt;
}

}  // namespace

std::optional<QString> writeRefusal(const QString& path) {
  const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
  auto readOnly = [&](const QFileInfo& info) {
    return !info.isWritable() || (info.permissions() & writeBits) == 0;
  };
  const QFileInfo info(path);
  if (info.isDir()) return QStringLiteral("A folder of that name stands in its place.");
  if (info.exists()) {
    if (readOnly(info)) return QStringLiteral("The file is read-only.");
    return std::nullopt;
  }
  const QFileInfo folder(info.absolutePath());
  if (!folder.isDir())
    return QStringLiteral("Its folder '%1' does not exist.")
        .arg(QDir::toNativeSeparators(folder.filePath()));
  if (readOnly(folder))
    return QStringLiteral("Its folder '%1' is read-only.")
        .arg(QDir::toNativeSeparators(folder.filePath()));
  return std::nullopt;
}

std::optional<QString> writeFileSafely(const QString& path, const QByteArray& bytes) {
  if (std::optional<QString> refusal = writeRefusal(path)) return refusal;
  QSaveFile file(path);
  // Unbuffered: every write reaches the system at once and reports its own failure, instead
  // of a buffer that fails only when it is emptied at the end, where the failure can be lost.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  auto fail = [&file](const QString& reason) {
    file.cancelWriting();
    return std::optional<QString>(reason);
  };
  // A write the disk takes only in part returns the part; the next one reports why it stops.
  qint64 written = 0;
  while (written < bytes.size()) {
    const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
    if (n <= 0) break;
    written += n;
  }
  if (written != bytes.size() || file.error() != QFileDevice::NoError) {
    const QString reason = file.error() != QFileDevice::NoError
                               ? file.errorString()
                               : QStringLiteral("Only %1 of %2 bytes could be written.")
                                     .arg(written)
                                     .arg(bytes.size());
    return fail(reason);
  }
  if (!file.flush() || file.error() != QFileDevice::NoError) return fail(file.errorString());
  if (const std::optional<QString> reason = syncToDisk(file.handle())) return fail(*reason);
  // What the disk holds must be all of it: a file system may accept a write it cannot keep.
  if (file.size() != bytes.size())
    return fail(QStringLiteral("The disk holds %1 of the %2 bytes written.")
                    .arg(file.size())
                    .arg(bytes.size()));
  if (!file.commit()) return file.errorString();
  return std::nullopt;
}

std::optional<QString> copyFileSafely(const QString& src, const QString& dst) {
  QFile in(src);
  if (!in.open(QIODevice::ReadOnly))
    return QStringLiteral("'%1' cannot be read: %2")
        .arg(QDir::toNativeSeparators(src), in.errorString());
  const QByteArray bytes = in.readAll();
  if (in.error() != QFileDevice::NoError)
    return QStringLiteral("'%1' cannot be read: %2")
        .arg(QDir::toNativeSeparators(src), in.errorString());
  return writeFileSafely(dst, bytes);
}

}  // namespace tessivar
