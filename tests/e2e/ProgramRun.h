#pragma once

// The program from the command line, copied into a fresh folder (its application folder) and run
// there with no display under GNU time, which tells its peak resident memory as the kernel
// counts it.

#include <QtTest>

namespace vendra::test {

constexpr qint64 kMostKilobytes = 150 * 1024;
constexpr qint64 kMostMilliseconds = 20000;  // a third of the fetch's deadline

// The program copied into a fresh folder, its application folder, and run there with no display.
struct Program {
    void run(const QStringList& options) {
        QFile::copy(VENDRA_PATH, path("vendra"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        // AddressSanitizer holds freed memory back (256 MB of it) to catch late uses, and the
        // kernel counts it as the program's: in the sanitizer build, little is held back.
        QStringList sanitizer = environment.value("ASAN_OPTIONS").split(':', Qt::SkipEmptyParts);
        environment.insert("ASAN_OPTIONS", (sanitizer << "quarantine_size_mb=16").join(':'));
        process.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        process.start("/usr/bin/time",
                      QStringList{"-f", "%M", "-o", path("peak"), path("vendra")} + options);
        process.waitForFinished(60000);
        milliseconds = clock.elapsed();
        kilobytes = Read("peak").trimmed().split('\n').last().toLongLong();  // after any status
        said = QString::fromUtf8(process.readAllStandardError());
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    QByteArray Read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    QProcess process;
    qint64 milliseconds = 0, kilobytes = 0;
    QString said;
};

}  // namespace vendra::test
